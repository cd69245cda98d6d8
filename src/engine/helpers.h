#pragma once
// Conversions between numbers and text, list splitting and printf-style
// formatting shared by every loader. Conversions never fail: text that is no
// number reads as 0. Numbers are read and written in the C locale.
#include <cstdarg>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "engine/float_rect.h"

std::string IntToStr(int value);      // "%d"
std::string FloatToStr(float value);  // "%f": six decimals, "2.500000"

// Text holding "0x" anywhere is scanned as hexadecimal ("0x1F" is 31, "0x" alone
// 0); other text is a decimal integer from its leading blanks, sign and digits
// ("-12" is -12, "12abc" is 12, "abc" is 0). Values beyond int are clamped.
int StrToInt(std::string_view text);
// The leading decimal number of the text ("1.5x" is 1.5; none gives 0).
double StrToFloat(std::string_view text);
// Hexadecimal digits, alpha first: "80FF0000" is half-transparent red. Text that
// already begins with "0x" gives 0.
uint32_t StrToColor(std::string_view text);
// Four integers (left, top, right, bottom) separated by blanks or commas;
// fractions are cut ("1.5" reads 1); fewer than four give the zero rectangle.
CFloatRect StrToRect(std::string_view text);

// Clears `parsed` and appends the parts of `text` between runs of any of the
// `delimiters` characters; never an empty part. Returns the number of parts.
// A null list logs the failed check and returns 0.
int Tokenize(std::vector<std::string>* parsed, std::string_view text, std::string_view delimiters);
// The same with each part read by StrToInt.
int TokenizeInts(std::vector<int>* parsed, std::string_view text, std::string_view delimiters);

// printf into `out`, of whatever length the result needs. For formats written in
// the code; a format that comes from a data file goes through FormatDataText
// (engine/formatter.h), which checks it against its arguments.
void FormatString(std::string& out, const char* format, ...) __attribute__((format(printf, 2, 3)));
// The same with the arguments as a va_list (for other printf-style functions);
// a null format gives "".
std::string FormatStringV(const char* format, va_list args) __attribute__((format(printf, 1, 0)));
