#pragma once
// The game field's tests share these: stand-ins for the praise, the tool
// carriers and the bonus list that record what the field hands them, the
// fixture levels under tests/field/levels, and a fixture that builds a field
// on the shipped data with a fake game scene and recorded explosions.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "balls_test_support.h"
#include "fake_game_scene_link.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/field_bonus_list.h"
#include "field/field_praise.h"
#include "field/game_field.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"
#include "field/tool_carriers.h"
#include "gui/menu_progress_bar.h"

namespace field_test {

struct FakePraise : IFieldPraise {
    struct Popup {
        float x, y;
        int points;
        std::string label;
        int flag;
    };
    void ShowScore(float x, float y, int points, const char* label, int flag) override {
        popups.push_back({x, y, points, label, flag});
    }
    void Clear() override { popups.clear(); }
    void Render() override {}
    std::vector<Popup> popups;
};

struct FakeCarriers : IToolCarriers {
    void Send(int tool, int amount, const CVector2&, const CVector2&) override { sent.push_back({tool, amount}); }
    bool IsIdle() const override { return idle; }
    void Update() override {}
    void Render() override {}
    void Reset() override { sent.clear(); }
    void StopEmitters() override {}
    std::vector<std::pair<int, int>> sent;
    bool idle = true;
};

// Records the bonuses started; a bonus stays active until finished or
// cleared, or, with `lasting` off, ends at once.
struct FakeBonusList : IFieldBonusList {
    struct Started {
        int type, cell;
        bool intensive;
        bool operator==(const Started&) const = default;
    };
    bool AddBonus(int type, int cell, bool intensive) override {
        started.push_back({type, cell, intensive});
        if (lasting) active.push_back(type);
        return true;
    }
    bool IsBonusActive(int type) const override { return std::count(active.begin(), active.end(), type) != 0; }
    void FinishBonus(int type) override { std::erase(active, type); }
    void Update() override {}
    void Draw() override {}
    void Clear() override {
        active.clear();
        ++clears;
    }
    std::vector<Started> started;
    std::vector<int> active;
    int clears = 0;
    bool lasting = true;
};

inline std::string LevelPath(const std::string& name) {
    return std::string(VOVARO_SOURCE_DIR) + "/tests/field/levels/" + name;
}

inline std::string ReadLevel(const std::string& name) {
    std::ifstream in(LevelPath(name));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// A field on the shipped data with its stand-ins plugged in; no level yet.
class GameFieldFixture : public ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        CMenuProgressBar::LoadProgressBarKinds();
        scene_ = std::make_unique<FakeGameSceneLink>();
        explosions_ = std::make_unique<ScopedExplosionRecorder>();
        field_ = std::make_unique<CGameField>();
        field_->SetPraise(&praise_);
        field_->SetToolCarriers(&carriers_);
        field_->SetBonusList(&bonuses_);
    }
    void TearDown() override {
        field_.reset();
        explosions_.reset();
        scene_.reset();
        ShippedDataTest::TearDown();
    }
    // Loads the level's configuration and builds its tiles, without the
    // set-up: the level's own balls stand as the file places them.
    void LoadBoard(const std::string& name) {
        const std::string level = ReadLevel(name);
        ASSERT_TRUE(field_->LoadConfig(XmlNode(level, "/Level")));
        PutLevelFragments(Balls(), XmlNode(level, "/Level"));
        field_->GetTilesField()->Build();
        field_->GetTilesField()->FinishAppear();
    }
    CBallsField& Balls() { return *field_->GetBallsField(); }
    CVector2 Centre(int cell) {
        CVector2 c;
        g_LevelCFG->CellCenterToScr(cell, c.x, c.y);
        return c;
    }
    int TypeAt(int cell) { return Balls().IsCellEmpty(cell) ? 0 : Balls().GetBall(cell).graph_type; }

    std::unique_ptr<FakeGameSceneLink> scene_;
    std::unique_ptr<ScopedExplosionRecorder> explosions_;
    FakePraise praise_;
    FakeCarriers carriers_;
    FakeBonusList bonuses_;
    std::unique_ptr<CGameField> field_;
};

}  // namespace field_test
