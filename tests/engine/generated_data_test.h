#pragma once
// Shared by the tests of the generated data: the built data tree as the current
// directory while a test runs, and the music list of Settings\Music.xml.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include "data_test_support.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"

namespace data_test {

class GeneratedDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        PrepareLogOnce();
        saved_ = std::filesystem::current_path();
        std::filesystem::current_path(VOVARO_DATA_DIR);
    }
    void TearDown() override { std::filesystem::current_path(saved_); }

    // The entries of Settings\Music.xml in file order: alias and description.
    static std::vector<std::pair<std::string, CMusicDesc>> MusicList() {
        std::vector<std::pair<std::string, CMusicDesc>> list;
        CXMLFile file("Settings\\Music.xml");
        CXMLNodeList files = file.SelectNodes("//Music/File");
        for (int i = 0; i < files.GetLength(); ++i) {
            CXMLNode node = files.GetItem(i);
            CMusicDesc desc;
            desc.file_name = node.GetAttribute("name", "");
            std::string patterns = node.GetAttribute("patterns", "0");
            for (char& c : patterns) if (c == ',') c = ' ';
            std::istringstream in(patterns);
            for (int p; in >> p;) desc.patterns.push_back(p);
            list.emplace_back(node.GetAttribute("alias", ""), desc);
        }
        return list;
    }

private:
    std::filesystem::path saved_;
};

}  // namespace data_test
