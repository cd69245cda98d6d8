#pragma once
// A stand-in for the game field as its helpers and bonuses see it
// (IBonusDataSource): it holds real field flags, hands out the balls field a
// test gives it (and the tiles field, none by default), answers IsVovaroCell
// from a set of inactive cells (every valid cell is active by default) and
// records every call that would act on the field. With `act_on_balls` a kill
// or a hit also puts the ball into the dying or dead state, as the field would.
#include <set>
#include <string>
#include <vector>

#include "field/balls_field.h"
#include "field/bonus_data_source.h"
#include "field/field_flags.h"
#include "field/level_cfg.h"

namespace field_test {

class FakeBonusDataSource : public IBonusDataSource {
public:
    struct Score {
        float x, y;
        int points;
        std::string label;
        int flag;
    };

    void SetBallState(int cell, int state) override {
        set_states.push_back({cell, state});
        if (balls) balls->SetBallState(cell, state);
    }
    bool GetBallState(int cell, int& state) override { return balls && balls->GetBallState(cell, state); }
    void RestartRowsFallCountdown(int value) override { rows_pauses.push_back(value); }
    int GetBallBonusType(int cell) override {
        return balls && !balls->IsCellEmpty(cell) ? balls->GetBonusType(cell) : 0;
    }
    void AddBonus(int type, int cell) override { bonuses.push_back({type, cell}); }
    bool IsVovaroCell(int cell) override { return g_LevelCFG->IsValidCell(cell) && !inactive.count(cell); }
    void KillBall(int cell, int state) override {
        kills.push_back({cell, state});
        Act(cell, state);
    }
    void HitCell(int cell, int kind) override {
        hits.push_back({cell, kind});
        Act(cell, kind);
    }
    void AddScoreAtPos(float x, float y, int points, const char* label, int flag) override {
        scores.push_back({x, y, points, label ? label : "", flag});
    }
    void ScaleOutBall(int cell) override {
        if (balls) balls->ScaleOutBall(cell);
    }
    bool IsAnyBallBusy() override { return balls && balls->IsAnyBallBusy(); }
    void SetFreeBirdsState(bool flag) override { free_birds_states.push_back(flag); }
    CBallsField* GetBallsField() override { return balls; }
    CTilesField* GetTilesField() override { return tiles; }
    CFieldFlags* GetFieldFlags() override { return &flags; }

    struct CellValue {
        int cell, value;
        bool operator==(const CellValue&) const = default;
    };

    CBallsField* balls = nullptr;
    CTilesField* tiles = nullptr;
    bool act_on_balls = false;
    CFieldFlags flags;
    std::set<int> inactive;
    std::vector<CellValue> set_states, bonuses, kills, hits;
    std::vector<int> rows_pauses;
    std::vector<Score> scores;
    std::vector<bool> free_birds_states;

private:
    void Act(int cell, int state) {
        if (act_on_balls && balls && g_LevelCFG->IsValidCell(cell) && !balls->IsCellEmpty(cell))
            balls->SetBallState(cell, state);
    }
};

}  // namespace field_test
