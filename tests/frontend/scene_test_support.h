#pragma once
// Shared by the tests of the menu and selector scenes: a trophy room that
// records what the scenes ask of it and says idle when the test wants, the
// start request and the game's results reset around each test, and a saved
// game of a chosen position.
#include <string>
#include <vector>

#include "frontend/trophy_room.h"
#include "game/game_results.h"
#include "menu_test_support.h"
#include "profiles/game_start_request.h"

namespace scene_test {

class FakeTrophyRoom : public ITrophyRoom {
public:
    int resets = 0, restores = 0, renders = 0, updates = 0;
    int shown = -1;
    bool idle = true;
    std::string restored_node;

    void ResetForNewGame() override { ++resets; }
    void Restore(const CXMLNode& node) override;
    void ShowTrophies(int count) override { shown = count; }
    void Render() override { ++renders; }
    void Update() override { ++updates; }
    bool IsIdle() const override { return idle; }
};

inline void FakeTrophyRoom::Restore(const CXMLNode& node) {
    ++restores;
    restored_node = node.IsValid() ? node.GetName() : "";
}

class SceneTest : public menu_test::MenuTest {
protected:
    void SetUp() override {
        MenuTest::SetUp();
        g_GameStartRequest = GameStartRequest();
        g_GameStartRequest.episode_count = 5;
        g_GameCompleted = 0;
        g_LastGameScore = 0;
    }
    void TearDown() override {
        g_GameStartRequest = GameStartRequest();
        g_GameCompleted = 0;
        MenuTest::TearDown();
    }

    // A player who is made active.
    uint32_t AddPlayer(const std::string& name) {
        EXPECT_TRUE(store.AddPlayer(name));
        return store.GetActivePlayer();
    }
    // The active player's suspended game standing at (episode, level).
    void Suspend(int episode, int level, int score = 1200, int lives = 3) {
        const std::string text = "<Suspended><GameState episode=\"" + std::to_string(episode) + "\" level=\"" +
                                 std::to_string(level) + "\" score=\"" + std::to_string(score) + "\" lives=\"" +
                                 std::to_string(lives) + "\"/><TrophyRoom/></Suspended>";
        ASSERT_TRUE(store.SetPlayerSuspendedGame(store.GetActivePlayer(), {text.begin(), text.end()}));
    }
    bool HasSuspendedGame() {
        std::vector<uint8_t> data;
        return store.GetPlayerSuspendedGame(store.GetActivePlayer(), data);
    }
    int Available(int episode) {
        int32_t value = -1;
        store.GetEpisodeAvailability(store.GetActivePlayer(), episode, value);
        return value;
    }

    FakeTrophyRoom room;
};

}  // namespace scene_test
