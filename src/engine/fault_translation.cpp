#include "engine/fault_translation.h"

#include "engine/logger.h"
#include "platform/processor_fault.h"

win32_exception::win32_exception(uint32_t code, const void* where)
    : _what(code == kAccessViolation                                    ? "Access violation"
            : (code == kFloatDivideByZero || code == kIntDivideByZero) ? "Division by zero"
                                                                        : "Win32 exception"),
      _where(where),
      _code(code) {}

access_violation::access_violation(const void* where, bool is_write, const void* bad_address)
    : win32_exception(kAccessViolation, where), _is_write(is_write), _bad_address(bad_address) {}

namespace {

// Throwing from here is sound only because the code is built with
// -fnon-call-exceptions and the fault signals are synchronous.
void Translate(const plat::ProcessorFault& fault) {
    using Kind = plat::ProcessorFault::Kind;
    switch (fault.kind) {
        case Kind::AccessViolation: throw access_violation(fault.where, fault.is_write, fault.bad_address);
        case Kind::IntDivideByZero: throw win32_exception(win32_exception::kIntDivideByZero, fault.where);
        case Kind::FloatDivideByZero: throw win32_exception(win32_exception::kFloatDivideByZero, fault.where);
        case Kind::IllegalInstruction: throw win32_exception(win32_exception::kIllegalInstruction, fault.where);
        default: throw win32_exception(win32_exception::kOtherFault, fault.where);
    }
}

// Addresses are logged whole, all 64 bits of them.
unsigned long long AddressValue(const void* p) { return static_cast<unsigned long long>(reinterpret_cast<uintptr_t>(p)); }

}  // namespace

void InstallSETranslator() { plat::InstallFaultHandler(Translate); }

void LogCurrentException(const char* place) {
    CLogger& log = CLogger::Instance();
    try {
        throw;
    } catch (const access_violation& e) {
        log.Log(2, "Error: Exception raised. %s at %llX: Bad %s on %llX (%s)", e.what(), AddressValue(e.where()),
                e.isWrite() ? "write" : "read", AddressValue(e.badAddress()), place);
    } catch (const win32_exception& e) {
        log.Log(2, "Error: Exception raised. %s (code %X) at %llX (%s)", e.what(), e.code(), AddressValue(e.where()),
                place);
    } catch (const std::exception& e) {
        log.Log(2, "Error: Exception raised. %s (%s)", e.what(), place);
    } catch (...) {
        log.Log(2, "Unknown Exception raised. (%s)", place);
    }
}
