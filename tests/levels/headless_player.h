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
    struct Result {
        bool won = false;
        bool lost = false;  // a life was lost
        int moves = 0;
        int ticks = 0;
        int score = 0;  // the points the scene was given
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
};
