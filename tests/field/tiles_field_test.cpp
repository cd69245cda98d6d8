// The tiles field on small levels: what LoadConfig reads, hits on puzzle
// cells, the last cells' animation, the fire row, the fades, the saved
// layers and the failed checks of the data source.
#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "engine/xml_file.h"
#include "field/graph_obj.h"
#include "field/tiles_field.h"
#include "field/tiles_fire.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"
#include "graphics/object_2d.h"

namespace {

// A Cell node at (x, y) with one Group per tile, in file order.
std::string Cell(int x, int y, std::initializer_list<int> tiles, const std::string& extra = "") {
    std::string xml = "<Cell x=\"" + std::to_string(x) + "\" y=\"" + std::to_string(y) + "\" " + extra + ">";
    for (int tile : tiles) xml += "<Group tile=\"" + std::to_string(tile) + "\"/>";
    return xml + "</Cell>";
}

std::string Level(int width, int height, const std::string& cells) {
    return "<Level><Config field_pos_x=\"100\" field_pos_y=\"50\"><Field field_width=\"" + std::to_string(width) +
           "\" field_height=\"" + std::to_string(height) + "\">" + cells + "</Field></Config></Level>";
}

// The graph type an object was made from (the test base puts it in the
// colour's blue byte).
int TypeOf(const CGraphOBJ* object) {
    return object ? static_cast<int>(object->GetGraphics().layers.at(0).graphics.color & 0xFF) : 0;
}

// The object's sprite is in its batch, so it is drawn.
bool Shown(const CGraphOBJ* object) {
    const C2DObject* sprite = object ? object->GetSprite(0) : nullptr;
    CTexturedRectsList* batch = sprite ? sprite->GetRenderer() : nullptr;
    if (!batch) return false;
    for (int i = 0; i < batch->GetAttachedCount(); ++i)
        if (batch->GetAttached(i) == sprite) return true;
    return false;
}

bool Animating(const CGraphOBJ* object) { return object && object->GetSprite(0)->IsAnimationRunning(); }

class TilesFieldTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        globals_ = std::make_unique<field_test::FieldGlobalsScope>();
        texture_ = TextureFile("tiles.tga", gfx_test::SolidTga(8, 8, 0xFFFFFFFF));
        data_test::WriteBytes("Textures/glint.xml",
                              R"(<Animation speed="2" start_frame="0"><Frame tex_rect="0 0 8 8"/>)"
                              R"(<Frame tex_rect="0 0 4 4"/></Animation>)");
        data_test::WriteBytes("Settings/Bases/common.xml",
                              "<Common><TilesFire><graphics texture=\"" + texture_ +
                                  "\" width=\"10\" height=\"10\" tex_rect=\"0 0 8 8\"/></TilesFire></Common>");
        std::string base = "<Base>";
        for (int type = 1; type <= 9; ++type) {
            char color[9];
            std::snprintf(color, sizeof color, "FF0000%02X", type);
            base += "<GraphObj graph_type=\"" + std::to_string(type) +
                    "\"><State name=\"DEFAULT\"><Layer offset=\"0 0\">" + "<graphics texture=\"" + texture_ +
                    "\" color=\"" + color +
                    "\" tex_rect=\"0 0 8 8\"><animation "
                    "file=\"Textures\\glint.xml\"/></graphics></Layer></State></GraphObj>";
        }
        globals_->LoadTilesBase(base + "</Base>");
        globals_->LoadGameConfig(R"(<GameCFG cell_w="10" cell_h="10"/>)");
    }
    void TearDown() override {
        field_.reset();
        globals_.reset();
        CoreTest::TearDown();
    }

    // A fresh field with the level loaded (not built).
    CTilesField& Load(const std::string& level) {
        globals_->LoadLevel(level);
        field_ = std::make_unique<CTilesField>();
        EXPECT_TRUE(field_->LoadConfig(field_test::XmlNode(level, "/Level/Config")));
        return *field_;
    }
    // Loaded, built and the appearance ended.
    CTilesField& Build(const std::string& level) {
        CTilesField& field = Load(level);
        field.Build();
        field.FinishAppear();
        return field;
    }

    std::unique_ptr<field_test::FieldGlobalsScope> globals_;
    std::unique_ptr<CTilesField> field_;
    std::string texture_;
};

