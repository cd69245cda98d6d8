// The shipped bonus configuration: every sample and explosion a bonus names
// is declared, and the nodes give the values the bonuses are tuned for.
#include <gtest/gtest.h>

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

}  // namespace
