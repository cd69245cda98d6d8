// The application with its three scenes run by the real main loop on the real
// data from a fresh user folder, driven only through the window's message
// queue (keys, pointer moves and clicks injected frame by frame): the first
// run's name, the options saved, a second player added and deleted, a new
// game through the selector, a match played, the pause and leave, the resume
// offer and the way back into the same level with the same score, and the
// exit button that ends the loop. The run is seeded and its clock moves one
// frame period per frame, so it plays the same field every time.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "engine/base_app.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/field_globals.h"
#include "frontend/brakmoor.h"
#include "frontend/game_menu.h"
#include "frontend/selector.h"
#include "field/game_field.h"
#include "field/level_cfg.h"
#include "field/move_record.h"
#include "game/c3d_game.h"
#include "game/hint_dialog.h"
#include "game/hints_manager.h"
#include "game/live_scene_field.h"
#include "game/scene_field.h"
#include "gui/base_control.h"
#include "gui/menu_track_bar.h"
#include "graphics/plume.h"
#include "platform/messages.h"
#include "scene_test_support.h"

using namespace scene_test;

namespace {

// Stands between the main loop and the window: the window's messages pass
// through; whenever the queue is empty a frame is due, and the script's
// current step runs once for it (it may inject input into the window). The
// clock moves one frame period per reading, so frames follow each other at once.
class CScriptedLoop : public plat::IMessageSource, public IClock {
public:
    using Step = std::function<bool()>;  // true when the step is done

    explicit CScriptedLoop(plat::Window& window) : _window(window) {}

    void Add(const std::string& name, Step step) { _steps.push_back({name, std::move(step)}); }

    bool PeekMessage(plat::Message* msg) override {
        if (_window.PeekMessage(msg)) return true;
        Tick();
        return _window.PeekMessage(msg);
    }
    void GetMessage(plat::Message* msg) override {
        if (!PeekMessage(msg)) *msg = plat::Message {plat::WM_QUIT, 0, 0};
    }
    intptr_t DispatchMessage(const plat::Message& msg) override { return _window.DispatchMessage(msg); }
    uint32_t TimeGetTime() override {
        _ticked = false;
        return _now += g_FramePeriod;
    }
    void SleepUntil(uint32_t) override {}

    size_t Done() const { return _index; }
    size_t Count() const { return _steps.size(); }
    std::string Current() const { return _index < _steps.size() ? _steps[_index].name : "(all done)"; }

private:
    static constexpr int kFrameLimit = 12000;

    void Tick() {
        if (_ticked) return;
        _ticked = true;
        if (++_frames > kFrameLimit) {
            // A step that never completes: the loop is ended and the test fails on the count.
            if (_frames == kFrameLimit + 1) _window.PostQuitMessage(0);
            return;
        }
        if (_index < _steps.size() && _steps[_index].run()) ++_index;
    }

    struct Entry {
        std::string name;
        Step run;
    };
    plat::Window& _window;
    std::vector<Entry> _steps;
    size_t _index = 0;
    int _frames = 0;
    uint32_t _now = 0;
    bool _ticked = false;
};

class FrontEndRunTest : public SceneTest {
protected:
    // The game scene's states that the script waits for.
    static constexpr int kDefault = 1, kPause = 6, kHint = 7;

    void SetUp() override {
        SceneTest::SetUp();
        ASSERT_TRUE(InitFieldGlobals());
        g_profiles.OpenProfiles();
        ASSERT_EQ(g_profiles.GetPlayerCount(), 0u);
        dialogs_ = std::make_unique<CXMLFile>("Settings\\Dialogs.xml");
        // The effect library, as the start-up loads it before the main loop.
        ASSERT_TRUE(effects_.LoadLibrary("Textures\\Plume\\Effects.plume"));
    }
    void TearDown() override {
        g_Game.Reset();
        ShutdownFieldGlobals();
        SceneTest::TearDown();
    }

    // The centre of a control of a dialog of the data (the game's own dialogs).
    std::pair<int, int> Centre(const std::string& dialog, const std::string& id) const {
        const CXMLNode n = dialogs_->SelectSingleNode("//Dialogs/" + dialog + "/Control[@id='" + id + "']");
        EXPECT_TRUE(n.IsValid()) << dialog << " " << id;
        return {n.GetAttributeInt("left", 0) + n.GetAttributeInt("width", 0) / 2,
                n.GetAttributeInt("top", 0) + n.GetAttributeInt("height", 0) / 2};
    }
    static std::pair<int, int> Centre(const CBaseDialog& d, const std::string& id) {
        const CBaseControl* c = d.FindControl(id);
        return {static_cast<int>(c->GetX() + c->GetWidth() / 2), static_cast<int>(c->GetY() + c->GetHeight() / 2)};
    }

