#pragma once
// Processor faults of the calling process (bad memory access, division by
// zero, illegal instruction) handed to the program as they happen, from the
// synchronous fault signals and the processor context they carry.
#include <cstdint>

namespace plat {

struct ProcessorFault {
    enum class Kind { AccessViolation, IntDivideByZero, FloatDivideByZero, IllegalInstruction, Other };
    Kind kind = Kind::Other;
    const void* where = nullptr;        // the faulting instruction
    bool is_write = false;              // access violations: the access was a write
    const void* bad_address = nullptr;  // access violations: the address accessed
};

// Runs on the faulting thread inside the signal handler. It is meant to throw
// (the code is built with -fnon-call-exceptions); should it return, the fault
// takes its default course and ends the process.
using FaultHandler = void (*)(const ProcessorFault& fault);

// Routes the fault signals of the process to `handler`.
void InstallFaultHandler(FaultHandler handler);

}  // namespace plat
