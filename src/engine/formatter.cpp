#include "engine/formatter.h"

#include <cstdio>
#include <cstring>

#include "engine/logger.h"

namespace {

constexpr int kMaxWidth = 1000;

// One conversion of a format: where it ends, the directive to hand to snprintf (flags,
// width and precision, no length modifier) and the argument type it takes.
struct Conversion {
    size_t end = 0;
    bool literal_percent = false;
    FormatArgType type = FormatArgType::Int;
    char letter = 0;
    std::string directive;
};

bool ReadNumber(std::string_view f, size_t& i, int& value) {
    value = 0;
    while (i < f.size() && f[i] >= '0' && f[i] <= '9') {
        value = value * 10 + (f[i] - '0');
        if (value > kMaxWidth) return false;
        ++i;
    }
    return true;
}

// Parses the conversion that begins with the '%' at `start`; false when it is
// not one this formatter accepts.
bool ParseConversion(std::string_view f, size_t start, Conversion& c) {
    size_t i = start + 1;
    if (i < f.size() && f[i] == '%') {
        c.end = i + 1;
        c.literal_percent = true;
        return true;
    }
    c.literal_percent = false;
    c.directive.assign(1, '%');
    while (i < f.size() && f[i] != '\0' && std::strchr("-+ #0", f[i])) c.directive.push_back(f[i++]);
    size_t digits = i;
    int number = 0;
    if (!ReadNumber(f, i, number)) return false;
    c.directive.append(f.substr(digits, i - digits));
    if (i < f.size() && f[i] == '$') return false;  // positional arguments
    if (i < f.size() && f[i] == '.') {
        c.directive.push_back(f[i++]);
        digits = i;
        if (!ReadNumber(f, i, number)) return false;
        c.directive.append(f.substr(digits, i - digits));
    }
    bool wide = false;
    while (i < f.size() && f[i] != '\0' && std::strchr("hljztL", f[i])) {
        if (f[i] == 'l') wide = true;
        ++i;
    }
    if (i >= f.size()) return false;
    char letter = f[i];
    if (letter == '\0') return false;
    if (std::strchr("diouxXc", letter)) {
        c.type = FormatArgType::Int;
    } else if (std::strchr("fFeEgGaA", letter)) {
        c.type = FormatArgType::Float;
    } else if (letter == 's' && !wide) {
        c.type = FormatArgType::Text;
    } else {
        return false;  // includes '*', 'n', 'p', "%ls" and a NUL byte
    }
    if (letter == 'c' && wide) return false;
    c.letter = letter;
    c.directive.push_back(letter);
    c.end = i + 1;
    return true;
}

FormatArgType TypeOf(const PrintfArg& a) {
    switch (a.type) {
        case PrintfArg::kInt: return FormatArgType::Int;
        case PrintfArg::kFloat: return FormatArgType::Float;
        default: return FormatArgType::Text;
    }
}

template <typename T>
void AppendPrintf(std::string& out, const char* directive, T value) {
    char small[128];
    int n = std::snprintf(small, sizeof small, directive, value);
    if (n < 0) return;
    if (static_cast<size_t>(n) < sizeof small) {
        out.append(small, static_cast<size_t>(n));
        return;
    }
    std::string big(static_cast<size_t>(n), '\0');
    std::snprintf(big.data(), big.size() + 1, directive, value);
    out += big;
}

void AppendFormatted(std::string& out, const Conversion& c, const PrintfArg& a) {
    const char* directive = c.directive.c_str();
    switch (c.type) {
        case FormatArgType::Int:
            if (c.letter == 'd' || c.letter == 'i' || c.letter == 'c')
                AppendPrintf(out, directive, a.int_value);
            else
                AppendPrintf(out, directive, static_cast<unsigned>(a.int_value));
            break;
        case FormatArgType::Float: AppendPrintf(out, directive, static_cast<double>(a.float_value)); break;
        case FormatArgType::Text: AppendPrintf(out, directive, a.string_value.c_str()); break;
    }
}

}  // namespace

bool FormatMatchesArgs(std::string_view format, std::span<const FormatArgType> args) {
    size_t next = 0;
    for (size_t i = 0; i < format.size();) {
        if (format[i] != '%') {
            ++i;
            continue;
        }
        Conversion c;
        if (!ParseConversion(format, i, c)) return false;
        if (!c.literal_percent) {
            if (next >= args.size() || args[next] != c.type) return false;
            ++next;
        }
        i = c.end;
    }
    return true;
}

std::string FormatDataText(std::string_view format, std::span<const PrintfArg> args) {
    std::vector<const PrintfArg*> given;
    std::vector<FormatArgType> types;
    for (const PrintfArg& a : args) {
        if (a.type == PrintfArg::kNone) continue;
        given.push_back(&a);
        types.push_back(TypeOf(a));
    }
    if (!FormatMatchesArgs(format, types)) {
        std::string text(format);
        CLogger::Instance().Log(2, "Warning: Text '%s' does not fit its arguments, shown as written.", text.c_str());
        return text;
    }
    std::string out;
    out.reserve(format.size() + 16);
    size_t next = 0;
    for (size_t i = 0; i < format.size();) {
        size_t percent = format.find('%', i);
        if (percent == std::string_view::npos) percent = format.size();
        out.append(format.substr(i, percent - i));
        if (percent == format.size()) break;
        Conversion c;
        ParseConversion(format, percent, c);
        if (c.literal_percent)
            out.push_back('%');
        else
            AppendFormatted(out, c, *given[next++]);
        i = c.end;
    }
    return out;
}

int ParametricSnprintf(char* buffer, size_t size, const char* format, const PrintfArg& a, const PrintfArg& b) {
    if (a.type < PrintfArg::kNone || a.type > PrintfArg::kString || b.type < PrintfArg::kNone ||
        b.type > PrintfArg::kString) {
        if (buffer && size > 0) buffer[0] = '\0';
        CLogger::Instance().Log(2, "Error: parametric snprinf invalid argument(s).");
        return 0;
    }
    if (!buffer || size == 0) return -1;
    const PrintfArg pair[2] = {a, b};
    std::string text = FormatDataText(format ? format : "", pair);
    if (text.size() >= size) {
        std::memcpy(buffer, text.data(), size - 1);
        buffer[size - 1] = '\0';
        return -1;
    }
    std::memcpy(buffer, text.data(), text.size() + 1);
    return static_cast<int>(text.size());
}
