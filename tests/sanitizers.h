// What the sanitizers of an instrumented test build change for the tests.
#pragma once

#include <gtest/gtest.h>

namespace test_sanitizers {

// Set by the build when its flags turn on UndefinedBehaviorSanitizer.
#ifdef VOVARO_UBSAN
inline constexpr bool kUndefinedBehaviour = true;
#else
inline constexpr bool kUndefinedBehaviour = false;
#endif

}  // namespace test_sanitizers

// A test that divides by zero on purpose, to see the processor's fault, cannot
// run under UndefinedBehaviorSanitizer: it reports the division and stops the
// process before the fault happens.
#define SKIP_A_DIVISION_BY_ZERO_UNDER_UBSAN()                                              \
    if (test_sanitizers::kUndefinedBehaviour)                                              \
    GTEST_SKIP() << "UndefinedBehaviorSanitizer stops a division by zero before the "      \
                    "processor's fault it checks"
