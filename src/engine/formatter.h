#pragma once
// Formatting of texts that come from data files (labels, messages) with
// arguments: the text's printf conversions are checked against the arguments
// actually given, so a text that does not fit them is shown as written and no
// missing argument is ever read.
#include <cstddef>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "engine/printf_arg.h"

enum class FormatArgType { Int, Float, Text };

// True when every conversion of `format`, in order, takes one argument of the type
// found at its place in `args`, and there are no more conversions than arguments
// (extra arguments are allowed, as with printf).
// Accepted conversions: "%%" (takes nothing); flags from "-+ #0"; a width and a
// ".precision" of digits (at most 1000); length modifiers hh h l ll j z t L
// (ignored: the argument's own type is used); d i o u x X c take an Int;
// f F e E g G a A take a Float; s takes a Text.
// Anything else does not fit: a lone '%' at the end, an unknown conversion
// letter, "%n", "%p", "*" widths, positional "%1$d", wide "%ls".
bool FormatMatchesArgs(std::string_view format, std::span<const FormatArgType> args);

// `format` with `args` in place of its conversions (PrintfArg of type none are
// skipped, the others are taken in order); when they do not fit, `format` itself
// and one line "Warning: Text '%s' does not fit its arguments, shown as written."
std::string FormatDataText(std::string_view format, std::span<const PrintfArg> args);

// The same with arguments of C++ types: integers (and char), floating point, and
// texts (const char*, std::string, std::string_view).
template <typename... Args>
std::string FormatDataTextOf(std::string_view format, const Args&... args);

// The labels' formatter: `format` with a and then b, each skipped when its tag is
// none, into `buffer` of `size` bytes (always zero-terminated when size > 0).
// Returns the number of characters written, or -1 when the text was cut at the
// buffer's size. A tag outside 0..3 empties the buffer, logs
// "Error: parametric snprinf invalid argument(s)." and returns 0. A text that does
// not fit its arguments is written as it is (see FormatDataText).
int ParametricSnprintf(char* buffer, size_t size, const char* format, const PrintfArg& a, const PrintfArg& b);

// ---------------------------------------------------------------------------

namespace format_detail {
template <typename T>
PrintfArg ToPrintfArg(const T& value) {
    if constexpr (std::is_integral_v<T>) {
        return PrintfArg(static_cast<int>(value));
    } else if constexpr (std::is_floating_point_v<T>) {
        return PrintfArg::MakeFloat(static_cast<float>(value));
    } else {
        static_assert(std::is_convertible_v<const T&, std::string_view>, "unsupported argument type");
        return PrintfArg::MakeString(std::string(std::string_view(value)));
    }
}
}  // namespace format_detail

template <typename... Args>
std::string FormatDataTextOf(std::string_view format, const Args&... args) {
    std::vector<PrintfArg> list;
    list.reserve(sizeof...(Args));
    (list.push_back(format_detail::ToPrintfArg(args)), ...);
    return FormatDataText(format, list);
}