TEST_F(TilesFieldTest, LoadConfigReadsTheCellsOfTheField) {
    CTilesField& field = Load(
        Level(4, 3,
              Cell(0, 0, {1}) +                            // plain tile
                  Cell(1, 0, {5, 6, 7}, "rotate=\"0\"") +  // base 5, layers 7 then 6
                  Cell(2, 0, {1}, "active=\"0\"") +        // off the playing field
                  Cell(3, 0, {1, 2}, "type=\"GENERATOR\" delay=\"40\"") + Cell(9, 2, {1, 2}) +  // outside the field
                  "<Cell x=\"0\" y=\"1\"><Group tile=\"2\" rotate=\"90\"/><Group tile=\"3\"/></Cell>" +
                  Cell(0, 1, {4, 4})));  // the same cell again
    const std::vector<CTileRecord>& records = field.GetRecords();
    ASSERT_EQ(records.size(), 5u);
    const int expected[][4] = {{0, 1, 0, 1}, {1, 1, 0, 5}, {2, 0, 0, 1}, {3, 1, 0, 1}, {4, 1, 90, 2}};
    for (size_t i = 0; i < records.size(); ++i) {
        EXPECT_EQ(records[i].cell, expected[i][0]) << i;
        EXPECT_EQ(records[i].active, expected[i][1] != 0) << i;
        EXPECT_EQ(records[i].rotate, expected[i][2]) << i;
        EXPECT_EQ(records[i].tile, expected[i][3]) << i;
    }
    ASSERT_EQ(field.GetLayeredCells().size(), 2u);
    EXPECT_EQ(field.GetLayeredCells()[0].cell, 1);
    EXPECT_EQ(field.GetLayeredCells()[0].layers, (std::vector<int> {7, 6}));
    EXPECT_EQ(field.GetLayeredCells()[1].cell, 4);
    EXPECT_EQ(field.GetLayeredCells()[1].layers, (std::vector<int> {3}));
    EXPECT_EQ(field.GetTotalLayers(), 3);
    EXPECT_TRUE(field.HasMultiLayerCells());
    ASSERT_EQ(field.GetGenerators().size(), 1u);  // a generator never has layers
    EXPECT_EQ(field.GetGenerators()[0].cell, 3);
    EXPECT_EQ(field.GetGenerators()[0].delay, 40);
    CGenerators generators(nullptr);
    EXPECT_EQ(generators.Load(field.GetGenerators()), 40);
    EXPECT_TRUE(generators.IsGeneratorCell(3));
    EXPECT_FALSE(field.IsActiveCell(0));  // the table is filled by Build
    field.Build();
    EXPECT_TRUE(field.IsActiveCell(0));
    EXPECT_FALSE(field.IsActiveCell(2));
    EXPECT_FALSE(field.IsActiveCell(5));   // no Cell node there
    EXPECT_FALSE(field.IsActiveCell(12));  // outside
    EXPECT_FALSE(field.IsActiveCell(CELL_ERROR));

    const std::string log = NewLog();
    EXPECT_NE(log.find("Error: Invalid cell pos (9; 2)"), std::string::npos) << log;
    EXPECT_NE(log.find("Cell (0; 1) is described twice"), std::string::npos) << log;

    // Only two-Group cells: no multi-layer cell. Without "Field", nothing changes.
    CTilesField& single = Load(Level(2, 1, Cell(0, 0, {1, 2}) + Cell(1, 0, {1, 3})));
    EXPECT_FALSE(single.HasMultiLayerCells());
    EXPECT_EQ(single.GetTotalLayers(), 2);
    EXPECT_FALSE(single.LoadConfig(field_test::XmlNode("<Config/>")));
    EXPECT_EQ(single.GetTotalLayers(), 2);
}

// A damaged level with a thousand copies of one cell and of a cell off the
// field: each message is written a few times, then once with the count.
TEST_F(TilesFieldTest, ManyCopiesOfACellLeaveAFewLogLinesNotOnePerCopy) {
    std::string cells;
    for (int i = 0; i < 1000; ++i) cells += Cell(1, 1, {1}) + Cell(9, 9, {1});
    CTilesField& field = Load(Level(2, 2, cells));
    EXPECT_EQ(field.GetRecords().size(), 1u);
    const std::string log = NewLog();
    // Three lines, and the count line that quotes the first.
    EXPECT_EQ(data_test::CountOf(log, "Cell (1; 1) is described twice"), 4) << log;
    EXPECT_NE(log.find("is kept (and 996 more like it"), std::string::npos) << log;
    EXPECT_EQ(data_test::CountOf(log, "Invalid cell pos (9; 9)"), 4) << log;
    EXPECT_NE(log.find("(9; 9) (and 997 more like it"), std::string::npos) << log;
}

