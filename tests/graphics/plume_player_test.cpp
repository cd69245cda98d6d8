// The particle player on an injected clock: the effect clock, emission,
// ageing, motion and the life of emitters.
#include <cmath>
#include <cstring>
#include <vector>

#include "engine/random.h"
#include "graphics/plume_noise.h"
#include "plume_test_support.h"

using namespace plume_test;

namespace {

const char* const kLibrary = R"(
emitter steady          # 10 particles a second, each living 10 s, moving right
    type dots
        rate 0 10
        life 0 500
        speed 0 100
    end
end
emitter stillborn       # a burst of one particle of life 0
    type dots
        burst 1
        life 0 0
    end
end
emitter idle            # emits nothing at all
    type dots
    end
end
emitter short           # a burst of one particle living 0.1 s
    type dots
        burst 1
        life 0 5
    end
end
emitter ring            # a burst of 8 evenly spaced particles on a circle of 20
    shape circle
    spacing even
    points 8
    shape_size 0 20
    type dots
        burst 1
        life 0 100
        speed 0 50
    end
end
emitter fraction        # 15 a second: 1.5 per tenth
    type dots
        rate 0 15
        life 0 1000
    end
end
emitter drifting        # a varied stream that wobbles and falls, and a burst beside it
    spread 0 3
    type dots
        rate 0 40
        rate_var 0 0.5
        life 0 30
        life_var 0 0.3
        speed 0 20
        speed_var 0 0.4
        wobble 0 6
        gravity 0 0.3
        gravity_var 0 0.5
        gravity_life 0 1 1 3
    end
    type sparks
        burst 1
        life 0 20
        speed 0 30
        gravity 0 -0.2
    end
end
emitter fading          # size and visibility over life, gravity pulling down
    type dots
        burst 1
        life 0 50
        size 0 2
        size_life 0 1 1 0
        visibility 0 0.8
        visibility_life 0 1 1 0.5
        colors 0 1 0 0 1 1 0 0 1 1
        speed 0 10
        gravity 0 0.5
    end
end
)";

class PlumePlayerTest : public PlumeTest {
protected:
    void SetUp() override {
        PlumeTest::SetUp();
        ASSERT_TRUE(ReadIntoProgramLibrary(WriteLibrary(kLibrary)));
    }
    // One step of `ms` milliseconds.
    void Step(CPlume& p, uint32_t ms) {
        clock_.Advance(ms);
        p.Render();
    }
    ManualClock clock_;
};

TEST_F(PlumePlayerTest, ClockAdvancesOnlyWhileEmittersRunAndStallsCountAsTenMilliseconds) {
    CPlume p(clock_.Get());
    p.Init();
    Step(p, 500);  // nothing runs: the clock stands still
    EXPECT_FLOAT_EQ(p.EffectClock(), 0.0f);
    p.StartEmitter("steady", 0, 0);
    clock_.Advance(250);
    p.Render();
    EXPECT_NEAR(p.EffectClock(), 0.01f, 1e-6) << "a first step 250 ms after the start";
    Step(p, 50);
    EXPECT_NEAR(p.EffectClock(), 0.06f, 1e-6);
    Step(p, 199);
    EXPECT_NEAR(p.EffectClock(), 0.259f, 1e-5);
    Step(p, 200);
    EXPECT_NEAR(p.EffectClock(), 0.269f, 1e-5) << "0.2 s or more counts as 0.01 s";
}

TEST_F(PlumePlayerTest, IdleTimeBeforeAStartIsNotEffectTime) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t first = p.StartEmitter("short", 0, 0);
    while (p.HasEmitter(first)) Step(p, 16);
    const float idle_clock = p.EffectClock();
    Step(p, 100);  // 150 ms without any emitter, less than a stall
    clock_.Advance(50);
    EXPECT_FLOAT_EQ(p.EffectClock(), idle_clock);
    // A one-shot effect started now begins at its own start: its first step
    // is one frame, not the idle time before it.
    const uint32_t id = p.StartEmitter("fraction", 0, 0);
    Step(p, 16);
    EXPECT_NEAR(p.GetEmitter(id)->Time(), 0.8f, 1e-3);
    EXPECT_NEAR(p.EffectClock(), idle_clock + 0.016f, 1e-5);
}

