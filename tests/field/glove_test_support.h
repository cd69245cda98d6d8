#pragma once
// The shipped data tree with a glove of its own (Settings\Artefact.xml), the
// explosions recorded, and a 4 x 4 field at (100, 100) whose balls field
// holds a fragment ball (kind 21) at column 3, row 2 (levels/score_level.xml).
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "balls_test_support.h"
#include "field/ball.h"
#include "field/balls_field.h"
#include "field/field_flags.h"
#include "field/glove.h"
#include "field/level_cfg.h"
#include "gui/sample_queue.h"

namespace field_test {

inline std::string ReadTestLevel(const std::string& name) {
    std::ifstream in(std::string(VOVARO_SOURCE_DIR) + "/tests/field/levels/" + name);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

class GloveTest : public ShippedDataTest {
protected:
    static constexpr int kFragmentCell = 11;  // column 3, row 2

    void SetUp() override {
        ShippedDataTest::SetUp();
        sounds_ = &InstallRecordingSoundKeeper();
        sounds_->Reset();
        explosions_ = std::make_unique<ScopedExplosionRecorder>();
        const CXMLNode level = XmlNode(ReadTestLevel("score_level.xml"), "/Level");
        g_LevelCFG->LoadLevelFieldConfig(level);
        balls_ = std::make_unique<CBallsField>(&flags_);
        balls_->LoadConfig(level);
        balls_->PrepareLevel();
        glove_ = std::make_unique<CGlove>(CGlove::kFileName);
        g_SampleQueue.Clear();
    }
    void TearDown() override {
        glove_.reset();
        balls_.reset();
        explosions_.reset();
        g_SampleQueue.Clear();
        ShippedDataTest::TearDown();
    }

    // A fragment ball of the active artefact, taken out of `cell`.
    std::shared_ptr<CBall> TakeFragment(int cell = kFragmentCell) {
        if (balls_->IsCellEmpty(cell)) {
            balls_->CreateBall(cell, glove_->NextFragmentGraphType());
            balls_->SetBallState(cell, bsDEFAULT);
        }
        return balls_->DetachBall(cell);
    }
    // Restores the active artefact `base_id` with `fragments` placed.
    void Restore(int base_id, int fragments, bool show = true) {
        ASSERT_TRUE(glove_->Deserialize(XmlNode("<S><Artefact active_artefact=\"" + std::to_string(base_id) +
                                                "\" fragment=\"" + std::to_string(fragments) + "\" show=\"" +
                                                (show ? "1" : "0") + "\"/></S>")));
    }
    // Frames of the game scene (update, draw) until `done`; false when it never held.
    bool RunUntil(const std::function<bool()>& done, int limit = 2000) {
        for (int i = 0; i < limit; ++i) {
            if (done()) return true;
            Frame();
            // Recorded effects never end by themselves: each lasts one frame.
            Recorder().running.clear();
        }
        return done();
    }

    // One frame of the game scene's calls.
    void Frame() {
        NextFrame();
        glove_->Update();
        glove_->UpdateFlyingFragments();
        glove_->Render();
        glove_->RenderFlyingFragments();
    }
    RecordingExplosionManager& Recorder() { return **explosions_; }
    bool Queued(const std::string& alias) const { return g_SampleQueue.GetAliases().count(alias) != 0; }

    RecordingSoundKeeper* sounds_ = nullptr;
    CFieldFlags flags_;
    std::unique_ptr<ScopedExplosionRecorder> explosions_;
    std::unique_ptr<CBallsField> balls_;
    std::unique_ptr<CGlove> glove_;
};

}  // namespace field_test
