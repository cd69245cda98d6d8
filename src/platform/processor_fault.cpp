#include "platform/processor_fault.h"

#include <atomic>
#include <csignal>
#include <cstring>
#include <ucontext.h>

namespace plat {

namespace {

std::atomic<FaultHandler> g_handler {nullptr};

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

ProcessorFault Describe(int sig, const siginfo_t* info, void* context) {
    ProcessorFault fault;
    fault.where = FaultAddress(context);
    switch (sig) {
        case SIGSEGV:
        case SIGBUS:
            fault.kind = ProcessorFault::Kind::AccessViolation;
            fault.is_write = FaultWasWrite(context);
            fault.bad_address = info->si_addr;
            break;
        case SIGFPE:
            fault.kind = info->si_code == FPE_INTDIV   ? ProcessorFault::Kind::IntDivideByZero
                         : info->si_code == FPE_FLTDIV ? ProcessorFault::Kind::FloatDivideByZero
                                                       : ProcessorFault::Kind::Other;
            break;
        case SIGILL: fault.kind = ProcessorFault::Kind::IllegalInstruction; break;
        default: break;
    }
    return fault;
}

void OnFaultSignal(int sig, siginfo_t* info, void* context) {
    if (FaultHandler handler = g_handler.load()) handler(Describe(sig, info, context));
    // The handler came back: let the fault end the process as it would have.
    std::signal(sig, SIG_DFL);
}

}  // namespace

void InstallFaultHandler(FaultHandler handler) {
    g_handler = handler;
    struct sigaction sa;
    std::memset(&sa, 0, sizeof sa);
    sa.sa_sigaction = OnFaultSignal;
    // The handler leaves by an exception, so the signal must not stay blocked after it.
    sa.sa_flags = SA_SIGINFO | SA_NODEFER;
    sigemptyset(&sa.sa_mask);
    for (int sig : {SIGSEGV, SIGBUS, SIGFPE, SIGILL}) sigaction(sig, &sa, nullptr);
}

}  // namespace plat
