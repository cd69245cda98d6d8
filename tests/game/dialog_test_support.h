#pragma once
// Shared by the tests of the game scene's dialogs, banners and hints: the game
// helpers' fixture with the current language, the shipped control kinds, the
// nodes of the shipped "Settings\Dialogs.xml", input injected through the
// core's window, whole frames through the core, the read-back frame and
// screenshots of it for a look by eye.
#include <gtest/gtest.h>
#include "shot_png.h"

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/xml_file.h"
#include "game_test_support.h"
#include "hud_test_support.h"
#include "graphics/font_keeper.h"
#include "gui/control_kinds.h"
#include "gui/menu_button.h"
#include "gui/menu_progress_bar.h"
#include "gui/menu_track_bar.h"

namespace game_test {

// The background the dialog tests draw on.
constexpr uint32_t kBackground = 0xFF203048;

class DialogTest : public hud_test::HudTest, public gui_test::CoreDriver {
protected:
    void SetUp() override {
        HudTest::SetUp();
        if (HasFatalFailure()) return;
        // The kinds of the dialogs' further controls, beside the panel's fonts and kinds.
        static const bool ready = [] {
            CMenuButton::LoadButtonKinds();
            CMenuTrackBar::LoadTrackBarKinds();
            CMenuProgressBar::LoadProgressBarKinds();
            return true;
        }();
        ASSERT_TRUE(ready);
        // The fonts and the kinds' skins stay loaded for the whole run.
        textures_before_ = CTextureManager::Instance().GetCount();
        sounds->volume_sets.clear();
        ReleaseInput();
    }
    void TearDown() override {
        ReleaseInput();
        HudTest::TearDown();
    }

    // A node of the shipped dialogs file (the document stays loaded).
    static CXMLNode DialogNode(const std::string& name) {
        static const CXMLFile file(std::string(VOVARO_DATA_DIR) + "/Settings/Dialogs.xml");
        return file.SelectSingleNode("//Dialogs/" + name);
    }

    // Frames on the tests' own background.
    static void Frame(const std::function<void()>& draw = {}) { CoreDriver::Frame(draw, kBackground); }
    static void ReleaseInput() {
        Button(false);
        Key(0x20, false);
        MoveTo(0, 0);
        Frame();
        Frame();
    }

    // The frame last shown.
    std::vector<uint32_t> Shown() { return ReadFrame(&width_); }
    // Pixels of the rectangle [l, r) x [t, b) that pass the test.
    int Count(const std::vector<uint32_t>& px, int l, int t, int r, int b, bool (*test)(uint32_t)) const {
        int n = 0;
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x) n += test(At(px, x, y));
        return n;
    }
    // Writes the frame as a PNG into the shots folder "dialogs" for a look by eye.
    static void Screenshot(const std::vector<uint32_t>& px, const std::string& name) {
        EXPECT_TRUE(test_shots::SaveFramePng(px, 800, static_cast<uint32_t>(px.size() / 800),
                                             test_shots::ShotsDir("dialogs") / (name + ".png")));
    }
};

inline int R(uint32_t c) { return static_cast<int>((c >> 16) & 0xFF); }
inline int G(uint32_t c) { return static_cast<int>((c >> 8) & 0xFF); }
inline int B(uint32_t c) { return static_cast<int>(c & 0xFF); }
// The gold of the panel and button rims.
inline bool IsGold(uint32_t c) { return R(c) > 150 && R(c) > B(c) + 60 && G(c) > B(c); }
// Near-white text.
inline bool IsWhite(uint32_t c) { return R(c) > 220 && G(c) > 220 && B(c) > 220; }
// Anything but the tests' background.
inline bool IsDrawn(uint32_t c) { return (c & 0xFFFFFF) != (kBackground & 0xFFFFFF); }

}  // namespace game_test
