#pragma once
// The fixture of the tests that play or draw the shipped levels: the shipped
// data tree with the field's globals, the particle-effect library the field's
// effects play from, and the progress bar kinds of the goal's bar. The
// artefacts live for the program's run; at the end they are cleared as when
// the game scene is left, and the pictures of the artefacts that have been
// active stay with them.
#include <string>
#include <vector>

#include "field/balls_test_support.h"
#include "field/field_globals.h"
#include "field/glove.h"
#include "graphics/plume.h"
#include "graphics/texture_manager.h"
#include "gui/menu_progress_bar.h"
#include "level_tool.h"

namespace levels_test {

class LevelsTest : public field_test::ShippedDataTest {
protected:
    void SetUp() override {
        ShippedDataTest::SetUp();
        ASSERT_TRUE(effects_.LoadLibrary("Textures\\Plume\\Effects.plume"));
        CMenuProgressBar::LoadProgressBarKinds();
        std::vector<std::string> errors;
        ASSERT_TRUE(leveltool::CLevelTool::Check(VOVARO_DATA_DIR, episodes_, errors)) << errors[0];
    }
    void TearDown() override {
        CGlove::Instance().Clear();
        ShutdownFieldGlobals();
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        textures_before_ = CTextureManager::Instance().GetCount();
        ShippedDataTest::TearDown();
    }

    CPlume effects_;
    // The shipped designs, in episode order.
    std::vector<leveltool::EpisodeDesign> episodes_;
};

}  // namespace levels_test
