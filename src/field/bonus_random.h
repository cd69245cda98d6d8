#pragma once
// The draws of the bonuses that pick targets or kinds: a whole number from lo
// to hi, both included. The program's own generator by default; a test puts a
// scripted source in its place.
#include <cstdint>
#include <functional>

#include "engine/random.h"

using BonusRandom = std::function<uint32_t(uint32_t lo, uint32_t hi)>;

inline BonusRandom DefaultBonusRandom() { return [](uint32_t lo, uint32_t hi) { return RandomInt(lo, hi); }; }
