#pragma once
// Lightning (type 5): destroys its own ball and strikes a number of randomly
// chosen balls, preferring balls on puzzle tiles. A struck ball starts dying
// at once; after a random wait a bolt shows over it, then a joint flash, and
// the ball dies (a bonus ball starting its bonus) when the flash ends.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/graphics_desc.h"
#include "field/base_bonus_impl.h"
#include "field/bonus_random.h"
#include "field/countdown.h"
#include "graphics/object_2d.h"

class CLightningBonus : public CBaseBonusImpl {
public:
    static constexpr int kType = 5;

    // A closed range of ticks, both ends included.
    struct Range {
        int lo = 0;
        int hi = 0;
    };
    struct KillCounts {
        int max_kill = 10;
        int vovaro_kill = 1;
        // The targets drawn first from the balls on puzzle tiles.
        int PuzzleCount() const { return vovaro_kill < max_kill ? vovaro_kill : max_kill; }
    };

    // A sprite's description with its animation, read once for every target.
    struct Picture {
        Picture() = default;
        explicit Picture(const CGraphicsDesc& desc);
        CGraphicsDesc graphics;
        CAnimation animation;
    };

    // One struck ball with its bolt and its joint flash.
    class CTarget {
    public:
        enum Phase { kUnset = -1, kWaiting = 0, kShowing = 1, kDone = 2 };

        CTarget(IBonusDataSource* data_source, int cell, const Picture& bolt, const Picture& joint);
        CTarget(const CTarget&) = delete;
        CTarget& operator=(const CTarget&) = delete;

        void SetTiming(int wait, int offset, int life);
        void Update();
        void Draw();
        bool IsDone() const { return _bolt_phase == kDone && _joint_phase == kDone; }
        int GetCell() const { return _cell; }
        int GetBoltPhase() const { return _bolt_phase; }
        int GetJointPhase() const { return _joint_phase; }
        const C2DObject& GetBolt() const { return _bolt; }

    private:
        int _cell;
        C2DObject _bolt;
        C2DObject _joint;
        CCountdown _bolt_countdown;
        CCountdown _joint_countdown;
        int _wait = 0;
        int _life = 0;
        int _bolt_phase = kUnset;
        int _joint_phase = kUnset;
        IBonusDataSource* _data_source;
    };

    CLightningBonus() : CBaseBonusImpl("Lightning", kType) {}

    bool Activate(int cell) override;
    void Update() override;
    void Draw() override;
    void SetIntensive(bool intensive) override { _intensive = intensive; }
    void LoadConfig(const CXMLNode& node) override;

    // The draws of targets and timings (the program's generator by default).
    void SetRandom(BonusRandom random) { _random = std::move(random); }
    const std::vector<std::shared_ptr<CTarget>>& GetTargets() const { return _targets; }

private:
    void ChooseTargets();
    // Moves `count` cells drawn at random from `candidates` into the targets.
    void DrawTargets(std::vector<int>& candidates, int count);
    int DrawInRange(const Range& range);

    std::vector<std::shared_ptr<CTarget>> _targets;
    Picture _joint;
    Picture _lightning;
    Range _wait {0, 20};
    Range _life {10, 30};
    int _wait_offset = 0;
    int _cell = 0;
    bool _intensive = false;
    KillCounts _default_counts;
    KillCounts _intensive_counts;
    BonusRandom _random = DefaultBonusRandom();
    std::vector<int> _puzzle_candidates, _plain_candidates;
};
