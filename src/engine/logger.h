#pragma once
// The one log of the program: log.html in the per-user folder, one HTML table
// row per message, reopened for every message so it stays complete after a crash.
// Without that folder nothing is written anywhere (one line on standard error).
// Message texts are escaped, so a logged XML fragment reads as it was written.
#include <string>
#include <string_view>

class CLogger {
public:
    static CLogger& Instance();

    // Formats printf-style and appends one row; a null format writes nothing.
    // Under a CLogRepeatLimit a message repeated from one place may only be counted.
    void Log(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    // Formats, wraps in <B>..</B> and logs the result as a finished message.
    void LogBold(int level, const char* format, ...) __attribute__((format(printf, 3, 4)));
    void LogSeparator();
    // Appends an already formatted message.
    void LogText(int level, const std::string& message);
    // Appends one row to whatever log.html holds, without starting a log of
    // this run (which would empty the file): for a copy of the program that
    // must not touch the log of the copy already running.
    static void AppendToExistingLog(int level, const std::string& message);

    static const char* LevelColor(int level);
    // Text with &, <, > and " written as HTML entities.
    static std::string EscapeHtml(std::string_view text);
    static const char* FileName() { return "log.html"; }

    ~CLogger();
    CLogger(const CLogger&) = delete;
    CLogger& operator=(const CLogger&) = delete;

private:
    CLogger();
    // One table row around a message that is already HTML.
    static std::string Row(int level, const std::string& markup);
    void Append(const std::string& text);
    void ReportLostLog();

    bool _lost_reported = false;
};

// Writes the operating system, processor and memory into the log.
void LogSystemInfo();

// Failed checks log "Assert failed: '%s', File=%s, Line=%d" (or "Verify failed")
// at level 3 and go on; the *_THROW forms then throw "Assertion failed".
bool LogFailedCheck(const char* kind, const char* expression, const char* file, int line);
[[noreturn]] void ThrowAssertionFailed();

#define ASSERT(expr) (static_cast<bool>(expr) ? true : LogFailedCheck("Assert", #expr, __FILE__, __LINE__))
#define VERIFY(expr) (static_cast<bool>(expr) ? true : LogFailedCheck("Verify", #expr, __FILE__, __LINE__))
#define ASSERT_THROW_IF_FAILED(expr) \
    do { if (!(expr)) { LogFailedCheck("Assert", #expr, __FILE__, __LINE__); ThrowAssertionFailed(); } } while (0)
