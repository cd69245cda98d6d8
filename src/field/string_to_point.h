#pragma once
// The point attributes of the data files ("centre", "offset", ...): two
// integers separated by blanks or commas.
#include <string_view>

#include "engine/vector2.h"

// (first, second), each read as an integer (hexadecimal when it holds "0x",
// fractions cut); (0, 0) when the text holds fewer than two numbers.
CVector2 StringToPoint(std::string_view text);