TEST_F(PlumePlayerTest, EmissionCarriesFractionsAndParticlesMove) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t frac = p.StartEmitter("fraction", 0, 0);
    const int expected[] = {1, 3, 4, 6, 7, 9};
    for (int n : expected) {
        Step(p, 100);
        EXPECT_EQ(p.GetEmitter(frac)->ParticleCount(), static_cast<size_t>(n));
    }

    const uint32_t id = p.StartEmitter("steady", 100, 50);
    Step(p, 100);
    const auto& dots = p.GetEmitter(id)->types[0].Particles();
    ASSERT_EQ(dots.size(), 1u);
    // Born at the emitter and moved by speed x dt in the same step.
    EXPECT_NEAR(dots[0].x, 110.0f, 1e-3);
    EXPECT_NEAR(dots[0].y, 50.0f, 1e-3);
    EXPECT_NEAR(dots[0].off_x, 0.0f, 1e-6);
    p.MoveEmitter(id, 0, 30);
    Step(p, 100);
    ASSERT_EQ(dots.size(), 2u);
    EXPECT_NEAR(dots[0].x, 120.0f, 1e-3) << "the oldest keeps flying";
    EXPECT_NEAR(dots[1].y, 80.0f, 1e-3) << "the newest is born where the emitter now is";
    float x, y;
    ASSERT_TRUE(p.GetEmitterPos(id, &x, &y));
    EXPECT_FLOAT_EQ(y, 80.0f);
}

// Values that would emit millions of particles a frame are clamped when the
// library is read, and a player never holds more than it can draw.
TEST_F(PlumeTest, FloodingEmissionValuesAreClampedAndPlayersCapped) {
    ASSERT_TRUE(ReadIntoProgramLibrary(WriteLibrary(R"(
emitter flood
    shape circle
    spacing even
    points 1000000
    rate 0 1000000
    type dots
        rate 0 1000000000
        rate_var 0 50
        life 0 100000
    end
end
)")));
    const Plume::CParticleEmitter* flood = Plume::CLibrary::Instance()->Find("flood");
    ASSERT_NE(flood, nullptr);
    EXPECT_EQ(flood->ints[Plume::CParticleEmitter::kPoints], Plume::CParticleEmitter::kMaxPoints);
    EXPECT_FLOAT_EQ(flood->curves[Plume::CParticleEmitter::kRate].GetValue(0), 100.0f);
    EXPECT_FLOAT_EQ(flood->types[0].curves[Plume::CParticleType::kRate].GetValue(0), Plume::CParticleType::kMaxRate);

    ManualClock clock;
    CPlume p(clock.Get());
    p.Init();
    for (int i = 0; i < 3; ++i) p.StartEmitter("flood", 100, 100);
    size_t total = 0;
    for (int frame = 0; frame < 10; ++frame) {
        clock.Advance(16);
        p.Render();
        total = 0;
        for (uint32_t id = 0; id < 3; ++id) total += p.GetEmitter(id)->ParticleCount();
        ASSERT_LE(total, CPlume::kMaxParticles) << "frame " << frame;
    }
    EXPECT_EQ(total, CPlume::kMaxParticles);
}

TEST_F(PlumePlayerTest, EvenCircleBurstPlacesOneParticlePerPoint) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t id = p.StartEmitter("ring", 200, 100);
    Step(p, 16);
    Step(p, 16);
    const auto& dots = p.GetEmitter(id)->types[0].Particles();
    ASSERT_EQ(dots.size(), 8u) << "one batch only";
    for (size_t i = 0; i < dots.size(); ++i) {
        const float r = std::hypot(dots[i].off_x, dots[i].off_y);
        EXPECT_NEAR(r, 20.0f, 1e-3);
        const float phi = static_cast<float>(i) / 8.0f * 6.283f;
        EXPECT_NEAR(dots[i].off_x, 20.0f * std::cos(phi), 1e-3);
        EXPECT_NEAR(dots[i].dir_x, std::cos(phi), 1e-3) << "flying outwards";
    }
}

TEST_F(PlumePlayerTest, AgeingScalesStartValuesOverTheLife) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t id = p.StartEmitter("fading", 0, 0);
    Step(p, 10);  // born at T 0.5
    Step(p, 500);  // a stall: +0.01 s, T 1.0
    Step(p, 100);  // T 6.0: life fraction 0.11
    const auto& dots = p.GetEmitter(id)->types[0].Particles();
    ASSERT_EQ(dots.size(), 1u);
    const float f = (6.0f - 0.5f) / 50.0f;
    EXPECT_NEAR(dots[0].size, 2.0f * (1.0f - f), 1e-3);
    EXPECT_NEAR(dots[0].visibility, 0.8f * (1.0f - 0.5f * f), 1e-3);
    EXPECT_NEAR(dots[0].color[0], 1.0f - f, 1e-5) << "red to blue over the life";
    EXPECT_NEAR(dots[0].color[2], f, 1e-5);
    EXPECT_FLOAT_EQ(dots[0].color[3], 1.0f);
    EXPECT_GT(dots[0].dir_y, 0.0f) << "gravity pulls down";
}

