#pragma once
// A stand-in for the game scene as the field sees it (IGameSceneLink): it
// keeps the state, score, numbers and tool charges a test sets, records the
// tool-panel calls, and registers itself for as long as it lives.
#include <map>
#include <string>
#include <vector>

#include "field/game_scene_link.h"

namespace field_test {

class FakeGameSceneLink : public IGameSceneLink {
public:
    FakeGameSceneLink() { SetGameSceneLink(this); }
    ~FakeGameSceneLink() { SetGameSceneLink(nullptr); }
    FakeGameSceneLink(const FakeGameSceneLink&) = delete;
    FakeGameSceneLink& operator=(const FakeGameSceneLink&) = delete;

    int GetState() const override { return state; }
    void SetState(int value) override {
        state = value;
        states.push_back(value);
    }
    void AddScore(int points) override {
        score = score + points < 0 ? 0 : score + points;
        scores.push_back(points);
    }
    int GetLevelNumber() const override { return level; }
    int GetEpisodeNumber() const override { return episode; }
    bool IsLastLevel() const override { return last_level; }

    bool IsToolAvailable(int tool) override { return available.count(tool) && available.at(tool); }
    void EnableTool(int tool, bool on) override { calls.push_back("EnableTool " + Args(tool, on)); }
    void ShowToolImage(int tool, bool show) override { calls.push_back("ShowToolImage " + Args(tool, show)); }
    void ResetToolProgress(int tool) override {
        progress[tool] = 0;
        calls.push_back("ResetToolProgress " + std::to_string(tool));
    }
    void EnableToolBlinks(bool on) override { calls.push_back(std::string("EnableToolBlinks ") + (on ? "1" : "0")); }
    bool AddToolProgress(int tool, int amount) override {
        progress[tool] += amount;
        return progress[tool] >= tool_max;
    }
    bool GetToolProgress(int tool, int& amount) override {
        if (tool < 1 || tool > 3) return false;
        amount = progress[tool];
        return true;
    }
    void SetToolProgress(int tool, int amount) override { progress[tool] = amount; }
    bool GetToolProgressPoint(int tool, CVector2& point) override {
        point = CVector2(100.0f * static_cast<float>(tool), 10.0f);
        return progress_points && tool >= 1 && tool <= 3;
    }
    bool GetToolButtonPos(int tool, CVector2& pos) override {
        pos = CVector2(100.0f * static_cast<float>(tool), 50.0f);
        return tool >= 1 && tool <= 3;
    }
    void ShowDanger() override { ++dangers; }
    void SwitchMood() override { ++mood_switches; }

    int state = gsDefault;
    int score = 0;
    int level = 0;
    int episode = 0;
    bool last_level = false;
    int tool_max = 100;
    // False: the panel shows no charge bar to point at.
    bool progress_points = true;
    int dangers = 0;
    int mood_switches = 0;
    std::map<int, bool> available;
    std::map<int, int> progress;
    std::vector<int> states, scores;
    std::vector<std::string> calls;

private:
    static std::string Args(int tool, bool flag) { return std::to_string(tool) + (flag ? " 1" : " 0"); }
};

}  // namespace field_test
