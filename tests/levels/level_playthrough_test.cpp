// Every shipped level played by the headless player with several seeds: each
// must be won in at least half of its runs, and the first level of every
// episode must come easier than its last. The per-level table (win rate,
// moves, game time, wall time) is printed for tuning the designs, with the
// swaps whose balls' kinds made a line and those the field took back: such a
// line must hold a ball that is not resting.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "field/fake_game_scene_link.h"
#include "field/game_field.h"
#include "headless_player.h"
#include "levels_test_support.h"

namespace {

constexpr uint32_t kSeeds[] = {11, 23, 37, 41};
constexpr int kRuns = static_cast<int>(std::size(kSeeds));

struct LevelRecord {
    int episode = 0, level = 0;
    int wins = 0;
    double moves = 0, seconds = 0, wall_ms = 0;
    // Swaps whose kinds made a line, and those of them the field took back.
    int line_swaps = 0;
    std::vector<CHeadlessPlayer::RefusedLine> refused;
};

const char* StateName(int state) {
    static const char* const kNames[] = {"resting", "new", "moving", "dying", "dead", "swapping"};
    return state >= 0 && state < static_cast<int>(std::size(kNames)) ? kNames[state] : "none";
}

std::string Describe(const CHeadlessPlayer::RefusedLine& line) {
    std::string text = "swap " + std::to_string(line.from) + "-" + std::to_string(line.to) + ":";
    for (const CHeadlessPlayer::LineBall& ball : line.balls) {
        text += " " + std::to_string(ball.cell) + " " + StateName(ball.state);
        if (ball.mark) text += " marked";
        if (ball.bonus) text += " bonus";
    }
    return text;
}

class LevelPlaythroughTest : public levels_test::LevelsTest {};

LevelRecord PlayLevel(CHeadlessPlayer& player, int episode, int level) {
    LevelRecord record;
    record.episode = episode;
    record.level = level;
    const std::string path =
        "Levels\\Episode_" + std::to_string(episode) + "\\Level_" + std::to_string(level) + ".xml";
    for (uint32_t seed : kSeeds) {
        const auto start = std::chrono::steady_clock::now();
        CHeadlessPlayer::Options options;
        options.seed = seed;
        const CHeadlessPlayer::Result result = player.Play(path, options);
        record.wall_ms +=
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count() / kRuns;
        record.wins += result.won;
        record.moves += static_cast<double>(result.moves) / kRuns;
        record.seconds += result.ticks / 60.0 / kRuns;
        record.line_swaps += result.line_swaps;
        record.refused.insert(record.refused.end(), result.refused.begin(), result.refused.end());
    }
    return record;
}

std::string Row(const CHeadlessPlayer::Result& r) {
    return "moves " + std::to_string(r.moves) + ", ticks " + std::to_string(r.ticks) + ", score " +
           std::to_string(r.score) + ", life lost " + std::to_string(r.lost) + ", won " + std::to_string(r.won);
}

}  // namespace

// A seed plays the same game however fast the machine runs it: the second run
// of each episode's first level, after the effects of the first run have used
// game time and the looks' random numbers, gives the same row (moves, ticks,
// score, life lost, won).
TEST_F(LevelPlaythroughTest, ASeedPlaysTheSameGameEveryTime) {
    field_test::FakeGameSceneLink scene;
    CGameField field;
    CHeadlessPlayer player(field, scene);
    CHeadlessPlayer::Options options;
    options.seed = kSeeds[0];
    for (int episode = 0; episode < static_cast<int>(episodes_.size()); ++episode) {
        SCOPED_TRACE("episode " + std::to_string(episode + 1));
        scene.episode = episode;
        scene.level = 0;
        const std::string path = "Levels\\Episode_" + std::to_string(episode) + "\\Level_0.xml";
        const CHeadlessPlayer::Result first = player.Play(path, options);
        const CHeadlessPlayer::Result second = player.Play(path, options);
        EXPECT_GT(first.moves, 0);
        EXPECT_GT(first.score, 0);
        EXPECT_EQ(second, first) << "first: " << Row(first) << "\nsecond: " << Row(second);
    }
}

TEST_F(LevelPlaythroughTest, EveryLevelIsWonInAtLeastHalfOfItsRuns) {
    field_test::FakeGameSceneLink scene;
    CGameField field;
    CHeadlessPlayer player(field, scene);
    std::vector<LevelRecord> records;
    std::printf("episode level  won  moves  game s  wall ms  lines refused\n");
    int line_swaps = 0, refused = 0;
    for (size_t e = 0; e < episodes_.size(); ++e) {
        scene.episode = static_cast<int>(e);
        for (size_t l = 0; l < episodes_[e].levels.size(); ++l) {
            scene.level = static_cast<int>(l);
            const LevelRecord r = PlayLevel(player, static_cast<int>(e), static_cast<int>(l));
            std::printf("%7d %5d  %d/%d %6.1f %7.1f %8.0f %6d %7zu\n", r.episode + 1, r.level + 1, r.wins, kRuns,
                        r.moves, r.seconds, r.wall_ms, r.line_swaps, r.refused.size());
            std::fflush(stdout);
            EXPECT_GE(r.wins * 2, kRuns) << "episode " << e + 1 << " level " << l + 1;
            // A line of the swapped balls' kind is taken back only when one of
            // its other balls is not resting (falling, new, dying).
            for (const CHeadlessPlayer::RefusedLine& line : r.refused) {
                std::printf("    taken back: %s\n", Describe(line).c_str());
                EXPECT_TRUE(line.HasBusyBall()) << "episode " << e + 1 << " level " << l + 1 << ", " << Describe(line);
            }
            line_swaps += r.line_swaps;
            refused += static_cast<int>(r.refused.size());
            records.push_back(r);
        }
    }
    std::printf("%d swaps made lines, %d of them were taken back\n", line_swaps, refused);
    EXPECT_GT(line_swaps, 0) << "the swaps are watched";
    // Within each episode the first level is won at least as often as the
    // last, and in fewer moves.
    for (size_t e = 0; e < episodes_.size(); ++e) {
        const size_t n = episodes_[e].levels.size();
        const LevelRecord& first = records[e * n];
        const LevelRecord& last = records[e * n + n - 1];
        EXPECT_GE(first.wins, last.wins) << "episode " << e + 1;
        EXPECT_LT(first.moves, last.moves) << "episode " << e + 1;
    }
}
