#pragma once
// A stand-in for the puzzle field and the artefact keeper as the game scene
// drives them: it records what the scene asks, answers with what a test sets,
// and saves and restores one "GameField" element holding a board text.
#include <string>
#include <vector>

#include "engine/float_rect.h"
#include "engine/vector2.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "game/scene_field.h"

namespace game_test {

class FakeSceneField : public ISceneField {
public:
    // ---- what the test sets
    bool end_steps_done = true;
    bool begin_episode = false;
    bool hint_placeable = false;
    CVector2 hint_point {120, 80};
    bool artefacts_idle = true;
    LevelStatistics statistics;
    std::string board = "start";
    bool load_ok = true;  // what LoadLevel answers
    bool serialize_ok = true;    // false: the field's part of a save fails
    bool deserialize_ok = true;  // false: the board restores only in part

    // ---- what the scene did
    std::vector<std::string> calls;
    std::vector<int> states;  // OnGameStateChanged, in order
    std::vector<std::string> loaded;
    std::vector<int> trophies;
    std::vector<std::pair<int, int>> tools;  // DebugGiveTool
    std::vector<int> bonuses;                // DebugPlaceBonus
    int ball_moves = 0;
    CFloatRect praise_area;

    int Count(const std::string& call) const {
        int n = 0;
        for (const auto& c : calls) n += c == call;
        return n;
    }

    void SetPraiseArea(const CFloatRect& area) override { praise_area = area; }
    bool LoadLevel(const std::string& path, const std::function<void(const CXMLNode&)>&) override {
        loaded.push_back(path);
        return load_ok;
    }
    void ClearLevel() override { calls.push_back("ClearLevel"); }
    void RestartLevel() override { calls.push_back("RestartLevel"); }
    void Update() override { calls.push_back("Update"); }
    void Render() override {}
    void OnBallMove() override { ++ball_moves; }
    void OnGameStateChanged(int state) override { states.push_back(state); }
    void QueueLevelEndSteps() override { calls.push_back("QueueLevelEndSteps"); }
    void QueueLifeLostSteps() override { calls.push_back("QueueLifeLostSteps"); }
    bool ProcessEndIteration() override { return end_steps_done; }
    bool NeedShowBeginEpisode() const override { return begin_episode; }
    void SetShowBeginEpisode(bool show) override { begin_episode = show; }
    void TakeHammer() override { calls.push_back("TakeHammer"); }
    void UseEgg() override { calls.push_back("UseEgg"); }
    void UseFeather() override { calls.push_back("UseFeather"); }
    LevelStatistics GetLevelStatistics() const override { return statistics; }
    bool GetHintSource(const HintInfo&, CVector2& point) override {
        if (hint_placeable) point = hint_point;
        return hint_placeable;
    }
    bool Serialize(CXMLFile& document, CXMLNode& parent) override {
        CXMLNode node = document.CreateNode("GameField");
        node.SetAttribute("board", board);
        return parent.AppendChild(node) && serialize_ok;
    }
    bool Deserialize(const CXMLNode& node) override {
        const CXMLNode field = node.SelectSingleNode("GameField");
        if (!field.IsValid()) return false;
        board = field.GetAttribute("board", "");
        calls.push_back("Deserialize");
        return deserialize_ok;
    }
    void DebugGiveTool(int tool, int amount) override { tools.emplace_back(tool, amount); }
    void DebugPlaceBonus(int type) override { bonuses.push_back(type); }
    void DebugPlaceBird() override { calls.push_back("DebugPlaceBird"); }
    void DebugStartMixer() override { calls.push_back("DebugStartMixer"); }
    void DebugDropRow() override { calls.push_back("DebugDropRow"); }

    void AddTrophy(int glove_base_id) override { trophies.push_back(glove_base_id); }
    void SetActiveArtefact(int) override {}
    void UpdateArtefacts() override {}
    void RenderArtefacts() override {}
    void RenderFlyingFragments() override {}
    void StartTreasureFlight() override { calls.push_back("StartTreasureFlight"); }
    bool IsArtefactsIdle() override { return artefacts_idle; }
    void ResetArtefacts() override { calls.push_back("ResetArtefacts"); }
    void ClearArtefacts() override {}
};

}  // namespace game_test
