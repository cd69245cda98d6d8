#pragma once
// The text of a time span: "m:ss", or "h:mm:ss" from one hour on.
#include <cstdint>
#include <string>

std::string MillisecondsToString(uint32_t ms);
