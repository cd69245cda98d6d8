// The shipped bird states and salute: every state the program sets is
// described, every transition leads to a described state, and every sound,
// explosion, label, texture and animation they name exists in the data tree.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "birds_test_support.h"
#include "engine/xml_file.h"
#include "field/birds.h"
#include "field/salute.h"
#include "field_test_support.h"

namespace {

namespace fs = std::filesystem;

class BirdsDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = fs::current_path();
        fs::current_path(VOVARO_DATA_DIR);
    }
    void TearDown() override { fs::current_path(saved_); }

    static bool HasAlias(const char* file, const char* element, const std::string& alias) {
        const CXMLFile xml(file);
        return xml.SelectSingleNode(std::string("//") + element + "[@alias='" + alias + "']").IsValid();
    }
    static bool DataFile(std::string name) {
        for (char& c : name)
            if (c == '\\') c = '/';
        return fs::is_regular_file(fs::path(VOVARO_DATA_DIR) / name);
    }
    // Every state of the set: its transitions stay inside the set, its files
    // and aliases exist.
    static void CheckSet(const CBirds& birds, const std::vector<int>& ids) {
        for (int id : ids) {
            BirdDesc desc;
            ASSERT_TRUE(birds.GetBird(id, desc)) << "state " << id;
            const int next = desc.condition.next_state;
            const bool command = next == 0 || next >= CBirds::kNoChange;
            EXPECT_TRUE(command || birds.GetBird(next, desc)) << id << " -> " << next;
        }
        std::set<int> seen;
        for (int id = 0; id < 300; ++id) {
            BirdDesc desc;
            if (!birds.GetBird(id, desc)) continue;
            seen.insert(id);
            EXPECT_TRUE(DataFile(desc.graphics.texture)) << desc.graphics.texture;
            EXPECT_TRUE(DataFile(desc.graphics.animation_file)) << desc.graphics.animation_file;
            if (!desc.explosion.empty()) {
                EXPECT_TRUE(HasAlias("Settings\\Explosions.xml", "Explosion", desc.explosion)) << desc.explosion;
            }
            for (const SoundDesc& sound : desc.sounds) {
                if (!sound.alias.empty()) {
                    EXPECT_TRUE(HasAlias("Settings\\Samples.xml", "Sample", sound.alias)) << sound.alias;
                }
            }
        }
        EXPECT_EQ(seen.size(), birds.GetDescriptionCount()) << "one description per id";
    }

    fs::path saved_;
};

TEST_F(BirdsDataTest, FieldBirdsDescribeEveryStateTheProgramSets) {
    const CBirds birds(nullptr, "Settings\\birds.xml", "//Birds/Bird");
    CheckSet(birds, {1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13});
    // Every state of a set stands under one Bird.
    const CXMLFile xml("Settings\\birds.xml");
    EXPECT_EQ(xml.SelectNodes("/Birds/Bird").GetLength(), 1);
    EXPECT_EQ(xml.SelectNodes("//Birds/DyingDialog/Bird").GetLength(), 1);

    // A life is lost only through the trapped state; the fly-in holds the field.
    BirdDesc desc;
    for (int id : {1, 2, 4, 5, 7, 8, 9, 10, 11, 12, 13}) {
        ASSERT_TRUE(birds.GetBird(id, desc));
        EXPECT_FALSE(desc.condition.game_over) << id;
    }
    ASSERT_TRUE(birds.GetBird(6, desc));
    EXPECT_TRUE(desc.condition.game_over);
    ASSERT_TRUE(birds.GetBird(4, desc));
    EXPECT_TRUE(desc.condition.wait);
    EXPECT_GT(desc.speed, 0);
}

TEST_F(BirdsDataTest, LifeLostDialogBirdsWaitThenArrive) {
    const CBirds birds(nullptr, "Settings\\birds.xml", "//Birds/DyingDialog/Bird");
    CheckSet(birds, {1, 7});
}

TEST_F(BirdsDataTest, SaluteNamesWhatExists) {
    field_test::FieldGlobalsScope globals;
    field_test::FakeBirdsField field;
    const CSalute salute(&field);
    ASSERT_EQ(salute.GetLayers().size(), 2u);
    for (const auto& layer : salute.GetLayers()) {
        EXPECT_TRUE(DataFile(layer.graphics.texture));
        ASSERT_TRUE(DataFile(layer.graphics.animation_file));
        // Play-once animations: a layer's sprite goes when its animation ends.
        const CXMLFile animation(layer.graphics.animation_file);
        EXPECT_TRUE(animation.SelectSingleNode("/Animation").GetAttributeBool("animate_once", false));
        EXPECT_GE(animation.SelectNodes("/Animation/Frame").GetLength(), 2);
    }
    const CXMLFile common("Settings\\Bases\\Common.xml");
    const CXMLNode node = common.SelectSingleNode("//Common/Salute");
    EXPECT_TRUE(HasAlias("Settings\\Explosions.xml", "Explosion", node.GetAttribute("expl_alias", "")));
    EXPECT_TRUE(HasAlias("Settings\\Samples.xml", "Sample", node.GetAttribute("sound", "")));
    for (const char* labels : {"Settings\\Labels_English.xml", "Settings\\Labels_German.xml"}) {
        EXPECT_TRUE(HasAlias(labels, "label", node.GetAttribute("label_name", ""))) << labels;
        EXPECT_TRUE(HasAlias(labels, "label", "bird_bonus")) << labels;
    }
}

}  // namespace