TEST_F(TilesFieldTest, BuildPlacesTurnedTilesAndHidesLayersUntilTheyAppear) {
    CTilesField& field = Load(Level(
        3, 2, Cell(0, 0, {1}) + "<Cell x=\"2\" y=\"1\"><Group tile=\"4\" rotate=\"90\"/><Group tile=\"2\"/></Cell>"));
    field.Build();
    EXPECT_TRUE(field.IsAppearing());
    const CGraphOBJ* tile = field.GetTileObject(5);
    ASSERT_NE(tile, nullptr);
    EXPECT_EQ(TypeOf(tile), 4);
    EXPECT_FLOAT_EQ(tile->GetLeft(), 120);
    EXPECT_FLOAT_EQ(tile->GetTop(), 60);
    EXPECT_FLOAT_EQ(tile->GetWidth(), 10);
    EXPECT_FLOAT_EQ(tile->GetSprite(0)->GetAngle(), 90);
    EXPECT_EQ(tile->GetAlpha(), 0);  // the base fades in
    EXPECT_TRUE(field.IsCellEmpty(1));
    EXPECT_FALSE(field.IsCellEmpty(5));
    ASSERT_TRUE(field.HasCell(5));
    EXPECT_FALSE(Shown(field.GetLayerObject(5)));
    EXPECT_FALSE(Animating(field.GetLayerObject(5)));

    field.FinishAppear();
    EXPECT_FALSE(field.IsAppearing());
    EXPECT_EQ(tile->GetAlpha(), 255);
    EXPECT_TRUE(Shown(field.GetLayerObject(5)));
    EXPECT_EQ(field.GetLayerObject(5)->GetAlpha(), 255);
}

TEST_F(TilesFieldTest, EachHitTakesOneLayer) {
    CTilesField& field = Build(Level(3, 1, Cell(0, 0, {5, 6, 7}) + Cell(1, 0, {1}) + Cell(2, 0, {1, 2})));
    EXPECT_TRUE(field.HasMoreLayers(0));
    EXPECT_FALSE(field.HasMoreLayers(2));
    EXPECT_FALSE(field.HasMoreLayers(1));
    EXPECT_FALSE(field.HasCell(1));

    EXPECT_EQ(TypeOf(field.GetLayerObject(0)), 7);
    EXPECT_EQ(field.DamageTile(0), 1);
    EXPECT_EQ(TypeOf(field.GetLayerObject(0)), 6);
    EXPECT_FALSE(field.HasMoreLayers(0));  // its last layer shows
    EXPECT_EQ(field.DamageTile(0), 1);
    EXPECT_FALSE(field.HasCell(0));
    EXPECT_EQ(TypeOf(field.GetTileObject(0)), 5);  // the base tile stays
    EXPECT_EQ(field.DamageTile(0), 0);
    EXPECT_EQ(field.DamageTile(1), 0);
    EXPECT_EQ(field.DamageTile(CELL_ERROR), 0);
    EXPECT_EQ(field.DamageTile(99), 0);
    // The other puzzle cell is still found after the first one left the list.
    EXPECT_EQ(TypeOf(field.GetLayerObject(2)), 2);
    EXPECT_EQ(field.DamageTile(2), 1);
    EXPECT_TRUE(field.GetVovaroCells().empty());
    EXPECT_EQ(field.GetTotalLayers(), 3);  // the level's goal does not change
}

TEST_F(TilesFieldTest, TheLastSixCellsAnimate) {
    std::string cells;
    for (int x = 0; x < 6; ++x) cells += Cell(x, 0, {1, 2});
    cells += Cell(0, 1, {1, 2, 3});
    CTilesField& field = Build(Level(6, 2, cells));
    field.Update();
    for (int cell : {0, 1, 2, 3, 4, 5, 6}) EXPECT_FALSE(Animating(field.GetLayerObject(cell))) << cell;

    // Seven left, one of them down to its second layer: still nothing.
    field.DamageTile(6);
    field.Update();
    EXPECT_FALSE(Animating(field.GetLayerObject(6)));

    field.DamageTile(0);  // six left
    field.Update();
    for (int cell : {1, 2, 3, 4, 5, 6}) EXPECT_TRUE(Animating(field.GetLayerObject(cell))) << cell;

    // A next layer comes in still, and runs from the next tick.
    field.DamageTile(6);
    EXPECT_FALSE(field.HasCell(6));
    CTilesField& two = Build(Level(2, 1, Cell(0, 0, {1, 2, 3}) + Cell(1, 0, {1, 2})));
    two.Update();
    two.DamageTile(0);
    EXPECT_FALSE(Animating(two.GetLayerObject(0)));
    two.Update();
    EXPECT_TRUE(Animating(two.GetLayerObject(0)));
}