TEST_F(PlumePlayerTest, ParticleOfLifeZeroIsFreedAtBirth) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t id = p.StartEmitter("stillborn", 0, 0);
    Step(p, 16);
    ASSERT_TRUE(p.HasEmitter(id));
    EXPECT_EQ(p.GetEmitter(id)->ParticleCount(), 0u);
}

TEST_F(PlumePlayerTest, EmittersWithoutParticlesGoWithinTwoTenthsOfASecond) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t idle = p.StartEmitter("idle", 0, 0);
    const uint32_t brief = p.StartEmitter("short", 0, 0);
    int steps = 0;
    while (p.HasEmitter(idle) && steps < 100) {
        Step(p, 10);
        ++steps;
    }
    EXPECT_FALSE(p.HasEmitter(idle));
    EXPECT_NEAR(p.EffectClock(), 0.2f, 0.011f);
    EXPECT_TRUE(p.HasEmitter(brief)) << "its particle lives 0.1 s, so it is alive until 0.1 s";
    while (p.HasEmitter(brief) && steps < 100) {
        Step(p, 10);
        ++steps;
    }
    EXPECT_FALSE(p.HasEmitter(brief));
    EXPECT_NEAR(p.EffectClock(), 0.3f, 0.021f);
    float x = -1;
    EXPECT_FALSE(p.GetEmitterPos(brief, &x, nullptr));
    EXPECT_FLOAT_EQ(x, -1.0f) << "the outputs are left alone";
}

TEST_F(PlumePlayerTest, EmittersNotDrawnKeepMovingAndAreDroppedAfterTwoTenths) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t drawn = p.StartEmitter("steady", 0, 0);
    const uint32_t hidden = p.StartEmitter("steady", 0, 0);
    Step(p, 100);
    ASSERT_EQ(p.GetEmitter(hidden)->ParticleCount(), 1u);
    float last_x = p.GetEmitter(hidden)->types[0].Particles()[0].x;
    for (int i = 0; i < 6; ++i) {  // up to 0.18 s after it was last drawn
        clock_.Advance(30);
        p.RenderEmitter(drawn);
        ASSERT_TRUE(p.HasEmitter(hidden)) << "step " << i;
        const float x = p.GetEmitter(hidden)->types[0].Particles()[0].x;
        EXPECT_GT(x, last_x) << "it keeps moving";
        last_x = x;
    }
    clock_.Advance(30);
    p.RenderEmitter(drawn);
    EXPECT_FALSE(p.HasEmitter(hidden)) << "0.2 s after it was last drawn";
    EXPECT_TRUE(p.HasEmitter(drawn));
    p.RenderEmitters({drawn, 12345});  // ids that do not run are ignored
    EXPECT_TRUE(p.HasEmitter(drawn));
    p.StopEmitter(drawn);
    EXPECT_FALSE(p.HasEmitter(drawn));
    EXPECT_EQ(p.EmitterCount(), 0u);
}

TEST_F(PlumePlayerTest, SetPositionsMoveRecordsOfRunningEmittersOnly) {
    CPlume p(clock_.Get());
    p.Init();
    const uint32_t a = p.StartEmitter("steady", 1, 2), b = p.StartEmitter("steady", 3, 4);
    p.SetEmittersPosition(50, 60);
    float x, y;
    ASSERT_TRUE(p.GetEmitterPos(b, &x, &y));
    EXPECT_FLOAT_EQ(x, 50);
    p.SetEmitterPos(a, 7, 8);
    p.MoveEmitter(a, 1, 1);
    p.SetEmitterPos(999, 1, 1);
    p.MoveEmitter(999, 1, 1);
    ASSERT_TRUE(p.GetEmitterPos(a, &x, &y));
    EXPECT_FLOAT_EQ(x, 8);
    EXPECT_FLOAT_EQ(y, 9);
}

