#pragma once
// Shared by the level and saved-game harnesses: the game field on the built
// data tree, as the game scene drives it, without drawing. Built once per
// process: the engine core (headless under SDL's dummy drivers), the field's
// globals, the particle effects, the explosions and a stand-in for the scene.
// Each input then plays some hundred frames of game time from a fixed seed,
// with a player who swaps the balls of the moves the field reports.
//
// The game scene catches what its update throws (logs it and goes on); the
// harness catches the same, except a processor fault, which stays a finding.
// What the scene's drawing throws ends the game, so it is never caught.
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "engine/base_app.h"
#include "engine/engine_core.h"
#include "engine/game_clock.h"
#include "engine/mouse.h"
#include "engine/random.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/balls_field.h"
#include "field/fake_game_scene_link.h"
#include "field/field_globals.h"
#include "field/game_field.h"
#include "field/glove.h"
#include "field/level_cfg.h"
#include "fuzz_support.h"
#include "game/background.h"
#include "game/background_desc.h"
#include "game/level_music_desc.h"
#include "game/live_scene_field.h"
#include "graphics/explosion.h"
#include "graphics/plume.h"
#include "gui/menu_progress_bar.h"
#include "levels/headless_core.h"
#include "platform/window.h"

namespace fuzz {

class FieldSession {
public:
    // Frames each input is played for, and the frames between two moves.
    static constexpr int kFrames = 600;
    static constexpr int kThinkFrames = 20;

    static FieldSession& Get() {
        static FieldSession session;
        return session;
    }

    // The input as a file of the scratch folder; its full path.
    std::string Input(const char* name, const uint8_t* data, size_t size) {
        LimitLog();
        const std::string path = WriteInput(name, data, size);
        fs::current_path(VOVARO_DATA_DIR);
        return path;
    }

    CGameField& Field() { return _field->GetField(); }
    field_test::FakeGameSceneLink& Scene() { return _scene; }

    // Starts the level file at `path` as the game scene does: the artefact of
    // the episode, the level's music and background, then the field. False
    // when the field refused the level (the scene goes back to the menu).
    bool Start(const std::string& path, int episode, int level) {
        SeedGame(1);
        GameClock().Reset();
        _scene.state = gsDefault;
        _scene.episode = episode;
        _scene.level = level;
        _scene.progress.clear();
        _scene.score = 0;
        _field->ResetArtefacts();
        _field->SetActiveArtefact(episode);
        _background->Clear();
        if (_started) _field->ClearLevel();
        _started = true;
        // The scene reads the level's music when it lists the episode's levels.
        Tolerating([&] {
            const CXMLFile file(path);
            LevelMusicDesc music;
            ParseLevelMusic(file.SelectSingleNode("//Level/Music"), music);
        });
        return _field->LoadLevel(path, [this](const CXMLNode& node) {
            CBackgroundDesc desc;
            if (PARSERS::ParseBackground(node, desc)) _background->Load(desc, 0);
        });
    }

    // Plays the started level: each frame the scene's update and drawing,
    // a move now and then, a lost life started again as the scene does; ends
    // early when the level is won.
    void Play() {
        int wait = kThinkFrames;
        for (int frame = 0; frame < kFrames; ++frame) {
            if (_field->NeedShowBeginEpisode()) _field->SetShowBeginEpisode(false);
            if (_scene.state == gsLifeLost) {
                _scene.state = gsDefault;
                AsTheSceneDoes([&] { _field->RestartLevel(); });
            }
            if (wait > 0) --wait;
            if (wait == 0 && MakeMove()) wait = kThinkFrames;
            Tick(static_cast<uint32_t>(frame));
            if (_scene.state == gsNextLevel || Field().GetStage() >= 2) break;
        }
    }

    // Runs a part of the scene's update: what it throws is logged there and
    // the game goes on; a processor fault is not caught.
    template <typename F>
    static void AsTheSceneDoes(F&& part) {
        try {
            part();
        } catch (const win32_exception&) {
            throw;
        } catch (const std::exception& e) {
            CLogger::Instance().Log(2, "CheckPoint - %s", e.what());
        }
    }

private:
    // The engine core is made in the data tree, where its sound keeper finds
    // the game's samples.
    static CEngineCore& MakeCore() {
        setenv("SDL_VIDEODRIVER", "dummy", 0);
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        Scratch();
        fs::current_path(VOVARO_DATA_DIR);
        return CEngineCore::Instance();
    }

    FieldSession() {
        if (!_core.Init(true) || !InitFieldGlobals() ||
            !_effects.LoadLibrary("Textures\\Plume\\Effects.plume")) {
            std::fprintf(stderr, "the game's data tree at %s does not start\n", VOVARO_DATA_DIR);
            std::abort();
        }
        CMenuProgressBar::LoadProgressBarKinds();
        explosion::SetExplosionManager(std::make_unique<CExplosion>());
        _field = std::make_unique<CLiveSceneField>();
        _background = CreateBackground();
    }
    // Torn down before the engine core, which was built first.
    ~FieldSession() {
        _field->ClearArtefacts();
        _field.reset();
        _background.reset();
        explosion::ReleaseExplosionManager();
        ShutdownFieldGlobals();
        CPlume::ReleaseLibrary();
    }

    // One frame: the field and the artefacts updated, then "drawn" headless,
    // which steps the animations and the background's layers.
    void Tick(uint32_t frame) {
        GameClock().Advance(g_FramePeriod);
        AsTheSceneDoes([&] { _field->UpdateArtefacts(); });
        AsTheSceneDoes([&] { _field->Update(); });
        CHeadlessCore::Scope scope(_headless);
        _background->RenderLow(1, frame);
        _field->Render();
        _field->RenderArtefacts();
        explosion::GetExplosionManager()->Update();
        _background->RenderHigh(1, frame);
        _field->RenderFlyingFragments();
    }

    // Clicks the two balls of one of the moves the field reports, chosen by
    // the game's generator; false when no move could be made now.
    bool MakeMove() {
        CGameField& field = Field();
        if (field.IsInputBlocked() || field.GetSwapFlag() != CGameField::sbNone || field.GetSelectionState() != 0 ||
            field.IsAnyBallBusy())
            return false;
        _moves.clear();
        if (!field.FindAvailableMoves(_moves) || _moves.empty()) return false;
        const MoveRecord move = _moves[RandomInt(0, static_cast<uint32_t>(_moves.size() - 1))];
        Click(move.from);
        Click(move.to);
        return true;
    }

    void Click(int cell) {
        float x = 0, y = 0;
        g_LevelCFG->CellCenterToScr(cell, x, y);
        _core.GetMouse()->SetPosition(static_cast<int>(x), static_cast<int>(y), 0);
        for (bool down : {true, false}) {
            _core.GetHWND()->InjectMouseButton(0, down);
            // The input poll of a frame, without drawing one.
            _core.GetInputManager()->Poll();
            static_cast<CMouse*>(_core.GetMouse())->Poll();
            AsTheSceneDoes([&] { _field->OnBallMove(); });
        }
    }

    CEngineCore& _core = MakeCore();
    CPlume _effects;
    CHeadlessCore _headless {_core};
    field_test::FakeGameSceneLink _scene;
    std::unique_ptr<CLiveSceneField> _field;
    std::shared_ptr<CBackground> _background;
    std::vector<MoveRecord> _moves;
    bool _started = false;
};

}  // namespace fuzz
