#pragma once
// A field for the birds and the salute to live in: balls by cell with their
// states, the active cells, the generators with their delays, the level-end
// stage, the field flags, and every score it was asked to award.
#include <map>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "field/birds_owner.h"
#include "field/field_flags.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"

namespace field_test {

class FakeBirdsField : public IBirdsOwner {
public:
    struct Score {
        float x, y;
        int points;
        std::string label;
        int flag;
    };

    // Ball states by cell (absent: an empty cell).
    std::map<int, int> balls;
    // Cells of the playing field; empty means every valid cell.
    std::set<int> active;
    std::vector<std::pair<int, int>> generators;  // (cell, delay) in level order
    int stage = 0;
    std::vector<Score> scores;
    std::vector<bool> slow_downs;
    CFieldFlags flags;
    int cell_count = 0;  // for IsVovaroCell

    void SetBallState(int cell, int state) override { balls[cell] = state; }
    bool GetBallState(int cell, int& state) override {
        auto it = balls.find(cell);
        if (it == balls.end()) return false;
        state = it->second;
        return true;
    }
    void RestartRowsFallCountdown(int) override {}
    int GetBallBonusType(int) override { return 0; }
    void AddBonus(int, int) override {}
    bool IsVovaroCell(int cell) override {
        if (cell < 0 || cell >= cell_count) return false;
        return active.empty() || active.count(cell) != 0;
    }
    void KillBall(int cell, int) override { balls.erase(cell); }
    void HitCell(int, int) override {}
    void AddScoreAtPos(float x, float y, int points, const char* label, int flag) override {
        scores.push_back({x, y, points, label ? label : "", flag});
    }
    void ScaleOutBall(int) override {}
    bool IsAnyBallBusy() override { return false; }
    void SetFreeBirdsState(bool flag) override { slow_downs.push_back(flag); }
    CBallsField* GetBallsField() override { return nullptr; }
    CTilesField* GetTilesField() override { return nullptr; }
    CFieldFlags* GetFieldFlags() override { return &flags; }

    void GetGeneratorCells(std::vector<int>& cells) override {
        for (const auto& [cell, delay] : generators) cells.push_back(cell);
    }
    void GetGeneratorCellsWithDelay(std::vector<int>& cells, int delay) override {
        for (const auto& [cell, d] : generators)
            if (static_cast<unsigned>(d) >= static_cast<unsigned>(delay)) cells.push_back(cell);
    }
    int GetLevelEndStage() override { return stage; }
};

// Tests on a small field of 36-pixel cells at (100, 100) drawn through the
// real core, with a white texture (`texture_`) and "once.xml", an animation
// that plays once over four drawn frames, in the test's scratch folder.
class SmallFieldTest : public gfx_test::CoreTest {
protected:
    void SetUpField(int width, int height) {
        globals_ = std::make_unique<FieldGlobalsScope>();
        globals_->LoadGameConfig(R"(<GameCFG cell_w="36" cell_h="36"/>)");
        globals_->LoadLevel("<Level><Config field_width=\"" + std::to_string(width) + "\" field_height=\"" +
                            std::to_string(height) + "\" field_pos_x=\"100\" field_pos_y=\"100\"/></Level>");
        texture_ = TextureFile("white.tga", gfx_test::SolidTga(8, 8, 0xFFFFFFFF));
        data_test::WriteBytes("once.xml", R"(<Animation speed="2" animate_once="1" start_frame="0">
            <Frame tex_rect="0 0 8 8"/><Frame tex_rect="0 0 8 8"/></Animation>)");
        field_.cell_count = width * height;
    }
    // Whatever holds sprites is freed by the derived TearDown first.
    void TearDown() override {
        globals_.reset();
        CoreTest::TearDown();
    }

    std::unique_ptr<FieldGlobalsScope> globals_;
    FakeBirdsField field_;
    std::string texture_;
};

}  // namespace field_test