// The game draws the effects of one player in several calls a frame (the
// explosions, then every background tile, tool carrier and mixer cell on its
// own). The effects advance once per frame however often they are drawn: a
// falling burst takes the same path, to the bit, and the looks' generator
// gives as many numbers.
TEST_F(PlumePlayerTest, EffectsAdvanceOncePerFrameHoweverOftenTheyAreDrawn) {
    constexpr size_t kEmitters = 20;
    enum class Draws { kAllAtOnce, kOneByOne, kAllThenEachAgain };
    struct Run {
        std::vector<Plume::Particle> path;  // the burst's particle, frame by frame
        std::vector<Plume::Particle> last;  // every particle after the last frame
        int next_random = 0;
    };
    auto play = [&](Draws draws) {
        fx::srand(77);
        ManualClock clock;
        CPlume p(clock.Get());
        p.Init();
        std::vector<uint32_t> ids {p.StartEmitter("fading", 100, 100), p.StartEmitter("drifting", 50, 50)};
        while (ids.size() < kEmitters) ids.push_back(p.StartEmitter("steady", static_cast<int>(ids.size()), 0));
        Run run;
        for (int frame = 0; frame < 30; ++frame) {
            if (draws == Draws::kAllAtOnce) {
                p.RenderEmitters(ids);
            } else {
                if (draws == Draws::kAllThenEachAgain) p.Render();
                for (uint32_t id : ids) p.RenderEmitter(id);
            }
            run.path.push_back(p.GetEmitter(ids[0])->types[0].Particles().at(0));
            clock.Advance(16);
        }
        for (uint32_t id : ids)
            for (const Plume::CParticleType& type : p.GetEmitter(id)->types)
                run.last.insert(run.last.end(), type.Particles().begin(), type.Particles().end());
        run.next_random = fx::rand();
        return run;
    };
    auto same = [](const std::vector<Plume::Particle>& a, const std::vector<Plume::Particle>& b) {
        return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof a[0]) == 0;
    };
    const Run once = play(Draws::kAllAtOnce);
    ASSERT_GT(once.path.back().y, once.path.front().y + 1.0f) << "the burst falls";
    for (Draws draws : {Draws::kOneByOne, Draws::kAllThenEachAgain}) {
        SCOPED_TRACE(draws == Draws::kOneByOne ? "one by one" : "all, then each again");
        const Run run = play(draws);
        for (size_t frame = 0; frame < once.path.size(); ++frame) {
            EXPECT_EQ(run.path[frame].x, once.path[frame].x) << "frame " << frame;
            EXPECT_EQ(run.path[frame].y, once.path[frame].y) << "frame " << frame;
        }
        EXPECT_TRUE(same(run.last, once.last)) << "every particle of every emitter";
        EXPECT_EQ(run.next_random, once.next_random);
    }
}

TEST(PlumeNoise, TablesAreTheSameOnEveryFill) {
    Plume::CNoise a, b;
    rt::srand(5);
    const int rules_first = rt::rand();
    rt::srand(5);
    a.Fill();
    EXPECT_EQ(rt::rand(), rules_first) << "the fill leaves the rules' generator alone";
    const int after_a = fx::rand();
    fx::srand(12345);
    b.Fill();
    const int after_b = fx::rand();
    EXPECT_EQ(after_a, after_b) << "the fill seeds the looks' generator";
    EXPECT_EQ(a.Permutation(), b.Permutation());
    EXPECT_EQ(a.Gradients1(), b.Gradients1());
    EXPECT_EQ(a.Gradients3(), b.Gradients3());
    EXPECT_EQ(a.Gradients4(), b.Gradients4());

    std::vector<int> seen(512, 0);
    for (int i = 0; i < 512; ++i) ++seen[a.Permutation()[i]];
    EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 512) << "a permutation of 0..511";
    EXPECT_NE(a.Permutation()[0], 0);
    for (int i = 0; i < 514; ++i) {
        EXPECT_EQ(a.Permutation()[512 + i], a.Permutation()[i]);
        EXPECT_EQ(a.Gradients1()[512 + i], a.Gradients1()[i]);
    }
    for (int i = 0; i < 512; ++i) {
        const auto& g3 = a.Gradients3()[i];
        const auto& g4 = a.Gradients4()[i];
        EXPECT_NEAR(g3[0] * g3[0] + g3[1] * g3[1] + g3[2] * g3[2], 1.0f, 1e-5);
        EXPECT_NEAR(g4[0] * g4[0] + g4[1] * g4[1] + g4[2] * g4[2] + g4[3] * g4[3], 1.0f, 1e-5);
        EXPECT_GE(a.Gradients1()[i], -1.0f);
        EXPECT_LT(a.Gradients1()[i], 1.0f);
    }
    // Smooth noise: zero on the lattice, small steps between close points.
    EXPECT_FLOAT_EQ(a.Noise1(3.0f), 0.0f);
    float prev = a.Noise1(0.0f);
    for (int i = 1; i < 1000; ++i) {
        const float v = a.Noise1(i * 0.01f);
        EXPECT_LT(std::fabs(v - prev), 0.05f);
        EXPECT_LE(std::fabs(v), 1.0f);
        prev = v;
    }
    EXPECT_FLOAT_EQ(a.Noise1(-7.25f), b.Noise1(-7.25f));
}

}  // namespace
