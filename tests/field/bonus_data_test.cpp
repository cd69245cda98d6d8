// The shipped bonus configuration: every sample and explosion a bonus names
// is declared, and the nodes give the values the bonuses are tuned for.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>

#include "balls_test_support.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "field/bonus_config.h"

namespace {

class BonusDataTest : public field_test::ShippedDataTest {
protected:
    void TearDown() override {
        CBonusConfig::Forget();
        ShippedDataTest::TearDown();
    }
    static bool Declared(const char* file, const char* element, const std::string& alias) {
        const CXMLFile document(file);
        return document.SelectSingleNode(std::string("//") + element + "[@alias='" + alias + "']").IsValid();
    }
};

TEST_F(BonusDataTest, SamplesAndExplosionsOfTheBonusesAreDeclared) {
    CBonusConfig::Forget();
    ASSERT_FALSE(Declared("Settings\\Samples.xml", "Sample", "no_such_sample"));
    for (const char* name : {"Dynamite", "SlowDown"}) {
        SCOPED_TRACE(name);
        const CXMLNode node = CBonusConfig::GetBonusNode(name);
        ASSERT_TRUE(node.IsValid());
        EXPECT_TRUE(Declared("Settings\\Samples.xml", "Sample", node.GetAttribute("sample", "")));
        const CXMLNodeList configs = node.SelectNodes("*");
        ASSERT_EQ(configs.GetLength(), 2);
        for (int i = 0; i < configs.GetLength(); ++i) {
            const std::string explosion = configs.GetItem(i).GetAttribute("expl_alias", "");
            if (explosion.empty()) continue;
            EXPECT_TRUE(Declared("Settings\\Explosions.xml", "Explosion", explosion)) << explosion;
        }
    }
    EXPECT_EQ(CBonusConfig::GetBonusNode("Dynamite").SelectSingleNode("DefaultCfg").GetAttributeInt("radius", 0), 1);
}

TEST_F(BonusDataTest, TheOtherBonusesNameDeclaredSamplesEffectsAndExistingArt) {
    for (const char* name : {"Burner", "Lightning", "Mixer", "Killer"}) {
        SCOPED_TRACE(name);
        const CXMLNode node = CBonusConfig::GetBonusNode(name);
        ASSERT_TRUE(node.IsValid());
        ASSERT_NE(node.GetAttribute("sample", ""), "");
        const CXMLNodeList samples = node.SelectNodes("descendant-or-self::*[@sample]");
        for (int i = 0; i < samples.GetLength(); ++i) {
            const std::string alias = samples.GetItem(i).GetAttribute("sample", "");
            EXPECT_TRUE(Declared("Settings\\Samples.xml", "Sample", alias)) << alias;
        }
        const CXMLNodeList effects = node.SelectNodes("descendant-or-self::*[@expl_alias]");
        for (int i = 0; i < effects.GetLength(); ++i) {
            const std::string alias = effects.GetItem(i).GetAttribute("expl_alias", "");
            EXPECT_TRUE(Declared("Settings\\Explosions.xml", "Explosion", alias)) << alias;
        }
        const CXMLNodeList pictures = node.SelectNodes(".//graphics");
        for (int i = 0; i < pictures.GetLength(); ++i) {
            const CXMLNode graphics = pictures.GetItem(i);
            for (std::string path : {graphics.GetAttribute("texture", ""),
                                     graphics.SelectSingleNode("animation").GetAttribute("file", "")}) {
                std::replace(path.begin(), path.end(), '\\', '/');
                EXPECT_TRUE(!path.empty() && std::filesystem::exists(path)) << path;
            }
        }
    }
    EXPECT_EQ(CBonusConfig::GetBonusNode("Burner").SelectNodes(".//graphics").GetLength(), 4);
    EXPECT_EQ(CBonusConfig::GetBonusNode("Lightning").SelectNodes(".//graphics").GetLength(), 2);
    EXPECT_EQ(CBonusConfig::GetBonusNode("Killer").SelectNodes("Feather|Egg").GetLength(), 2);
}

}  // namespace
