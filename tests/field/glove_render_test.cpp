// The artefact panel and the trophy room drawn through the real render
// device: lit cells show the coloured picture where the grey one stood, a
// fragment in flight is drawn beside the field, and the trophy room draws its
// visible trophies only and turns its page to the trophy under the mouse.
// The frames are saved to the pictures' folder "glove" (in the test's
// temporary folder, or under VOVARO_SHOTS_DIR to keep them).
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "field/flying_fragment.h"
#include "graphics/font_keeper.h"
#include "graphics/texture_manager.h"
#include "glove_test_support.h"
#include "gui/gui_test_support.h"
#include "shot_png.h"

namespace {

using field_test::GloveTest;

class GloveRenderTest : public GloveTest {
protected:
    void SetUp() override {
        GloveTest::SetUp();
        // The labels of the room's pages, in the first language; its font
        // pages stay loaded for the run.
        const size_t before = CTextureManager::Instance().GetCount();
        CFontKeeper::Instance().SelectLanguage(0);
        textures_before_ += CTextureManager::Instance().GetCount() - before;
    }
    std::vector<uint32_t> Draw(const std::function<void()>& draw) {
        BeginDraw();
        draw();
        return ReadBack();
    }
    // How many pixels of the rectangle differ between two frames by more
    // than a faint shade in some channel.
    int Changed(const std::vector<uint32_t>& a, const std::vector<uint32_t>& b, int x0, int y0, int w, int h) const {
        int changed = 0;
        for (int y = y0; y < y0 + h; ++y)
            for (int x = x0; x < x0 + w; ++x) {
                const uint32_t p = At(a, x, y), q = At(b, x, y);
                for (int shift : {0, 8, 16})
                    if (std::abs(static_cast<int>((p >> shift) & 0xFF) - static_cast<int>((q >> shift) & 0xFF)) > 24) {
                        ++changed;
                        break;
                    }
            }
        return changed;
    }
    int Lit(const std::vector<uint32_t>& px, int x0, int y0, int w, int h) const {
        const std::vector<uint32_t> black(px.size(), 0xFF000000);
        return Changed(px, black, x0, y0, w, h);
    }
    void Save(const std::vector<uint32_t>& px, const std::string& name) {
        test_shots::SaveFramePng(px, width_, static_cast<uint32_t>(px.size() / width_), test_shots::ShotsDir("glove") / name);
    }
};

TEST_F(GloveRenderTest, PanelShowsLitCellsInColourAndAFragmentInFlight) {
    glove_->SetActiveArtefact(0);
    Restore(0, 0);
    const std::vector<uint32_t> grey = Draw([&] { glove_->Render(); });
    Restore(0, 4);
    glove_->FlyFragmentToArtefact(TakeFragment());
    // Down and to the left, then along the row past the field's left edge.
    for (int i = 0; i < 1000 && glove_->GetFlyingFragments().front()->GetPosition().x >= 90; ++i)
        glove_->UpdateFlyingFragments();
    const CVector2 flight = glove_->GetFlyingFragments().front()->GetPosition();
    const std::vector<uint32_t> lit = Draw([&] {
        glove_->Render();
        glove_->RenderFlyingFragments();
    });
    Save(lit, "artefact_panel.png");

    const ArtefactDesc& desc = glove_->GetDesc(0);
    auto cell_rect = [&](int i, auto check) {
        const ArtefactCellDesc& cell = desc.cells[static_cast<size_t>(i)];
        return check(static_cast<int>(desc.pos.x + cell.offset.x), static_cast<int>(desc.pos.y + cell.offset.y),
                     cell.graphics.width, cell.graphics.height);
    };
    // The four lit cells show colour where the grey picture was; the others stay grey.
    int lit_pixels = 0;
    for (int i = 0; i < 4; ++i)
        lit_pixels += cell_rect(i, [&](int x, int y, int w, int h) { return Changed(grey, lit, x, y, w, h); });
    EXPECT_GT(lit_pixels, 4 * 36 * 36 / 4);
    for (int i = 5; i < 10; ++i)
        EXPECT_EQ(cell_rect(i, [&](int x, int y, int w, int h) { return Changed(grey, lit, x, y, w, h); }), 0) << i;
    // The panel itself is drawn around the artefact.
    EXPECT_GT(Lit(grey, static_cast<int>(desc.pos.x) - 6, static_cast<int>(desc.pos.y) + 60, 4, 4), 0);

    // The fragment flies along its row left of the field, on the black screen.
    EXPECT_LT(flight.x, 100.0f);
    EXPECT_GT(Lit(lit, static_cast<int>(flight.x) + 4, static_cast<int>(flight.y) + 4, 28, 28), 28 * 28 / 3);
    EXPECT_EQ(Lit(grey, static_cast<int>(flight.x) + 4, static_cast<int>(flight.y) + 4, 28, 28), 0);
}

TEST_F(GloveRenderTest, TrophyRoomDrawsVisibleTrophiesAndThePageOfTheOneUnderTheMouse) {
    for (int id = 0; id < glove_->GetBaseCount(); ++id) glove_->AddTrophy(id);
    glove_->ShowTrophies(2);
    gui_test::CoreDriver::MoveTo(5, 5);
    const std::vector<uint32_t> room = Draw([&] { glove_->RenderTrophyRoom(); });
    Save(room, "trophy_room.png");
    EXPECT_EQ(glove_->GetTrophyPage(), 0u);
    for (int id = 0; id < glove_->GetBaseCount(); ++id) {
        const ArtefactDesc& desc = glove_->GetDesc(id);
        const int lit = Lit(room, static_cast<int>(desc.ico_pos.x), static_cast<int>(desc.ico_pos.y), desc.ico.width,
                            desc.ico.height);
        if (id < 2)
            EXPECT_GT(lit, desc.ico.width * desc.ico.height / 4) << id;
        else
            EXPECT_EQ(lit, 0) << id;
    }

    const ArtefactDesc& second = glove_->GetDesc(1);
    gui_test::CoreDriver::MoveTo(static_cast<int>(second.ico_pos.x) + 10, static_cast<int>(second.ico_pos.y) + 10);
    const std::vector<uint32_t> described = Draw([&] { glove_->RenderTrophyRoom(); });
    EXPECT_EQ(glove_->GetTrophyPage(), static_cast<uint32_t>(second.page));
    // The page's text changes with the page.
    EXPECT_GT(Changed(room, described, 150, 460, 500, 40), 0);
    // A hidden trophy under the mouse turns no page.
    const ArtefactDesc& hidden = glove_->GetDesc(3);
    gui_test::CoreDriver::MoveTo(static_cast<int>(hidden.ico_pos.x) + 10, static_cast<int>(hidden.ico_pos.y) + 10);
    Draw([&] { glove_->RenderTrophyRoom(); });
    EXPECT_EQ(glove_->GetTrophyPage(), 0u);
}

}  // namespace
