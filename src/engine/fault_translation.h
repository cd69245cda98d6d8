#pragma once
// Processor faults (bad memory access, division by zero, ...) on the main thread
// become C++ exceptions, so the catch-all handlers can log them with their place.
#include <cstdint>
#include <exception>
#include <string>

class win32_exception : public std::exception {
public:
    // The fault codes the program distinguishes.
    static constexpr uint32_t kAccessViolation = 0xC0000005;
    static constexpr uint32_t kFloatDivideByZero = 0xC000008E;
    static constexpr uint32_t kIntDivideByZero = 0xC0000094;
    static constexpr uint32_t kIllegalInstruction = 0xC000001D;
    static constexpr uint32_t kOtherFault = 0xC0000001;

    win32_exception(uint32_t code, const void* where);
    ~win32_exception() override = default;
    const char* what() const noexcept override { return _what; }
    const void* where() const { return _where; }
    uint32_t code() const { return _code; }

private:
    const char* _what;
    const void* _where;
    uint32_t _code;
};

class access_violation : public win32_exception {
public:
    access_violation(const void* where, bool is_write, const void* bad_address);
    bool isWrite() const { return _is_write; }
    const void* badAddress() const { return _bad_address; }

private:
    bool _is_write;
    const void* _bad_address;
};

// Installs the translation for the process's synchronous fault signals.
void InstallSETranslator();

// Logs the exception being handled, with the place where it was caught.
// Call only inside a catch block.
void LogCurrentException(const char* place);