    // A click over three frames: the pointer moves there, the button goes down, then up.
    CScriptedLoop::Step ClickAt(std::function<std::pair<int, int>()> where) {
        auto phase = std::make_shared<int>(0);
        return [=] {
            switch ((*phase)++) {
                case 0: {
                    const auto [x, y] = where();
                    window()->InjectMouseMove(x, y);
                    return false;
                }
                case 1: window()->InjectMouseButton(0, true); return false;
                default:
                    window()->InjectMouseButton(0, false);
                    *phase = 0;
                    return true;
            }
        };
    }
    // Keys pressed and released, one frame each.
    static CScriptedLoop::Step Keys(std::vector<int> keys) {
        auto at = std::make_shared<size_t>(0);
        return [=] {
            const size_t i = (*at)++;
            if (i / 2 >= keys.size()) {
                *at = 0;
                return true;
            }
            window()->InjectKey(keys[i / 2], i % 2 == 0);
            return false;
        };
    }
    // The game in normal play for `n` frames in a row; hints that come up
    // (a new player sees them) are closed with their continue button.
    static CScriptedLoop::Step Playing(int n) {
        auto calm = std::make_shared<int>(0);
        auto phase = std::make_shared<int>(0);
        return [=] {
            const int state = c3DGame::Instance().GetState();
            if (state == kHint || *phase) {
                const CHintsManager& hints = CHintsManager::Instance();
                if (*phase == 0 && hints.IsHintActive()) {
                    const auto [x, y] = Centre(*hints.GetDialog(static_cast<size_t>(hints.GetActiveIndex())), "ID_CONTINUE");
                    window()->InjectMouseMove(x, y);
                    *phase = 1;
                } else if (*phase == 1) {
                    window()->InjectMouseButton(0, true);
                    *phase = 2;
                } else if (*phase == 2) {
                    window()->InjectMouseButton(0, false);
                    *phase = 0;
                }
            }
            *calm = state == kDefault ? *calm + 1 : 0;
            if (*calm < n) return false;
            *calm = 0;
            return true;
        };
    }
    // The pause dialog up and settled.
    static CScriptedLoop::Step Paused() {
        auto frames = std::make_shared<int>(0);
        return [=] {
            *frames = c3DGame::Instance().GetState() == kPause ? *frames + 1 : 0;
            if (*frames < 45) return false;
            *frames = 0;
            return true;
        };
    }
    // Swaps the field itself offers, each by a click on a ball and one on its
    // neighbour, until the score rises (hints in the way are closed first).
    static CScriptedLoop::Step PlayAMatch() {
        auto phase = std::make_shared<int>(0);
        auto at = std::make_shared<std::vector<std::pair<int, int>>>();
        auto close_hints = std::make_shared<CScriptedLoop::Step>(Playing(1));
        return [=] {
            if (c3DGame::Instance().GetScore() > 0) return true;
            if (c3DGame::Instance().GetState() != kDefault) {
                // A hint in the middle of the clicks: it is closed, and the
                // swap starts again from a fresh move.
                if (*phase != 0) window()->InjectMouseButton(0, false);
                *phase = 0;
                (*close_hints)();
                return false;
            }
            const int p = (*phase)++;
            if (p == 0) {
                std::vector<MoveRecord> moves;
                auto& live = dynamic_cast<CLiveSceneField&>(c3DGame::Instance().Field());
                float fx = 0, fy = 0, tx = 0, ty = 0;
                if (!live.GetField().FindAvailableMoves(moves) || !g_LevelCFG->CellCenterToScr(moves[0].from, fx, fy) ||
                    !g_LevelCFG->CellCenterToScr(moves[0].to, tx, ty)) {
                    *phase = 0;  // the field is busy: try again next frame
                    return false;
                }
                *at = {{static_cast<int>(fx), static_cast<int>(fy)}, {static_cast<int>(tx), static_cast<int>(ty)}};
            }
            // Frames 0-2 click the ball, 3-5 its neighbour, then the swap plays out.
            if (p < 6) {
                const auto [x, y] = (*at)[static_cast<size_t>(p / 3)];
                if (p % 3 == 0) window()->InjectMouseMove(x, y);
                else window()->InjectMouseButton(0, p % 3 == 1);
            } else if (p > 90) {
                *phase = 0;
            }
            return false;
        };
    }
    static CScriptedLoop::Step Frames(int n) {
        auto left = std::make_shared<int>(n);
        return [=] {
            if (--*left > 0) return false;
            *left = n;
            return true;
        };
    }

