#pragma once
// The difficulty levels that the "difficulty" setting indexes, from
// "Settings\Difficulty.xml"; never empty once loaded.
#include <memory>
#include <string>
#include <vector>

struct DifficultyDesc {
    std::string name;  // a label alias
    float enemy_health_factor = 1.0f;
    float score_factor = 1.0f;
    float enemy_cannon_factor = 1.0f;
};

class CDifficultyTable {
public:
    // Reads the file again; when it cannot be read the table ends with the level
    // "easy" behind whatever was read before the failure.
    void LoadDifficulty();

    size_t GetCount() const { return _levels.size(); }
    const DifficultyDesc& GetLevel(size_t index) const { return _levels.at(index); }
    const std::vector<DifficultyDesc>& Levels() const { return _levels; }

private:
    std::vector<DifficultyDesc> _levels;
};

// The one table, created on the first call.
std::shared_ptr<CDifficultyTable> CreateDifficultyTable();

// Holds the table from before start-up until exit.
extern std::shared_ptr<CDifficultyTable> g_DifficultyTable;
