// Reading a graph base: which graph types and states are kept, what a state
// holds, and the samples loaded on the way.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/data_test_support.h"
#include "field/graph_obj_manager.h"
#include "field_test_support.h"

namespace {

class GraphObjManagerTest : public data_test::ScratchTest {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        sounds_ = &field_test::InstallRecordingSoundKeeper();
    }
    field_test::RecordingSoundKeeper* sounds_ = nullptr;
};

const char* const kBase = R"(
<Base>
  <GraphObj>
    <State name="DEFAULT"><sound file="no_type"/></State>
  </GraphObj>
  <GraphObj graph_type="0"><State name="DEFAULT"/></GraphObj>
  <GraphObj graph_type="3">
    <State name="DEFAULT" explosion="ball_burst">
      <Layer offset="3 -4"><graphics texture="Textures\a.png" width="64" height="48" color="80FF0000" tex_rect="0 0 64 48"/></Layer>
      <Layer offset="3,-4"><graphics texture="Textures\b.png"><animation file="Textures\b.xml"/></graphics></Layer>
      <Layer offset="7"/>
      <Layer/>
      <sound file="bll_dead"/>
      <sound file=""/>
      <sound file="ball_move"/>
    </State>
    <State name="MOVE"/>
    <State name="DEAD" explosion="first"/>
    <State name="DEAD" explosion="second"/>
    <State name="SWAP"><sound file="swap_sound"/></State>
    <State name="NEXT"/>
    <State><sound file="unnamed_sound"/></State>
  </GraphObj>
  <GraphObj graph_type="0x10"><State name="DEFAULT" explosion="old"/></GraphObj>
  <GraphObj graph_type="16"><State name="MOVE" explosion="new"/></GraphObj>
</Base>)";

TEST_F(GraphObjManagerTest, KeepsNamedStatesOfNumberedTypesAndLoadsEverySample) {
    CGraphObjManager base;
    base.Load(*field_test::ParseXml(kBase));

    // Graph type 0 (given or missing) never exists; 0x10 and 16 are one type, the later wins.
    EXPECT_EQ(base.GetGraphTypeCount(), 2u);
    EXPECT_FALSE(base.HasGraphType(0));
    EXPECT_TRUE(base.HasGraphType(3));
    CGraphStateDesc state;
    EXPECT_FALSE(base.GetStateDesc(16, 0, state));
    ASSERT_TRUE(base.GetStateDesc(16, 2, state));
    EXPECT_EQ(state.explosion, "new");

    // State names map to 0, 2 and 4; other names are not stored; a later
    // state of the same name replaces the earlier.
    CGraphTypeDesc type;
    ASSERT_TRUE(base.FindGraphType(3, type));
    EXPECT_EQ(type.GetStateCount(), 3u);
    ASSERT_TRUE(type.GetState(CGraphTypeDesc::gsDead, state));
    EXPECT_EQ(state.explosion, "second");
    EXPECT_TRUE(state.layers.empty());
    ASSERT_TRUE(type.GetState(CGraphTypeDesc::gsMove, state));
    for (int id : {1, 3, 5, -1}) EXPECT_FALSE(type.GetState(id, state)) << id;

    ASSERT_TRUE(base.GetStateDesc(3, CGraphTypeDesc::gsDefault, state));
    EXPECT_EQ(state.explosion, "ball_burst");
    ASSERT_EQ(state.layers.size(), 4u);
    const CGraphicsDesc& first = state.layers[0].graphics;
    EXPECT_EQ(first.texture, "Textures\\a.png");
    EXPECT_EQ(first.color, 0x80FF0000u);
    EXPECT_EQ(first.width, 64);
    EXPECT_FLOAT_EQ(first.tex_rect.bottom, 48.0f);
    EXPECT_EQ(state.layers[1].graphics.animation_file, "Textures\\b.xml");
    // Offsets: blank or comma between x and y; one number or none gives (0, 0).
    EXPECT_EQ(state.layers[0].offset, CVector2(3, -4));
    EXPECT_EQ(state.layers[1].offset, CVector2(3, -4));
    EXPECT_EQ(state.layers[2].offset, CVector2(0, 0));
    EXPECT_EQ(state.layers[3].offset, CVector2(0, 0));
    EXPECT_EQ(state.sounds, (std::vector<std::string> {"bll_dead", "ball_move"}));

    // Every named sample is loaded, also those of dropped states and types;
    // an empty name loads nothing.
    std::vector<std::string> loaded = sounds_->loaded;
    std::sort(loaded.begin(), loaded.end());
    EXPECT_EQ(loaded, (std::vector<std::string> {"ball_move", "bll_dead", "no_type", "swap_sound", "unnamed_sound"}));
}