TEST_F(TilesFieldTest, FireBurnsOnTheLowestRowWithAnActiveCell) {
    CTilesField& field = Build(Level(3, 3,
                                     Cell(0, 0, {1}) + Cell(0, 1, {1}) + Cell(1, 1, {1}, "active=\"0\"") +
                                         Cell(2, 1, {1}) + Cell(1, 2, {1}, "active=\"0\"")));
    const CTilesFire& fire = field.GetFire();
    EXPECT_EQ(fire.FindRowStart(), 3);
    ASSERT_EQ(fire.GetCount(), 2u);
    EXPECT_EQ(fire.GetCell(0), 3);
    EXPECT_EQ(fire.GetCell(1), 5);
    EXPECT_FLOAT_EQ(fire.GetSprite(1).GetLeft(), 120);
    EXPECT_FLOAT_EQ(fire.GetSprite(1).GetTop(), 60);
    EXPECT_EQ(fire.GetSprite(1).GetAlpha(0), 255);

    CTilesField& none = Build(Level(2, 2, Cell(0, 0, {1}, "active=\"0\"")));
    EXPECT_EQ(none.GetFire().FindRowStart(), -1);
    EXPECT_EQ(none.GetFire().GetCount(), 0u);

    field_->Clear();
    EXPECT_EQ(field_->GetFire().GetCount(), 0u);
    EXPECT_FALSE(field_->IsActiveCell(0));
    EXPECT_FALSE(field_->IsAppearing());
}

TEST_F(TilesFieldTest, DissolveFadesTilesFireAndLayersInStepsOf25) {
    CTilesField& field = Build(Level(2, 1, Cell(0, 0, {1, 2}) + Cell(1, 0, {1})));
    const auto alphas = [&] {
        return std::vector<int> {field.GetTileObject(1)->GetAlpha(), field.GetFire().GetSprite(0).GetAlpha(0),
                                 field.GetLayerObject(0)->GetAlpha()};
    };
    field.DissolveOut(10);
    EXPECT_TRUE(field.IsDissolving());
    EXPECT_EQ(alphas(), (std::vector<int> {255, 255, 255}));
    field.Update();
    EXPECT_EQ(alphas(), (std::vector<int> {230, 230, 230}));
    for (int i = 0; i < 20 && field.IsDissolving(); ++i) field.Update();
    EXPECT_EQ(alphas(), (std::vector<int> {0, 0, 0}));
    field.DissolveIn(10);
    field.Update();
    EXPECT_EQ(alphas(), (std::vector<int> {25, 25, 25}));
    // A hit during a fade: the next layer takes the fade's alpha.
    CTilesField& stack = Build(Level(1, 1, Cell(0, 0, {1, 2, 3})));
    stack.DissolveOut(10);
    stack.Update();
    stack.DamageTile(0);
    EXPECT_EQ(stack.GetLayerObject(0)->GetAlpha(), 230);
}

