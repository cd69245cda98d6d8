#pragma once
// Plays one level of the game field without a window a person looks at: the
// field is loaded and updated tick by tick as the game scene does, and a
// seeded player clicks the two balls of one of the moves the field reports
// through the engine's mouse, preferring moves whose line clears puzzle
// tiles (then the balls under the artefact's fragment), and taking a human's time between two moves. Each tick advances the
// game clock by one frame period; ticks run as fast as the machine allows,
// and a seeded run repeats exactly however fast that is.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "field/move_record.h"
#include "headless_core.h"

class CBall;
class CGameField;

namespace field_test {
class FakeGameSceneLink;
}

class CHeadlessPlayer {
public:
    struct Options {
        uint32_t seed = 1;
        // Ticks the player looks at the field before each move (the game
        // runs 60 ticks a second).
        int think_ticks = 70;
        // In this many moves out of a hundred any move is taken, not the best.
        int careless_percent = 25;
        // The play is given up after this many ticks.
        int max_ticks = 60 * 60 * 20;
    };
    // One ball of a line, as the tick of the swap's check left it.
    struct LineBall {
        int cell = 0;
        int state = -1;
        bool mark = false;   // the new-ball mark
        bool bonus = false;  // a bonus ball
        bool operator==(const LineBall&) const = default;
    };
    // A swap whose balls' kinds make a line and that the field took back.
    struct RefusedLine {
        int from = 0, to = 0;
        std::vector<LineBall> balls;  // in the line's order, the swapped ones among them
        // Some ball of the line other than the swapped two is not resting:
        // the reason the field had to refuse.
        bool HasBusyBall() const;
        bool operator==(const RefusedLine&) const = default;
    };
    struct Result {
        bool won = false;
        bool lost = false;  // a life was lost
        int moves = 0;
        int ticks = 0;
        int score = 0;  // the points the scene was given
        int line_swaps = 0;  // swaps that arrived making a line by the balls' kinds
        std::vector<RefusedLine> refused;
        bool operator==(const Result&) const = default;
    };

    // The field and the scene stand-in outlive the player.
    CHeadlessPlayer(CGameField& field, field_test::FakeGameSceneLink& scene) : _field(field), _scene(scene) {}
    ~CHeadlessPlayer();
    CHeadlessPlayer(const CHeadlessPlayer&) = delete;
    CHeadlessPlayer& operator=(const CHeadlessPlayer&) = delete;

    // Loads the level file and plays it to a win, a lost life or the tick limit.
    Result Play(const std::string& level_path, const Options& options);

    // Loads the level file for the scene's episode with an empty artefact
    // (the level played before is cleared first; the last one stays loaded).
    bool Start(const std::string& level_path);
    // One tick of the game: the field and the artefact are updated, and
    // their frame is "drawn" headless, which steps the animations.
    void Tick();

private:
    // A swap on its way: its two cells and the ball that left `from`.
    struct PendingSwap {
        int from = -1, to = -1;
        const CBall* ball = nullptr;
    };
    // After a tick: when the pending swap has arrived and been checked, counts
    // it when its kinds make a line and records it when it was taken back.
    void WatchSwap(Result& result);
    // The cells of the lines through `cell` by the kinds on the field now.
    std::vector<int> LineCells(int cell) const;

    bool ReadyForMove() const;
    bool ChooseMove(MoveRecord& move, const Options& options);
    // The targets under the lines the move would make: the puzzle tiles, or
    // once the fragment is on the field the balls below it.
    int TilesHit(const MoveRecord& move) const;
    int FindFragment() const;
    bool IsTarget(int cell, int fragment) const;
    int KindAt(int cell) const;
    void Click(int cell);

    CGameField& _field;
    field_test::FakeGameSceneLink& _scene;
    std::unique_ptr<CHeadlessCore> _headless;
    bool _started = false;
    std::vector<MoveRecord> _moves;
    std::vector<int> _kinds;
    PendingSwap _swap;
};