TEST_F(GraphObjManagerTest, MissingTypesAreLoggedMissingStatesAreNot) {
    CGraphObjManager base;
    base.Load(*field_test::ParseXml(kBase));
    CGraphStateDesc state;
    state.explosion = "untouched";
    EXPECT_FALSE(base.GetStateDesc(3, 1, state));
    EXPECT_EQ(NewLog().find("No find graph type"), std::string::npos);
    EXPECT_FALSE(base.GetStateDesc(42, 0, state));
    EXPECT_EQ(state.explosion, "untouched");
    EXPECT_EQ(base.FindStateDesc(42, 0), nullptr);
    EXPECT_NE(NewLog().find("CGraphObjManager: No find graph type 42"), std::string::npos);
    EXPECT_FALSE(base.HasGraphType(43));
    EXPECT_EQ(NewLog().find("graph type 43"), std::string::npos);
}

TEST_F(GraphObjManagerTest, ALoadReplacesTheTableAndNeedsItsFile) {
    CGraphObjManager base;
    base.Load(*field_test::ParseXml(kBase));
    base.Load(*field_test::ParseXml("<Other><GraphObj graph_type=\"5\"/></Other>"));
    EXPECT_EQ(base.GetGraphTypeCount(), 0u);  // no "Base": empty, nothing said

    data_test::WriteBytes("Settings/Bases/balls.xml", kBase);
    base.Load("Settings\\Bases\\Balls.XML");  // names resolve without regard to case
    EXPECT_EQ(base.GetGraphTypeCount(), 2u);
    EXPECT_THROW(base.Load("Settings\\Bases\\Missing.XML"), std::runtime_error);
    EXPECT_EQ(base.GetGraphTypeCount(), 0u);
    EXPECT_NE(NewLog().find("Failed to open XML file 'Settings\\Bases\\Missing.XML'"), std::string::npos);
}

// The shipped bases: every state's picture and sound exists in the data tree.
TEST_F(GraphObjManagerTest, ShippedBasesNameExistingTexturesAndSamples) {
    const std::string data = VOVARO_DATA_DIR;
    CXMLFile samples(data + "/Settings/Samples.xml");
    for (const char* file : {"/Settings/Bases/Balls.XML", "/Settings/Bases/Tiles.XML"}) {
        SCOPED_TRACE(file);
        CGraphObjManager base;
        base.Load(data + file);
        ASSERT_GT(base.GetGraphTypeCount(), 0u);
        for (int type = 1; type < 64; ++type) {
            if (!base.HasGraphType(type)) continue;
            const CGraphStateDesc* state = base.FindStateDesc(type, CGraphTypeDesc::gsDefault);
            ASSERT_NE(state, nullptr) << type;
            ASSERT_FALSE(state->layers.empty()) << type;
            for (const CLayerDesc& layer : state->layers) {
                std::string path = data + "/" + layer.graphics.texture;
                std::replace(path.begin(), path.end(), '\\', '/');
                EXPECT_TRUE(std::filesystem::exists(path)) << path;
                EXPECT_GT(layer.graphics.tex_rect.Width(), 0) << type;
            }
            for (const std::string& sound : state->sounds)
                EXPECT_TRUE(samples.SelectSingleNode("//Sample[@alias='" + sound + "']").IsValid()) << sound;
        }
    }
}

}  // namespace
