#pragma once
// The application: the scene manager that the main loop runs. Its first call
// loads what the scenes share (difficulty levels, settings, language, the
// episode list and the music), adds the scenes and starts the first one: the
// game when the command line names an episode or the "run_menu" setting is
// off, else the menu. A switch to a scene that is not listed ends the run.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "engine/scene_manager.h"

class c3DGame;
class CGameMenu;
class CSelector;

class CBrakmoor : public CSceneManager {
public:
    // `game` is the program's game scene (it outlives the application).
    explicit CBrakmoor(c3DGame& game);
    ~CBrakmoor() override;

    // The main loop's first call.
    void Init() override { Create(); }
    bool Update() override;

    virtual void Create();
    // The episode count and the trophies of "Levels\Episodes.xml".
    void LoadEpisodes();

    const std::string& GetFirstScene() const { return _first_scene; }
    // Fixes the game's seed that the menu takes (else the calendar second).
    void SetGameSeed(uint32_t seed) { _game_seed = seed; }

    // The command line named a level that does not exist and the menu is
    // switched off: no scene started, and the run ends at its first update.
    bool IsStartRefused() const { return _start_refused; }
    CGameMenu* GetMenu() const { return _menu.get(); }
    CSelector* GetSelector() const { return _selector.get(); }

private:
    // True without a command-line start, or when the episode list holds its
    // level; otherwise says so.
    bool CommandLineLevelExists() const;

    c3DGame& _game;
    std::string _first_scene;
    bool _start_refused = false;
    // "level_count" of each listed episode, in order.
    std::vector<int> _level_counts;
    // The front end's scenes, made by Create; the selector goes before the menu.
    std::unique_ptr<CGameMenu> _menu;
    std::unique_ptr<CSelector> _selector;
    std::optional<uint32_t> _game_seed;
};

// Registers every music of "Settings\Music.xml" with the sound keeper; a list
// that cannot be read is logged and leaves the game without music.
void LoadMusic();
