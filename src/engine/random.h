#pragma once
// The program's random numbers, the same on every machine and every run.
#include <cstdint>

// The runtime's generator, in place of the C library's srand/rand (which the
// program never calls): state = state * 214013 + 2531011 (mod 2^32), each value
// is bits 16..30 of the new state, 0..0x7FFF. Unseeded it starts as after srand(1).
namespace rt {
constexpr int kRandMax = 0x7FFF;
void srand(uint32_t seed);
int rand();
}  // namespace rt

// The looks' generator: the runtime's step on a state of its own. Particles,
// explosions, shaking, animation start frames and other show draw from it, so
// however many particles an effect emits, the rules' draws (new balls, bonus
// places and timers, tie-breaks) stay the same.
namespace fx {
void srand(uint32_t seed);
int rand();
// rand() % (max - min) + min: a value in [min, max); min when both are equal.
int Range(int min_val, int max_val);
}  // namespace fx

// The program's own generator, a separate state starting at 0: the same step,
// then ((state >> 15) ^ state) % (hi - lo + 1) + lo in unsigned arithmetic, so hi
// is included. Callers pass hi >= lo with hi - lo + 1 not 0.
uint32_t RandomInt(uint32_t lo, uint32_t hi);
// One step of the own generator: (state >> 16) * (1/65535) * (hi - lo) + lo.
float RandomFloat(float lo, float hi);
// Sets the own generator's state; 0 takes the milliseconds of the timer.
void SeedRandom(uint32_t seed);

// Seeds every generator from one game seed: the runtime's and the own one
// with the seed itself, the looks' with a value derived from it (so its
// stream is not the rules' stream again). Reads no clock, also for seed 0.
void SeedGame(uint32_t seed);
