#include "engine/variables.h"

#include <gtest/gtest.h>

#include <any>
#include <stdexcept>

#include "data_test_support.h"
#include "engine/xml_file.h"

namespace {

TEST(VariablesTest, DeclareLoadAndRead) {
    CVariables vars;
    vars.Register("score_for_life", 0);
    vars.Register("score_for_life", 99);  // the first declaration stays
    vars.Register("m_panel_speed", 12.5);
    vars.Register("enable_empty_swap", false);
    vars.Register("flag_word", true);
    vars.Register("ball_explosion", "small");
    EXPECT_EQ(vars.GetInt("score_for_life"), 0);

    CXMLFile xml;
    xml.Parse(std::string_view("<R><GameCFG score_for_life=\"25000\" m_panel_speed=\"20.5\" enable_empty_swap=\"2\""
                               " flag_word=\"true\" unknown=\"1\"/><Other ball_explosion=\"big\"/><Empty/></R>"));
    vars.LoadFromXml(xml.SelectSingleNode("//GameCFG"));
    int out = 0;
    EXPECT_EQ(vars.GetInt("score_for_life", &out), 25000);
    EXPECT_EQ(out, 25000);
    EXPECT_FLOAT_EQ(vars.GetFloat("m_panel_speed"), 20.5f);
    EXPECT_TRUE(vars.GetBool("enable_empty_swap"));
    EXPECT_FALSE(vars.GetBool("flag_word")) << "the word true reads as 0";
    EXPECT_EQ(vars.GetString("ball_explosion"), "small");
    EXPECT_FALSE(vars.IsRegistered("unknown"));

    // Later loads override only what they carry; an empty handle changes nothing.
    vars.LoadFromXml(xml.SelectSingleNode("//Other"));
    vars.LoadFromXml(xml.SelectSingleNode("//Empty"));
    vars.LoadFromXml(CXMLNode());
    EXPECT_EQ(vars.GetInt("score_for_life"), 25000);
    EXPECT_EQ(vars.GetString("ball_explosion"), "big");

    vars.Set("score_for_life", 7);
    EXPECT_EQ(vars.GetInt("score_for_life"), 7);
}

TEST(VariablesTest, UndeclaredNamesAndWrongTypesThrow) {
    data_test::PrepareLogOnce();
    CVariables vars;
    vars.Register("lives", 3);
    try {
        vars.GetInt("no_such_var");
        FAIL() << "no exception";
    } catch (const std::runtime_error& e) {
        EXPECT_STREQ(e.what(), "Variable no_such_var not registered!");
    }
    EXPECT_NE(data_test::ReadLog().find("Variable no_such_var not registered!"), std::string::npos);
    EXPECT_THROW(vars.Set("no_such_var", 1), std::runtime_error);
    EXPECT_THROW(vars.GetFloat("lives"), std::bad_any_cast);
    EXPECT_THROW(vars.Set("lives", 1.0f), std::bad_any_cast);
    EXPECT_EQ(vars.GetInt("lives"), 3) << "a value of another type is never stored";
}

}  // namespace
