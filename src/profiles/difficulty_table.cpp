#include "profiles/difficulty_table.h"

#include <exception>

#include "engine/xml_file.h"

std::shared_ptr<CDifficultyTable> g_DifficultyTable = CreateDifficultyTable();

std::shared_ptr<CDifficultyTable> CreateDifficultyTable() {
    static std::shared_ptr<CDifficultyTable> table = std::make_shared<CDifficultyTable>();
    return table;
}

void CDifficultyTable::LoadDifficulty() {
    _levels.clear();
    try {
        CXMLFile file("Settings\\Difficulty.xml");
        CXMLNodeList nodes = file.SelectNodes("//Difficulty/Level");
        for (int i = 0; i < nodes.GetLength(); ++i) {
            CXMLNode node = nodes.GetItem(i);
            DifficultyDesc desc;
            desc.enemy_health_factor = node.GetAttributeFloat("enemy_health_factor", 1.0f);
            desc.score_factor = node.GetAttributeFloat("score_factor", 1.0f);
            desc.enemy_cannon_factor = node.GetAttributeFloat("enemy_cannon_factor", 1.0f);
            desc.name = node.GetAttribute("name", "error");
            _levels.push_back(std::move(desc));
        }
    } catch (const std::exception&) {
        // The XML layer has logged what went wrong; the game still needs one level.
        _levels.push_back(DifficultyDesc{"easy", 1.0f, 1.0f, 1.0f});
    }
    // A file without levels would leave nothing for the setting to index.
    if (_levels.empty()) _levels.push_back(DifficultyDesc{"easy", 1.0f, 1.0f, 1.0f});
}
