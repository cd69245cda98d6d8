#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "sanitizers.h"
#include "test_user_folder.h"

namespace {

// Kept out of line and through volatile data so that the faults really happen
// here, inside the try blocks.
volatile int g_sink = 0;
volatile uintptr_t g_address = 0;
__attribute__((noinline)) void WriteThrough(uintptr_t address) {
    g_address = address;
    *reinterpret_cast<volatile int*>(g_address) = 42;
}
__attribute__((noinline)) void ReadThrough(uintptr_t address) {
    g_address = address;
    g_sink = *reinterpret_cast<volatile int*>(g_address);
}
__attribute__((noinline)) void Divide(int a, int b) {
    volatile int x = a, y = b;
    g_sink = x / y;
}

class FaultTranslationTest : public ::testing::Test {
protected:
    static std::string ReadLog() {
        std::ifstream in(UserFolderPath("all") + "log.html");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static void SetUpTestSuite() {
        UseTestUserFolder();
        InstallSETranslator();
    }
};

TEST_F(FaultTranslationTest, BadWriteAndReadBecomeAccessViolations) {
    const uintptr_t bad = 0x10;
    try {
        WriteThrough(bad);
        FAIL() << "no fault";
    } catch (const access_violation& e) {
        EXPECT_STREQ(e.what(), "Access violation");
        EXPECT_TRUE(e.isWrite());
        EXPECT_EQ(e.badAddress(), reinterpret_cast<const void*>(0x10));
        EXPECT_EQ(e.code(), win32_exception::kAccessViolation);
        EXPECT_NE(e.where(), nullptr);
    }
    try {
        ReadThrough(bad);
        FAIL() << "no fault";
    } catch (const access_violation& e) {
        EXPECT_FALSE(e.isWrite());
    }
}

TEST_F(FaultTranslationTest, IntegerDivisionByZeroIsAWin32Exception) {
    SKIP_A_DIVISION_BY_ZERO_UNDER_UBSAN();
    try {
        Divide(7, 0);
        FAIL() << "no fault";
    } catch (const access_violation&) {
        FAIL() << "not an access violation";
    } catch (const win32_exception& e) {
        EXPECT_STREQ(e.what(), "Division by zero");
        EXPECT_EQ(e.code(), 0xC0000094u);
    }
    // The translator stays installed: a second fault is caught the same way.
    EXPECT_THROW(Divide(1, 0), win32_exception);
}

TEST_F(FaultTranslationTest, CaughtExceptionsAreLoggedWithTheirPlace) {
    try {
        WriteThrough(0x20);
    } catch (...) {
        LogCurrentException("WinMain");
    }
    try {
        throw std::runtime_error("Failed to reset D3DDevice");
    } catch (...) {
        LogCurrentException("WinMain");
    }
    try {
        throw 5;
    } catch (...) {
        LogCurrentException("Loop");
    }
    const std::string log = ReadLog();
    EXPECT_NE(log.find("Error: Exception raised. Access violation at "), std::string::npos);
    EXPECT_NE(log.find(": Bad write on 20 (WinMain)"), std::string::npos);
    EXPECT_NE(log.find("Error: Exception raised. Failed to reset D3DDevice (WinMain)"), std::string::npos);
    EXPECT_NE(log.find("Unknown Exception raised. (Loop)"), std::string::npos);
}

// Addresses above 4 GiB keep their high bits in the log.
TEST_F(FaultTranslationTest, AddressesAreLoggedWhole) {
    const auto* where = reinterpret_cast<const void*>(uintptr_t {0x7F12345678ABull});
    const auto* bad = reinterpret_cast<const void*>(uintptr_t {0xFFFF800012345678ull});
    try {
        throw access_violation(where, false, bad);
    } catch (...) {
        LogCurrentException("Whole");
    }
    try {
        throw win32_exception(win32_exception::kIntDivideByZero, where);
    } catch (...) {
        LogCurrentException("Whole");
    }
    const std::string log = ReadLog();
    EXPECT_NE(log.find("Access violation at 7F12345678AB: Bad read on FFFF800012345678 (Whole)"), std::string::npos)
        << log;
    EXPECT_NE(log.find("Division by zero (code C0000094) at 7F12345678AB (Whole)"), std::string::npos) << log;
}

}  // namespace