// A partly cleared cell is saved with the layers still on it and, restored,
// shows its current layer and needs only the hits that are left.
TEST_F(TilesFieldTest, SaveAndRestoreKeepTheLayersStillOnEachCell) {
    const std::string level = Level(3, 1, Cell(0, 0, {1, 2, 3, 4}) + Cell(1, 0, {1, 2, 3}) + Cell(2, 0, {1, 2}));
    CTilesField& field = Build(level);
    EXPECT_EQ(field.DamageTile(0), 1);  // 4 gone: 3 and 2 left
    EXPECT_EQ(field.DamageTile(2), 1);  // cleared

    CXMLFile document;
    ASSERT_TRUE(document.CreateRoot("Suspended"));
    CXMLNode root = document.SelectSingleNode("/Suspended");
    field.Serialize(root, document);
    const CXMLNodeList saved = document.SelectNodes("/Suspended/VovaroCells/Cell");
    ASSERT_EQ(saved.GetLength(), 2);
    EXPECT_EQ(saved.GetItem(0).GetAttribute("index", ""), "0");
    EXPECT_EQ(saved.GetItem(0).GetAttribute("graph_types", ""), "3, 2");
    EXPECT_EQ(saved.GetItem(1).GetAttribute("index", ""), "1");
    EXPECT_EQ(saved.GetItem(1).GetAttribute("graph_types", ""), "3, 2");  // untouched: both layers

    CTilesField& restored = Load(level);
    restored.Build();
    ASSERT_TRUE(restored.Deserialize(root));
    EXPECT_FALSE(restored.IsAppearing());
    EXPECT_TRUE(restored.HasMoreLayers(0));
    EXPECT_EQ(restored.GetTileObject(2)->GetAlpha(), 255);
    EXPECT_FALSE(restored.HasCell(2));
    EXPECT_EQ(TypeOf(restored.GetLayerObject(0)), 3);
    EXPECT_EQ(restored.GetLayerObject(0)->GetAlpha(), 255);
    EXPECT_TRUE(Shown(restored.GetLayerObject(0)));
    EXPECT_EQ(restored.DamageTile(0), 1);
    EXPECT_EQ(TypeOf(restored.GetLayerObject(0)), 2);
    EXPECT_FALSE(restored.HasMoreLayers(0));  // the level gave it three, one is left
    EXPECT_EQ(restored.DamageTile(0), 1);
    EXPECT_FALSE(restored.HasCell(0));
    EXPECT_EQ(restored.GetTotalLayers(), 6);  // the level's own total

    // Nothing left: an empty block; blanks alone also separate ids; cells
    // that are not on the field are logged and left out.
    CTilesField& cleared = Build(Level(1, 1, Cell(0, 0, {1, 2})));
    cleared.DamageTile(0);
    CXMLFile empty;
    ASSERT_TRUE(empty.CreateRoot("Suspended"));
    CXMLNode empty_root = empty.SelectSingleNode("/Suspended");
    cleared.Serialize(empty_root, empty);
    EXPECT_TRUE(empty.SelectSingleNode("/Suspended/VovaroCells").IsValid());
    EXPECT_EQ(empty.SelectNodes("/Suspended/VovaroCells/Cell").GetLength(), 0);

    CTilesField& again = Build(level);
    ASSERT_TRUE(again.Deserialize(field_test::XmlNode(
        "<S><VovaroCells><Cell index=\"2\" graph_types=\"4 3  2\"/><Cell index=\"7\" graph_types=\"2\"/>"
        "<Cell index=\"1\" graph_types=\"\"/></VovaroCells></S>")));
    EXPECT_FALSE(again.HasCell(0));
    EXPECT_FALSE(again.HasCell(1));
    EXPECT_EQ(TypeOf(again.GetLayerObject(2)), 4);
    EXPECT_EQ(again.DamageTile(2) + again.DamageTile(2) + again.DamageTile(2) + again.DamageTile(2), 3);
    EXPECT_NE(NewLog().find("Puzzle cell 7 skipped"), std::string::npos);
}

TEST_F(TilesFieldTest, FailedChecks) {
    CTilesField& field = Build(Level(2, 1, Cell(0, 0, {1, 2}) + Cell(1, 0, {1})));
    EXPECT_THROW(field.IsCellEmpty(CELL_ERROR), std::exception);
    EXPECT_THROW(field.IsCellEmpty(2), std::exception);
    EXPECT_NE(NewLog().find("g_LevelCFG->IsValidCell(cell)"), std::string::npos);

    // The layer calls on a cell that is no puzzle cell change nothing.
    field.SetVisible(1, false);
    field.SetCellAlpha(1, 10);
    EXPECT_EQ(field.GetTileObject(1)->GetAlpha(), 255);
    EXPECT_NE(NewLog().find("Assert failed: 'false'"), std::string::npos);

    // A base tile the tiles base does not hold stops the build.
    CTilesField& missing = Load(Level(1, 1, Cell(0, 0, {42})));
    EXPECT_THROW(missing.Build(), std::exception);
    EXPECT_NE(NewLog().find("new_cell.object.get() != NULL"), std::string::npos);

    // A layer it does not hold still takes its hit, without a picture.
    CTilesField& no_picture = Build(Level(1, 1, Cell(0, 0, {1, 42})));
    EXPECT_TRUE(no_picture.HasCell(0));
    EXPECT_EQ(no_picture.GetLayerObject(0), nullptr);
    no_picture.DissolveOut(10);
    no_picture.Update();
    EXPECT_EQ(no_picture.DamageTile(0), 1);
    EXPECT_NE(NewLog().find("Puzzle layer 42 of cell 0 is not in the tiles base"), std::string::npos);
}

TEST_F(TilesFieldTest, AMissingFireDescriptionStopsTheField) {
    data_test::WriteBytes("Settings/Bases/common.xml", "<Common/>");
    EXPECT_THROW(CTilesField {}, std::exception);
    EXPECT_NE(NewLog().find("FireNode.IsValid()"), std::string::npos);
}

}  // namespace
