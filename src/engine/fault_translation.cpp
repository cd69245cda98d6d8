#include "engine/fault_translation.h"

#include <csignal>
#include <cstring>
#include <ucontext.h>

#include "engine/logger.h"

win32_exception::win32_exception(uint32_t code, const void* where)
    : _what(code == kAccessViolation                                    ? "Access violation"
            : (code == kFloatDivideByZero || code == kIntDivideByZero) ? "Division by zero"
                                                                        : "Win32 exception"),
      _where(where),
      _code(code) {}

access_violation::access_violation(const void* where, bool is_write, const void* bad_address)
    : win32_exception(kAccessViolation, where), _is_write(is_write), _bad_address(bad_address) {}

namespace {

const void* FaultAddress(void* context) {
#if defined(__x86_64__)
    auto* uc = static_cast<ucontext_t*>(context);
    return reinterpret_cast<const void*>(uc->uc_mcontext.gregs[REG_RIP]);
#else
    (void)context;
    return nullptr;
#endif
}

bool FaultWasWrite(void* context) {
#if defined(__x86_64__)
    // Bit 1 of the page-fault error code marks a write access.
    auto* uc = static_cast<ucontext_t*>(context);
    return (uc->uc_mcontext.gregs[REG_ERR] & 0x2) != 0;
#else
    (void)context;
    return false;
#endif
}

// Throwing from here is sound only because the code is built with
// -fnon-call-exceptions and these signals are synchronous.
void Translate(int sig, siginfo_t* info, void* context) {
    const void* where = FaultAddress(context);
    switch (sig) {
        case SIGSEGV:
        case SIGBUS:
            throw access_violation(where, FaultWasWrite(context), info->si_addr);
        case SIGFPE:
            if (info->si_code == FPE_INTDIV) throw win32_exception(win32_exception::kIntDivideByZero, where);
            if (info->si_code == FPE_FLTDIV) throw win32_exception(win32_exception::kFloatDivideByZero, where);
            throw win32_exception(win32_exception::kOtherFault, where);
        case SIGILL:
            throw win32_exception(win32_exception::kIllegalInstruction, where);
        default:
            throw win32_exception(win32_exception::kOtherFault, where);
    }
}

}  // namespace

void InstallSETranslator() {
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_sigaction = Translate;
    // The handler never returns, so the signal must not stay blocked after it.
    sa.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(sig, &sa, nullptr);
}

void LogCurrentException(const char* place) {
    CLogger& log = CLogger::Instance();
    try {
        throw;
    } catch (const access_violation& e) {
        log.Log(2, "Error: Exception raised. %s at %X: Bad %s on %X (%s)", e.what(),
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(e.where())), e.isWrite() ? "write" : "read",
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(e.badAddress())), place);
    } catch (const win32_exception& e) {
        log.Log(2, "Error: Exception raised. %s (code %X) at %X (%s)", e.what(), e.code(),
                static_cast<unsigned>(reinterpret_cast<uintptr_t>(e.where())), place);
    } catch (const std::exception& e) {
        log.Log(2, "Error: Exception raised. %s (%s)", e.what(), place);
    } catch (...) {
        log.Log(2, "Unknown Exception raised. (%s)", place);
    }
}
