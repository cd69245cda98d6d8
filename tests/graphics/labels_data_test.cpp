// The shipped languages and their labels files: every alias the game prints from
// code exists in every language, with conversions that fit the arguments the
// game passes, and the German texts are 8-bit Windows-1252.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "engine/formatter.h"

#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace {

const std::string kSettings = std::string(VOVARO_SOURCE_DIR) + "/data/Settings/";

// Aliases the game prints, with the argument types it passes ("d" int, "s" text).
const std::map<std::string, std::string> kCodeAliases = {
    {"VersionNumber", ""}, {"UserName", "s"},     {"PlayerNumber", "d"}, {"PlayerName", "s"},
    {"PlayerScore", "d"},  {"StartingLevel", "d"}, {"mission_0", ""},    {"mission_1", ""},
    {"mission_2", ""},     {"mission_3", ""},      {"sLoading", "s"},    {"LastLive", "d"},
    {"LivesLeft", "d"},    {"GameOver", ""},       {"Score_small", "d"}, {"Score_combo", "d"},
    {"Match4_bonus", "d"}, {"Match5_bonus", "d"},  {"Score_bonus", "d"}, {"bird_bonus", "d"},
    {"debug_d", "d"},
    // Track-bar captions: the default difficulty names.
    {"easy", ""},          {"error", ""},
    // Aliases for the dialogs' and panels' captions, with what those pass.
    {"SelectedUser", "s"}, {"Edit_UserName", "s"}, {"LoadMission", "d"}, {"LoadLevel", "d"},
    {"StageNumber", "d"},  {"Congratulations", "d"}, {"Stat_Score", "d"}, {"Stat_Time", "s"},
    {"Stat_AceTime", "s"}, {"Stat_TimeBonus", "d"}, {"Stat_NoTimeBonus", "s"}, {"Stat_BestTime", "ss"},
    {"Tip_0", ""},         {"Panel_Score", "d"},   {"Panel_Lives", "d"},  {"Panel_Level", "d"},
    {"Panel_Episode", "d"}, {"Panel_EpisodeName", "s"}, {"Panel_Custom", "d"}, {"Mixer_bonus", "d"},
    {"Salute_bonus", "d"},
};

// The argument types the game passes, as the formatter checks them.
std::vector<FormatArgType> ArgTypes(const std::string& args) {
    std::vector<FormatArgType> out;
    for (char c : args) out.push_back(c == 'd' ? FormatArgType::Int : FormatArgType::Text);
    return out;
}

struct Language {
    std::string name, labels_file;
};

std::vector<Language> Languages() {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((kSettings + "Languages.xml").c_str()));
    std::vector<Language> out;
    for (auto node : doc.select_nodes("//Languages/Language"))
        out.push_back({node.node().attribute("name").value(), node.node().attribute("labels_file").value()});
    return out;
}

std::map<std::string, std::string> LoadLabels(const std::string& file) {
    pugi::xml_document doc;
    // Bytes pass through unconverted, as the game reads them.
    EXPECT_TRUE(doc.load_file((kSettings + file).c_str(), pugi::parse_default, pugi::encoding_utf8)) << file;
    std::map<std::string, std::string> out;
    for (auto node : doc.select_nodes("//labels/label")) {
        std::string alias = node.node().attribute("alias").value();
        EXPECT_FALSE(out.count(alias)) << file << ": " << alias << " twice";
        out.emplace(alias, node.node().text().get());
    }
    return out;
}

TEST(LabelsData, EveryLanguageHasEveryAliasTheGameUses) {
    const auto languages = Languages();
    ASSERT_EQ(languages.size(), 2u);
    std::set<std::string> first_set;
    for (const Language& lang : languages) {
        SCOPED_TRACE(lang.name);
        const auto labels = LoadLabels(lang.labels_file);
        for (const auto& [alias, args] : kCodeAliases) {
            auto it = labels.find(alias);
            ASSERT_NE(it, labels.end()) << alias;
            // Each conversion must get an argument of its type; fewer conversions are fine.
            EXPECT_TRUE(FormatMatchesArgs(it->second, ArgTypes(args))) << alias << ": " << it->second;
            EXPECT_FALSE(it->second.empty()) << alias;
        }
        // Language names become captions of the language track bar.
        for (const Language& other : languages) EXPECT_TRUE(labels.count(other.name)) << other.name;
        EXPECT_EQ(labels.at("VersionNumber").find('%'), std::string::npos);  // read raw
        std::set<std::string> aliases;
        for (const auto& entry : labels) aliases.insert(entry.first);
        if (first_set.empty()) first_set = aliases;
        EXPECT_EQ(aliases, first_set) << "the languages define different aliases";
    }
}

TEST(LabelsData, GermanIsWindows1252) {
    std::ifstream in(kSettings + "Labels_German.xml", std::ios::binary);
    const std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_FALSE(bytes.empty());
    EXPECT_NE(bytes.find("encoding=\"windows-1252\""), std::string::npos);
    for (const char* word : {"Zur\xFC" "ck", "Gro\xDF" "artig", "L\xE4" "dt", "l\xF6" "schen"})
        EXPECT_NE(bytes.find(word), std::string::npos) << word;
    EXPECT_EQ(bytes.find("\xC3"), std::string::npos) << "UTF-8 sequences in an 8-bit file";
}

}  // namespace
