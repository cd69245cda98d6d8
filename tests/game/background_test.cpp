// Level backgrounds on a small catalogue of our own: the description's
// defaults and number-only booleans, the debug start frame, the split at
// top_layer, entry at activates_at, cycles, alpha ping-pong, mirrored and
// turned tiles, bad references, and bounds without area.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "engine/data_test_support.h"
#include "field/level_limits.h"
#include "game/background.h"
#include "hud_test_support.h"
#include "profiles/app_params.h"

namespace {

class BackgroundTest : public hud_test::HudTest {
protected:
    void SetUp() override {
        HudTest::SetUp();
        if (HasFatalFailure()) return;
        UseScratch();
        const std::string tex = SolidTexture("tile.tga", 32, 32);
        // Group 0: a 10x10 tile, a 20x40 tile turned by 30 degrees. Group 1: one object.
        data_test::WriteBytes("Settings/TileBase.xml",
                              "<TileBase><Group>"
                              "<Object><graphics texture='" + tex + "' width='10' height='10' tex_rect='0 0 16 16'/></Object>"
                              "<Object angle='30'><graphics texture='" + tex + "' width='20' height='40' tex_rect='2 4 30 28' color='80FF0000'/></Object>"
                              "</Group><Group>"
                              "<Object><graphics texture='" + tex + "' width='8' height='8' tex_rect='0 0 8 8'/></Object>"
                              "</Group></TileBase>");
    }
    CBackgroundDesc Parse(const std::string& xml) {
        CBackgroundDesc desc;
        EXPECT_TRUE(PARSERS::ParseBackground(Node(xml, "/Background"), desc));
        return desc;
    }
    // One layer of one tile in 100x100 bounds.
    CBackgroundDesc OneTile(const std::string& layer_attrs, const std::string& tile_attrs) {
        return Parse("<Background bounds_rect='0,0,100,100'><Layer " + layer_attrs + "><Tile " + tile_attrs +
                     "/></Layer></Background>");
    }
    static const CBackgroundTile& Tile(const CBackground& bg, size_t layer = 0, size_t tile = 0) {
        const auto& layers = bg.GetHighLayers().empty() ? bg.GetLowLayers() : bg.GetHighLayers();
        return layers[layer]->GetTile(tile);
    }
    void Render(CBackground& bg, uint32_t frame) {
        Frame([&] {
            bg.RenderLow(1, frame);
            bg.RenderHigh(1, frame);
        });
    }
};

TEST_F(BackgroundTest, DescriptionDefaultsAndNumberBooleans) {
    const CBackgroundDesc desc = Parse(
        "<Background><Layer is_static='true' speed='1.5'><Tile/>"
        "<Tile group_id='1' id='2' pos_x='5' pos_y='6' activates_at='7' cycles='3' angle='45' rotate_speed='2'"
        " width='12.7' height='9' flip_x='1' flip_y='0' color='80FF0000' alpha_min='100' alpha_max='200' alpha_speed='5'/>"
        "</Layer><Layer scroll_vertically='0' is_static='1'/></Background>");
    EXPECT_EQ(desc.top_layer, CBackgroundDesc::kNoTopLayer);
    EXPECT_EQ(desc.bounds_rect, CFloatRect(0, 0, 800, 600));
    ASSERT_EQ(desc.layers.size(), 2u);
    const CBackgroundLayerDesc& first = desc.layers[0];
    EXPECT_EQ(first.is_static, 0);  // "true" reads as 0
    EXPECT_EQ(first.horizontal, 0u);
    EXPECT_FLOAT_EQ(first.speed, 1.5f);
    EXPECT_EQ(desc.layers[1].is_static, 1);
    EXPECT_EQ(desc.layers[1].horizontal, 1u);

    ASSERT_EQ(first.tiles.size(), 2u);
    const CBackgroundTileDesc& d = first.tiles[0];
    EXPECT_EQ(d.cycles, 9999);
    EXPECT_EQ(d.width, CBackgroundTileDesc::kKeepSize);
    EXPECT_EQ(d.angle, CBackgroundTileDesc::kKeepAngle);
    EXPECT_EQ(d.color, CBackgroundTileDesc::kKeepColor);
    EXPECT_EQ(d.alpha_min, 255.0f);
    EXPECT_EQ(d.alpha_max, 255.0f);
    const CBackgroundTileDesc& t = first.tiles[1];
    EXPECT_EQ(std::make_pair(t.group_id, t.id), std::make_pair(1, 2));
    EXPECT_EQ(std::make_pair(t.pos_x, t.pos_y), std::make_pair(5, 6));
    EXPECT_EQ(t.activates_at, 7);
    EXPECT_EQ(t.cycles, 3);
    EXPECT_EQ(t.width, 12);
    EXPECT_EQ(t.flip_x, 1);
    EXPECT_EQ(t.color, 0x80FF0000u);
    EXPECT_EQ(t.alpha_speed, 5.0f);
}

TEST_F(BackgroundTest, DebugStartFrameLeavesOutTilesWhoseRunIsOver) {
    const std::string xml = "<Background><Layer speed='2'><Tile cycles='1' activates_at='100'/>"
                            "<Tile cycles='3' activates_at='100'/></Layer></Background>";
    EXPECT_EQ(Parse(xml).layers[0].tiles.size(), 2u);
    // Frame 900: the first tile's run (100 + 0 x 600, plus 350 frames to cross) is over.
    const CAppParams saved = g_AppParams;
    g_AppParams.keys = 1;
    g_AppParams.third_number = 900;
    const size_t kept = Parse(xml).layers[0].tiles.size();
    g_AppParams.keys = 0;  // without the "keys" setting the number is not used
    const size_t without_keys = Parse(xml).layers[0].tiles.size();
    g_AppParams = saved;
    EXPECT_EQ(kept, 1u);
    EXPECT_EQ(without_keys, 2u);
}

TEST_F(BackgroundTest, TopLayerSplitsLowFromHigh) {
    const std::string layers = "<Layer is_static='1'><Tile/></Layer><Layer is_static='1'><Tile/></Layer>"
                               "<Layer is_static='1'><Tile/></Layer>";
    CBackground all_high;
    EXPECT_TRUE(all_high.Load(Parse("<Background>" + layers + "</Background>"), 0));
    EXPECT_EQ(all_high.GetLowLayers().size(), 0u);
    EXPECT_EQ(all_high.GetHighLayers().size(), 3u);
    CBackground split;
    split.Load(Parse("<Background top_layer='1'>" + layers + "</Background>"), 0);
    EXPECT_EQ(split.GetLowLayers().size(), 1u);
    EXPECT_EQ(split.GetHighLayers().size(), 2u);
}

TEST_F(BackgroundTest, TileWaitsForItsFrame) {
    CBackground bg;
    bg.Load(OneTile("speed='5'", "pos_x='40' activates_at='300'"), 0);
    const CBackgroundTile& tile = Tile(bg);
    EXPECT_FALSE(tile.IsActive());
    EXPECT_FLOAT_EQ(tile.GetSprite()->GetTop(), -10.0f);  // above the bounds by its size
    EXPECT_FLOAT_EQ(tile.GetSprite()->GetLeft(), 40.0f);
    // Render frame 0 again and again (the menu's way): it never starts.
    for (int i = 0; i < 5; ++i) Render(bg, 0);
    EXPECT_FALSE(tile.IsActive());
    Render(bg, 299);
    EXPECT_FALSE(tile.IsActive());
    Render(bg, 300);
    EXPECT_TRUE(tile.IsActive());
    EXPECT_FLOAT_EQ(tile.GetSprite()->GetTop(), -5.0f);
}

TEST_F(BackgroundTest, CyclesWrapThenFinish) {
    struct Case {
        const char* cycles;
        int wraps;
        int updates;  // until finished, counting Load's own step
    };
    // 10x10 tile from y = -10 at 5 per update in 100 high bounds: it crosses
    // the bottom edge from y 95 and is gone past 110; each wrap takes it back
    // up by the bounds' height when it reaches 110.
    for (const Case c : {Case {"1", 0, 25}, Case {"3", 2, 65}}) {
        CBackground bg;
        bg.Load(OneTile("speed='5'", std::string("cycles='") + c.cycles + "'"), 0);
        const CBackgroundTile& tile = Tile(bg);
        int updates = 1, wraps = 0;
        int32_t cycles_left = tile.GetCyclesLeft();
        while (!tile.IsFinished() && updates < 500) {
            Render(bg, static_cast<uint32_t>(updates));
            ++updates;
            if (tile.GetCyclesLeft() != cycles_left) {
                ++wraps;
                cycles_left = tile.GetCyclesLeft();
                EXPECT_FLOAT_EQ(tile.GetSprite()->GetTop(), 10.0f) << c.cycles;  // 110 - 100
            }
        }
        EXPECT_EQ(wraps, c.wraps) << c.cycles;
        EXPECT_EQ(updates, c.updates) << c.cycles;
    }
}

TEST_F(BackgroundTest, AlphaPingPongsPastItsLimitsByOneStep) {
    CBackground bg;
    bg.Load(OneTile("is_static='1'", "alpha_min='100' alpha_max='255' alpha_speed='10'"), 0);
    const CBackgroundTile& tile = Tile(bg);
    std::vector<int> seen {tile.GetSprite()->GetAlpha(0)};  // set by Load's step
    for (int i = 0; i < 20; ++i) {
        Render(bg, 0);
        seen.push_back(tile.GetSprite()->GetAlpha(0));
    }
    const std::vector<int> expected {255, 245, 235, 225, 215, 205, 195, 185, 175, 165, 155,
                                     145, 135, 125, 115, 105, 95,  105, 115, 125, 135};
    EXPECT_EQ(seen, expected);
}

TEST_F(BackgroundTest, OverridesMirrorAndTurnTiles) {
    CBackground bg;
    bg.Load(Parse("<Background><Layer is_static='1'>"
                  "<Tile id='1' flip_x='1' flip_y='1' rotate_speed='5'/>"
                  "<Tile id='1' angle='90' width='6' height='7' color='FF00FF00'/>"
                  "</Layer></Background>"),
            0);
    const CBackgroundTile& mirrored = Tile(bg, 0, 0);
    EXPECT_EQ(mirrored.GetGraphics().tex_rect, CFloatRect(30, 28, 2, 4));
    EXPECT_FLOAT_EQ(mirrored.GetSprite()->GetAngle(), 30.0f);  // the catalogue's angle
    Render(bg, 0);
    EXPECT_FLOAT_EQ(mirrored.GetSprite()->GetAngle(), 35.0f);
    EXPECT_EQ(mirrored.GetSprite()->GetAlpha(0), 0x80);  // the colour's alpha

    const CBackgroundTile& turned = Tile(bg, 0, 1);
    EXPECT_FLOAT_EQ(turned.GetSprite()->GetAngle(), 90.0f);
    EXPECT_FLOAT_EQ(turned.GetSprite()->GetWidth(), 6.0f);
    EXPECT_EQ(turned.GetSprite()->GetColor(0), 0xFF00FF00u);
}

TEST_F(BackgroundTest, BadReferencesAreLoggedAndLeftOut) {
    CBackground bg;
    bg.Load(Parse("<Background><Layer is_static='1'><Tile group_id='2'/><Tile group_id='1' id='1'/><Tile/>"
                  "</Layer></Background>"),
            0);
    EXPECT_EQ(bg.GetHighLayers()[0]->GetTileCount(), 1u);
    const std::string log = NewLog();
    EXPECT_NE(log.find("ERROR: Background Tile group_id=2 Doesn't exist!"), std::string::npos);
    EXPECT_NE(log.find("ERROR: Background Tile group_id=1 and id=1 Doesn't exist!"), std::string::npos);

    std::filesystem::remove("Settings/TileBase.xml");
    EXPECT_FALSE(bg.Load(Parse("<Background><Layer><Tile/></Layer></Background>"), 0));
    EXPECT_TRUE(bg.GetHighLayers().empty());
    Render(bg, 0);  // nothing to draw
}

TEST_F(BackgroundTest, LateTileShiftsAheadUnlessTheBoundsHaveNoArea) {
    // Started at frame 40, a tile due at 20 has been moving for 20 updates.
    CBackground late;
    late.Load(OneTile("speed='2'", "activates_at='20'"), 40);
    EXPECT_TRUE(Tile(late).IsActive());
    EXPECT_FLOAT_EQ(Tile(late).GetSprite()->GetTop(), 0.0f + 40.0f - 10.0f + 2.0f);  // shifted, then Load's step

    CBackground flat;
    flat.Load(Parse("<Background bounds_rect='0 0 100 0'><Layer speed='2'><Tile activates_at='20'/></Layer></Background>"),
              40);
    EXPECT_NE(NewLog().find("have no area"), std::string::npos);
    const CBackgroundTile& tile = Tile(flat);
    EXPECT_EQ(tile.GetCyclesLeft(), 9998);
    EXPECT_FLOAT_EQ(tile.GetSprite()->GetTop(), -10.0f + 2.0f);  // from the top, not shifted
    Render(flat, 41);
}

// Every layer and tile is moved and drawn in every frame: a background keeps
// at most the limits' layers and tiles. A speed that is not finite stands
// still, and a size no integer holds keeps the object's own.
TEST_F(BackgroundTest, ACrowdedOrBrokenBackgroundIsCappedAndMended) {
    // The first tile's run was over before the game began: it counts, but is left out.
    std::string xml = "<Background bounds_rect='0,0,100,100'><Layer speed='nan'><Tile cycles='-2147483648'/>";
    for (int i = 0; i < 20000; ++i) xml += "<Tile width='nan' height='1e30'/>";
    xml += "</Layer>";
    for (int i = 0; i < 40; ++i) xml += "<Layer speed='inf'><Tile/></Layer>";
    const CBackgroundDesc desc = Parse(xml + "</Background>");
    ASSERT_EQ(desc.layers.size(), static_cast<size_t>(level_limits::kMaxBackgroundLayers));
    size_t tiles = 0;
    for (const CBackgroundLayerDesc& layer : desc.layers) {
        tiles += layer.tiles.size();
        EXPECT_EQ(layer.speed, 0.0f);
    }
    EXPECT_EQ(tiles, static_cast<size_t>(level_limits::kMaxBackgroundTiles - 1));
    ASSERT_FALSE(desc.layers[0].tiles.empty());
    EXPECT_EQ(desc.layers[0].tiles[0].width, CBackgroundTileDesc::kKeepSize);
    EXPECT_EQ(desc.layers[0].tiles[0].height, CBackgroundTileDesc::kKeepSize);
    const std::string log = NewLog();
    EXPECT_NE(log.find("Error: the background has 41 layers; the first 32 are kept."), std::string::npos) << log;
    EXPECT_NE(log.find("Error: the background has more than 256 tiles; 19776 are left out."), std::string::npos) << log;
    EXPECT_NE(log.find("Error: a background layer's speed nan is not finite; the layer stands still."),
              std::string::npos)
        << log;

    CBackground bg;
    EXPECT_TRUE(bg.Load(desc, 0));
    Render(bg, 1);
    size_t built = 0;
    for (const auto& layer : bg.GetHighLayers()) built += layer->GetTileCount();
    EXPECT_EQ(built, static_cast<size_t>(level_limits::kMaxBackgroundTiles - 1));
}

}  // namespace
