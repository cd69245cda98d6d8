#include "engine/random.h"

#include "platform/system.h"

namespace {

constexpr uint32_t kMultiplier = 214013u;
constexpr uint32_t kIncrement = 2531011u;

uint32_t& RuntimeState() {
    static uint32_t state = 1;
    return state;
}

uint32_t& OwnState() {
    static uint32_t state = 0;
    return state;
}

uint32_t& LooksState() {
    static uint32_t state = 1;
    return state;
}

uint32_t Step(uint32_t& state) {
    state = state * kMultiplier + kIncrement;
    return state;
}

}  // namespace

namespace rt {

void srand(uint32_t seed) { RuntimeState() = seed; }

int rand() { return static_cast<int>((Step(RuntimeState()) >> 16) & 0x7FFF); }

}  // namespace rt

namespace fx {

void srand(uint32_t seed) { LooksState() = seed; }

int rand() { return static_cast<int>((Step(LooksState()) >> 16) & 0x7FFF); }

int Range(int min_val, int max_val) {
    if (max_val <= min_val) return min_val;
    const int64_t span = static_cast<int64_t>(max_val) - min_val;
    return static_cast<int>(rand() % span + min_val);
}

}  // namespace fx

uint32_t RandomInt(uint32_t lo, uint32_t hi) {
    uint32_t s = Step(OwnState());
    return ((s >> 15) ^ s) % (hi - lo + 1) + lo;
}

float RandomFloat(float lo, float hi) {
    uint32_t s = Step(OwnState());
    return static_cast<float>(s >> 16) * 1.5259022e-5f * (hi - lo) + lo;
}

void SeedRandom(uint32_t seed) { OwnState() = seed != 0 ? seed : plat::TimeGetTime(); }

void SeedGame(uint32_t seed) {
    rt::srand(seed);
    OwnState() = seed;
    // Any fixed odd multiplier serves: it only keeps the looks' stream apart.
    fx::srand(seed * 2654435761u + 1u);
}
