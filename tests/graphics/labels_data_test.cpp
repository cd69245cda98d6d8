// The shipped languages and their labels files: every alias the game prints from
// code exists in every language, with conversions that fit the arguments the
// game passes, and the German texts are 8-bit Windows-1252.
#include <gtest/gtest.h>
#include <pugixml.hpp>

#include "engine/formatter.h"

#include <filesystem>
#include <fstream>
#include <functional>
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

// Aliases the data files name: captions of labels, check boxes and pages,
// button and track-bar captions, edit-box texts, indicator texts, the bonus and
// salute labels, the difficulty and language names (track-bar captions) and
// one "mission_<episode>" per episode of the episode list.
std::set<std::string> DataAliases(std::vector<std::string>& sources) {
    std::set<std::string> out;
    auto add = [&](const std::string& alias, const std::string& where) {
        if (alias.empty()) return;
        if (out.insert(alias).second) sources.push_back(alias + " (" + where + ")");
    };
    const std::filesystem::path root = std::filesystem::path(VOVARO_SOURCE_DIR) / "data";
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_regular_file() || entry.path().extension() != ".xml") continue;
        if (name.rfind("Labels_", 0) == 0 || name.rfind("Fonts_", 0) == 0) continue;
        pugi::xml_document doc;
        if (!doc.load_file(entry.path().c_str(), pugi::parse_default, pugi::encoding_utf8)) {
            ADD_FAILURE() << "broken XML: " << entry.path();
            continue;
        }
        const std::string where = std::filesystem::relative(entry.path(), root).string();
        struct Walker : pugi::xml_tree_walker {
            std::function<void(const pugi::xml_node&)> visit;
            bool for_each(pugi::xml_node& node) override {
                if (node.type() == pugi::node_element) visit(node);
                return true;
            }
        } walker;
        walker.visit = [&](const pugi::xml_node& node) {
            const std::string element = node.name();
            for (const char* attribute : {"caption", "label", "label_name"})
                add(node.attribute(attribute).value(), where);
            if (element == "Caption") add(node.attribute("text").value(), where);
            if (std::string(node.attribute("type").value()) == "EDIT") add(node.attribute("text").value(), where);
        };
        doc.traverse(walker);
        if (name == "Difficulty.xml")
            for (auto level : doc.select_nodes("//Difficulty/Level")) add(level.node().attribute("name").value(), where);
        if (name == "Languages.xml")
            for (auto lang : doc.select_nodes("//Languages/Language")) add(lang.node().attribute("name").value(), where);
        if (name == "Episodes.xml") {
            const size_t episodes = doc.select_nodes("//Episodes/Episode").size();
            for (size_t i = 0; i < episodes; ++i) add("mission_" + std::to_string(i), where);
        }
    }
    return out;
}

TEST(LabelsData, EveryAliasTheDataNamesExistsInEveryLanguage) {
    std::vector<std::string> sources;
    const auto aliases = DataAliases(sources);
    EXPECT_TRUE(aliases.count("hard"));  // the difficulty names at least
    for (const Language& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        const auto labels = LoadLabels(lang.labels_file);
        for (const std::string& source : sources)
            EXPECT_TRUE(labels.count(source.substr(0, source.find(" (")))) << source;
    }
}

// ASCII lower case, bars (line breaks) as blanks: how a reader sees a text.
std::string Plain(std::string text) {
    for (char& c : text) {
        if (c == '|') c = ' ';
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

pugi::xml_document LoadData(const std::string& file) {
    pugi::xml_document doc;
    EXPECT_TRUE(doc.load_file((kSettings + file).c_str(), pugi::parse_default, pugi::encoding_utf8)) << file;
    return doc;
}

TEST(LabelsData, EveryTextNamesTheTrophyRoomAsItsTitleDoes) {
    for (const Language& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        const auto labels = LoadLabels(lang.labels_file);
        const std::string room = Plain(labels.at("Title_Trophies"));
        ASSERT_FALSE(room.empty());
        for (const char* alias : {"Trophy_Room", "GameComplete_Trophies", "Episode_Complete_Text", "Help_Artefacts"})
            EXPECT_NE(Plain(labels.at(alias)).find(room), std::string::npos) << alias << ": " << labels.at(alias);
    }
}

TEST(LabelsData, TheTitleSplashPrintsItsSubtitleInEveryLanguage) {
    const auto doc = LoadData("SplashScreen.xml");
    std::string alias;
    for (auto splash : doc.select_nodes("//SplashScreens/Splash")) {
        const std::string texture = splash.node().child("graphics").attribute("texture").value();
        if (texture.find("title_screen") != std::string::npos)
            alias = splash.node().child("Text").attribute("label").value();
    }
    ASSERT_FALSE(alias.empty()) << "the title splash has no text of its own";
    std::set<std::string> texts;
    for (const Language& lang : Languages()) {
        const auto labels = LoadLabels(lang.labels_file);
        ASSERT_TRUE(labels.count(alias)) << lang.name;
        EXPECT_FALSE(labels.at(alias).empty()) << lang.name;
        texts.insert(labels.at(alias));
    }
    EXPECT_EQ(texts.size(), Languages().size()) << "a language shows another's subtitle";
}

// The hint that points at a feather credit shows in every episode: its text
// names the feather and the episode from which the feather is the player's.
TEST(LabelsData, TheFeatherCreditHintSaysFromWhichEpisodeItCounts) {
    const auto hints = LoadData("Hints.xml");
    const auto text_node = hints.select_node("//Hints/Hint[@id='301']/Control[@id='ID_TEXT']");
    ASSERT_TRUE(text_node);
    const std::string alias = text_node.node().attribute("caption").value();
    const auto cfg = LoadData("GameCFG.xml");
    const auto first = cfg.select_node("//*[@first_episode_for_feather]");
    ASSERT_TRUE(first);
    const std::string episode = std::to_string(first.node().attribute("first_episode_for_feather").as_int() + 1);
    const std::map<std::string, std::string> feather = {{"English", "feather"}, {"German", "feder"}};
    for (const Language& lang : Languages()) {
        SCOPED_TRACE(lang.name);
        const std::string text = Plain(LoadLabels(lang.labels_file).at(alias));
        ASSERT_TRUE(feather.count(lang.name));
        EXPECT_NE(text.find(feather.at(lang.name)), std::string::npos) << text;
        EXPECT_NE(text.find(" " + episode + " "), std::string::npos) << text;
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