    // The field at rest: nothing moves, falls or waits to be scored.
    static bool FieldIdle() {
        c3DGame& game = c3DGame::Instance();
        if (game.GetState() != kDefault) return false;
        CGameField& field = dynamic_cast<CLiveSceneField&>(game.Field()).GetField();
        return !field.IsInputBlocked() && field.GetSwapFlag() == CGameField::sbNone &&
               field.GetSelectionState() == 0 && !field.IsAnyBallBusy();
    }
    // Once the field has been at rest for a while (a line that balls have
    // just fallen into is found and starts to vanish in the next updates),
    // the score is read and Esc pressed in the same frame, so no update comes
    // between the two; released in the next. Hints that come up are closed.
    static CScriptedLoop::Step PauseAtRest(int32_t& score) {
        auto pressed = std::make_shared<bool>(false);
        auto rest = std::make_shared<int>(0);
        auto close_hints = std::make_shared<CScriptedLoop::Step>(Playing(1));
        return [=, &score] {
            if (*pressed) {
                window()->InjectKey(plat::VK_ESCAPE, false);
                *pressed = false;
                return true;
            }
            if (c3DGame::Instance().GetState() == kHint) (*close_hints)();
            *rest = FieldIdle() ? *rest + 1 : 0;
            if (*rest < 30) return false;
            score = c3DGame::Instance().GetScore();
            window()->InjectKey(plat::VK_ESCAPE, true);
            *pressed = true;
            return false;
        };
    }

