#include "engine/logger.h"

#include <algorithm>
#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <stdexcept>

#include "engine/helpers.h"
#include "engine/log_repeat_limit.h"
#include "engine/user_folder.h"
#include "platform/file_handle.h"
#include "platform/system.h"

namespace {

// How long the processor's clock is measured for the system report.
constexpr uint32_t kClockWaitMs = 50;

using plat::UniqueFile;

// Opens the log by its full path in the user folder, never by a name that the
// current directory would resolve: without that folder (not prepared, or
// removed while the program runs) it gives null and nothing is written.
UniqueFile OpenLog(const char* mode) {
    const std::string folder = UserFolderPath("all");
    if (folder.empty()) return nullptr;
    return UniqueFile(std::fopen((folder + CLogger::FileName()).c_str(), mode));
}

// True only when the whole text reached the file: a full disk shows in the
// write or, for a short text still in the buffer, in the close.
bool AppendToFile(const std::string& text) {
    UniqueFile f = OpenLog("at");
    if (!f) return false;
    const bool written = std::fputs(text.c_str(), f.get()) >= 0;
    const bool closed = plat::CloseFile(f);
    return written && closed;
}

std::string TimeStamp() {
    const std::tm t = plat::LocalTimeNow();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%02i.%02i.%i %02i:%02i:%02i", t.tm_mday, t.tm_mon + 1, t.tm_year + 1900,
                  t.tm_hour, t.tm_min, t.tm_sec);
    return buf;
}

}  // namespace

CLogger& CLogger::Instance() {
    static CLogger logger;
    return logger;
}

CLogger::CLogger() {
    // Truncates the log of an earlier run.
    if (!OpenLog("wt")) ReportLostLog();
    Append("<Title>Log File</Title>");
    Append("<Html> <Body BgColor = Cornsilk>");
    Append("<B><Font Size = 3 Color = DarkBlue Face = Verdana>Game Log File</B><BR><BR>");
}

CLogger::~CLogger() {
    Append("<Title>Log File</Title>");
    Append("</Body> </Html>");
}

void CLogger::Append(const std::string& text) {
    if (!AppendToFile(text)) ReportLostLog();
}

// Said once per run on standard error, the one place left to say it.
void CLogger::ReportLostLog() {
    if (_lost_reported) return;
    _lost_reported = true;
    const std::string folder = UserFolderPath("all");
    std::fprintf(stderr, "Warning: the log '%s%s' cannot be written; its messages are lost.\n",
                 folder.empty() ? "(no user folder)/" : folder.c_str(), FileName());
}

const char* CLogger::LevelColor(int level) {
    switch (level) {
        case 0: return "BLACK";
        case 1: return "BLUE";
        case 2: return "RED";
        case 3: return "#FF00FF";
        default: return "GREEN";
    }
}

std::string CLogger::EscapeHtml(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string CLogger::Row(int level, const std::string& markup) {
    std::string row;
    row.reserve(markup.size() + 256);
    row += "<Table cellspacing=0 cellpadding=0 border=0><tr><td width='15%'><Font Size = 1 Color = GREEN>";
    row += TimeStamp();
    row += "&nbsp;&nbsp;-&nbsp;&nbsp;</Font></td>";
    row += "<td align=left><Font Size = 1 Color = ";
    row += LevelColor(level);
    row += " Face = Verdana>";
    row += markup;
    row += "</Font></td>";
    row += "</tr></Table>\n";
    return row;
}

void CLogger::LogText(int level, const std::string& message) { Append(Row(level, EscapeHtml(message))); }

void CLogger::AppendToExistingLog(int level, const std::string& message) {
    AppendToFile(Row(level, EscapeHtml(message)));
}

void CLogger::Log(int level, const char* format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    std::string message = FormatStringV(format, args);
    va_end(args);
    if (CLogRepeatLimit* limit = CLogRepeatLimit::Current(); limit && !limit->Admit(level, format, message)) return;
    LogText(level, message);
}

void CLogger::LogBold(int level, const char* format, ...) {
    if (!format) return;
    va_list args;
    va_start(args, format);
    std::string message = FormatStringV(format, args);
    va_end(args);
    Append(Row(level, "<B>" + EscapeHtml(message) + "</B>"));
}

// The one row that is markup of the program's own: a full-width rule.
void CLogger::LogSeparator() { Append(Row(0, "<hr width=100% noshade size='1px'>")); }

bool LogFailedCheck(const char* kind, const char* expression, const char* file, int line) {
    CLogger::Instance().Log(3, "%s failed: '%s', File=%s, Line=%d", kind, expression, file, line);
    return false;
}

void ThrowAssertionFailed() { throw std::runtime_error("Assertion failed"); }

void LogSystemInfo() {
    CLogger& log = CLogger::Instance();
    plat::SystemReport sys = plat::QuerySystem();
    log.LogSeparator();
    log.LogBold(1, "Operating System");
    log.LogText(1, sys.os_name);
    log.LogText(0, " ");

    log.LogBold(1, "CPU info");
    if (sys.has_tsc) {
        // The vendor text is followed by one blank, then " Approx ...". The
        // counter's ticks per microsecond of the time that really passed: a
        // short wait measures the clock as well as a long one would, and
        // keeps it out of the start-up.
        const auto start = std::chrono::steady_clock::now();
        const uint64_t t0 = plat::ReadTimeStampCounter();
        plat::Sleep(kClockWaitMs);
        const uint64_t t1 = plat::ReadTimeStampCounter();
        const auto us = std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start).count();
        log.Log(1, "%s  Approx %iMhz", sys.cpu_vendor.c_str(), static_cast<int>((t1 - t0) / static_cast<uint64_t>(std::max<int64_t>(us, 1))));
    }

    log.LogText(1, " ");
    log.LogBold(1, "Memory status");
    log.Log(1, "Physical Memory (free/total): %iMb / %iMb", static_cast<int>(sys.phys_free >> 20),
            static_cast<int>(sys.phys_total >> 20));
    log.Log(1, "Page File (free/total): %iMb / %iMb", static_cast<int>(sys.swap_free >> 20),
            static_cast<int>(sys.swap_total >> 20));
    log.LogText(1, " ");
}
