#include "engine/helpers.h"

#include <charconv>
#include <climits>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <locale.h>

#include "engine/logger.h"

namespace {

// The C locale for reading numbers whatever locale the process runs in.
locale_t CLocale() {
    static locale_t loc = newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return loc;
}

}  // namespace

std::string IntToStr(int value) { return std::to_string(value); }

std::string FloatToStr(float value) {
    char buf[64];
    auto res = std::to_chars(buf, buf + sizeof buf, static_cast<double>(value), std::chars_format::fixed, 6);
    if (res.ec != std::errc()) return "0.000000";
    return std::string(buf, res.ptr);
}

int StrToInt(std::string_view text) {
    std::string s(text);
    if (s.find("0x") != std::string::npos) {
        unsigned int value = 0;
        if (std::sscanf(s.c_str(), "%x", &value) != 1) return 0;
        return static_cast<int>(value);
    }
    long value = std::strtol(s.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

double StrToFloat(std::string_view text) {
    std::string s(text);
    return strtod_l(s.c_str(), nullptr, CLocale());
}

uint32_t StrToColor(std::string_view text) {
    std::string s = "0x";
    s.append(text);
    return static_cast<uint32_t>(StrToInt(s));
}

CFloatRect StrToRect(std::string_view text) {
    std::vector<std::string> parts;
    if (Tokenize(&parts, text, " ,") < 4) return {};
    return CFloatRect(static_cast<float>(StrToInt(parts[0])), static_cast<float>(StrToInt(parts[1])),
                      static_cast<float>(StrToInt(parts[2])), static_cast<float>(StrToInt(parts[3])));
}

int Tokenize(std::vector<std::string>* parsed, std::string_view text, std::string_view delimiters) {
    if (!ASSERT(parsed != NULL)) return 0;
    parsed->clear();
    size_t pos = 0;
    while (pos < text.size()) {
        size_t start = text.find_first_not_of(delimiters, pos);
        if (start == std::string_view::npos) break;
        size_t end = text.find_first_of(delimiters, start);
        if (end == std::string_view::npos) end = text.size();
        parsed->emplace_back(text.substr(start, end - start));
        pos = end;
    }
    return static_cast<int>(parsed->size());
}

int TokenizeInts(std::vector<int>* parsed, std::string_view text, std::string_view delimiters) {
    if (!ASSERT(parsed != NULL)) return 0;
    parsed->clear();
    std::vector<std::string> parts;
    Tokenize(&parts, text, delimiters);
    parsed->reserve(parts.size());
    for (const std::string& part : parts) parsed->push_back(StrToInt(part));
    return static_cast<int>(parsed->size());
}

std::string FormatStringV(const char* format, va_list args) {
    if (!format) return {};
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (n <= 0) return {};
    std::string out(static_cast<size_t>(n), '\0');
    std::vsnprintf(out.data(), out.size() + 1, format, args);
    return out;
}

void FormatString(std::string& out, const char* format, ...) {
    out.clear();
    if (!format) return;
    va_list args;
    va_start(args, format);
    out = FormatStringV(format, args);
    va_end(args);
}