    std::unique_ptr<CXMLFile> dialogs_;
    CPlume effects_;
};

TEST_F(FrontEndRunTest, APlayersFirstSessionThroughTheMenusIntoTheGameAndBack) {
    CBrakmoor app(c3DGame::Instance());
    // A seed with which a line was once left pending at the pause.
    app.SetGameSeed(1796948598u);
    CScriptedLoop script(*window());
    app.SetMessageSource(&script);
    app.SetClock(&script);
    CGameMenu* menu = nullptr;
    const auto ready = [&](CBaseDialog& panel) {
        return menu->IsActive() && menu->GetPanelManager().IsReady(&panel);
    };
    const auto main_ready = [&] { return menu && ready(menu->GetMainPanel()) && menu->GetState() == CGameMenu::MenuState::Main; };
    const auto main_button = [&](const char* id) { return ClickAt([&menu, id] { return Centre(menu->GetMainPanel(), id); }); };

    script.Add("splashes skipped", [&] {
        menu = app.GetMenu();
        if (!menu->IsSplashShowing()) return true;
        window()->InjectKey(plat::VK_ESCAPE, true);
        window()->InjectKey(plat::VK_ESCAPE, false);
        return false;
    });
    script.Add("the first player's panel", [&] { return ready(menu->GetFirstPlayerPanel()); });
    script.Add("a name typed", Keys({'A', 'N', 'N', plat::VK_RETURN}));
    script.Add("the main panel", main_ready);

    script.Add("options opened", main_button("ID_OPTIONS"));
    script.Add("the options panel", [&] { return ready(menu->GetOptionsPanel()); });
    int music_before = 0;
    script.Add("music quieter", ClickAt([&] {
        const CBaseControl* bar = menu->GetOptionsPanel().FindControl("ID_MUSIC");
        music_before = dynamic_cast<const CMenuTrackBar*>(bar)->GetPosition();
        return std::pair(static_cast<int>(bar->GetX()) + 12, static_cast<int>(bar->GetY()) + 12);
    }));
    script.Add("German", ClickAt([&] {
        const CBaseControl* bar = menu->GetOptionsPanel().FindControl("ID_LANG");
        return std::pair(static_cast<int>(bar->GetX() + bar->GetWidth()) - 12, static_cast<int>(bar->GetY()) + 12);
    }));
    script.Add("options saved", ClickAt([&] { return Centre(menu->GetOptionsPanel(), "ID_BACK"); }));
    script.Add("the main panel again", main_ready);

    script.Add("players opened", main_button("ID_SELECT_PROFILE"));
    script.Add("the players panel", [&] { return ready(menu->GetProfilePanel()); });
    script.Add("add a player", ClickAt([&] { return Centre(menu->GetProfilePanel(), "ID_ADD"); }));
    script.Add("the name panel", [&] { return ready(menu->GetAddUserPanel()); });
    script.Add("a second name typed", Keys({'B', 'O', plat::VK_RETURN}));
    script.Add("the main panel with the new player", main_ready);
    script.Add("players opened again", main_button("ID_SELECT_PROFILE"));
    script.Add("the players panel again", [&] { return ready(menu->GetProfilePanel()); });
    script.Add("delete the player", ClickAt([&] { return Centre(menu->GetProfilePanel(), "ID_DELETE"); }));
    script.Add("the question", [&] { return ready(menu->GetDeleteConfirmation()); });
    script.Add("yes", ClickAt([&] { return Centre(menu->GetDeleteConfirmation(), "ID_YES"); }));
    script.Add("the list of one", [&] { return ready(menu->GetProfilePanel()) && g_profiles.GetPlayerCount() == 1; });
    script.Add("back", ClickAt([&] { return Centre(menu->GetProfilePanel(), "ID_BACK"); }));
    script.Add("the main panel for the game", main_ready);

    script.Add("play", main_button("ID_ARCADE"));
    script.Add("the selector", [&] { return app.GetSelector()->IsActive(); });
    script.Add("settled", Frames(30));
    script.Add("episode 1", ClickAt([&] { return Centre(app.GetSelector()->GetSelectionPanel(), "ID_OK"); }));
    script.Add("the game", [&] { return c3DGame::Instance().IsActive(); });
    // The field appears, then the episode's dialog slides in and waits.
    const auto episode_dialog_ready = [] {
        c3DGame& game = c3DGame::Instance();
        return game.PanelManager().IsReady(&game.StartEpisodeDialog());
    };
    script.Add("the episode's dialog", episode_dialog_ready);
    script.Add("play the level", ClickAt([&] { return Centre("StartEpisodeDialog", "ID_OK"); }));
    script.Add("the dialog gone", [] {
        c3DGame& game = c3DGame::Instance();
        return !game.PanelManager().IsShown(&game.StartEpisodeDialog());
    });
    script.Add("playing", Playing(120));
    script.Add("a match", PlayAMatch());
    int32_t score_left = -1;
    script.Add("calm again", Playing(60));
    script.Add("pause with the score left", PauseAtRest(score_left));
    script.Add("the pause", Paused());
    script.Add("to the menu", ClickAt([&] { return Centre("PauseDialog", "ID_MENU"); }));
    script.Add("the question to leave", Frames(60));
    script.Add("leave", ClickAt([&] { return Centre("LeaveGameDialog", "ID_LEAVE"); }));
    script.Add("the menu after the game", main_ready);

    script.Add("play on", main_button("ID_ARCADE"));
    script.Add("the resume offer", [&] { return ready(menu->GetResumePanel()); });
    script.Add("load", ClickAt([&] { return Centre(menu->GetResumePanel(), "ID_LOAD"); }));
    script.Add("the game again", [&] { return c3DGame::Instance().IsActive(); });
    int32_t resumed_episode = -1, resumed_level = -1, resumed_score = -1;
    script.Add("the same level", [&] {
        resumed_episode = c3DGame::Instance().GetEpisodeIndex();
        resumed_level = c3DGame::Instance().GetLevelIndex();
        resumed_score = c3DGame::Instance().GetScore();
        return true;
    });
    script.Add("played a little", Playing(120));
    script.Add("pause again", Keys({plat::VK_ESCAPE}));
    script.Add("the pause again", Paused());
    script.Add("to the menu again", ClickAt([&] { return Centre("PauseDialog", "ID_MENU"); }));
    script.Add("the question again", Frames(60));
    script.Add("leave again", ClickAt([&] { return Centre("LeaveGameDialog", "ID_LEAVE"); }));
    script.Add("the menu at the end", main_ready);
    script.Add("exit", main_button("ID_EXIT"));

    EXPECT_EQ(RunApplication(app), 0);
    const std::string log = NewLog();
    EXPECT_EQ(script.Done(), script.Count()) << "stopped at: " << script.Current() << "\n" << log.substr(log.size() > 6000 ? log.size() - 6000 : 0);

    for (const char* line : {"Activating ProfilesDialog...", "Activating OptionsDialog...", "User selected episode #0",
                             "Activating LoadSuspendedDialog...", "User pressed exit button...",
                             "Destroying GAME MENU..."})
        EXPECT_NE(log.find(line), std::string::npos) << line;
    // The options were saved: the music one step quieter, the language German.
    const std::string config = TempFolder::Read(ConfigPath());
    EXPECT_NE(config.find("mus_vol=\"" + std::to_string(music_before - 1) + "\""), std::string::npos) << config;
    EXPECT_NE(config.find("language=\"1\""), std::string::npos) << config;
    // One player, whose game is kept where it was left.
    ASSERT_EQ(g_profiles.GetPlayerCount(), 1u);
    std::string name;
    EXPECT_EQ(g_profiles.GetPlayerName(name, 0), "ANN");
    std::vector<uint8_t> suspended;
    EXPECT_TRUE(g_profiles.GetPlayerSuspendedGame(0, suspended));
    EXPECT_EQ(resumed_episode, 0);
    EXPECT_EQ(resumed_level, 0);
    EXPECT_GT(score_left, 0);
    EXPECT_EQ(resumed_score, score_left);
}

}  // namespace
