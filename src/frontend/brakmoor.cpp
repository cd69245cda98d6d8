#include "frontend/brakmoor.h"

#include <memory>
#include <stdexcept>
#include <vector>

#include "engine/engine_core_interface.h"
#include "engine/fault_translation.h"
#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "frontend/game_menu.h"
#include "frontend/selector.h"
#include "frontend/trophy_room.h"
#include "game/c3d_game.h"
#include "game/game_results.h"
#include "game/scene_field.h"
#include "graphics/font_keeper.h"
#include "profiles/difficulty_table.h"
#include "profiles/game_settings.h"
#include "profiles/game_start_request.h"
#include "profiles/user_profiles.h"

namespace {

const char* const kGameName = "Tolvan Vovaro";
const char* const kMusicFile = "Settings\\Music.xml";

}  // namespace

CBrakmoor::CBrakmoor(c3DGame& game) : _game(game) {}

CBrakmoor::~CBrakmoor() {
    // The scenes leave before the front end's own are destroyed (nothing when
    // the loop's end has run it already).
    CSceneManager::Exit();
}

void CBrakmoor::Create() {
    CLogger& log = CLogger::Instance();
    if (!g_DifficultyTable) g_DifficultyTable = CreateDifficultyTable();
    g_DifficultyTable->LoadDifficulty();
    _first_scene.clear();
    _start_refused = false;
    bool run_menu = true;
    try {
        GameOptions options;
        if (!CGameSettings::Instance().LoadSettings(options)) throw std::runtime_error("Fatal error!");
        SetLanguage(options.language);
        run_menu = options.run_menu;
        _first_scene =
            g_GameStartRequest.episode == GameStartRequest::kNoEpisode && options.run_menu ? "Menu" : "Game";
        log.Log(0, " ");
        log.Log(0, "Game %s version: %s", kGameName, CFontKeeper::Instance().GetLabel("VersionNumber").text.c_str());
        log.Log(0, " ");
    } catch (...) {
        LogCurrentException("CBrakmoor::Create");
    }
    if (_first_scene.empty()) _first_scene = "Menu";

    LoadEpisodes();
    if (!CommandLineLevelExists()) {
        // A level that does not exist is never played: the menu instead, or
        // no run at all when the player switched the menu off.
        g_GameStartRequest.episode = GameStartRequest::kNoEpisode;
        g_GameStartRequest.level = 0;
        _first_scene = "Menu";
        _start_refused = !run_menu;
    }
    LoadMusic();
    g_LastGameScore = 0;
    g_GameCompleted = 0;

    _menu = std::make_unique<CGameMenu>(GloveTrophyRoom());
    _menu->SetSeed(_game_seed);
    // A game has no one to save for until a player exists: ask for the
    // first player's name, as a first run does, and start the game then.
    if (_first_scene == "Game" && !g_profiles.HasActivePlayer()) {
        log.Log(0, "No player yet: the game starts once the first player's name is given.");
        _menu->HoldGameStart(g_GameStartRequest.episode, g_GameStartRequest.level);
        _first_scene = "Menu";
    }
    AddScene(_menu.get());
    _selector = std::make_unique<CSelector>(GloveTrophyRoom());
    AddScene(_selector.get());
    AddScene(&_game);
    CSceneManager::Init();
    if (_start_refused) return;
    if (_first_scene == "Game") g_GameStartRequest.start_flag = 1;
    ActivateScene(_first_scene);
    if (!FindScene(_first_scene)) log.Log(2, "Error: the first scene '%s' is not available; the run ends.", _first_scene.c_str());
}

bool CBrakmoor::Update() {
    if (_start_refused) return false;
    const bool go_on = CSceneManager::Update();
    for (const AScene* scene : _scenes)
        if (scene->IsActive()) return go_on;
    // Nothing runs any more: a scene left for one that is not listed.
    const std::string next = _game.GetNextScene().empty() ? _first_scene : _game.GetNextScene();
    CLogger::Instance().Log(0, "Scene '%s' is not available; the run ends.", next.c_str());
    return false;
}

void CBrakmoor::LoadEpisodes() {
    try {
        const CXMLFile file("Levels\\Episodes.xml");
        const CXMLNodeList episodes = file.SelectNodes("//Episodes/Episode");
        _level_counts.clear();
        if (episodes.IsValid()) g_GameStartRequest.episode_count = episodes.GetLength();
        if (!episodes.IsValid() || episodes.GetLength() == 0) {
            CLogger::Instance().Log(2, "Error: %s. File=%s, Line=%d", "No episodes!", "Dudidir2", __LINE__);
            return;
        }
        // The level counts first: a trophy that fails must not cost the checks of the command line.
        for (int i = 0; i < episodes.GetLength(); ++i)
            _level_counts.push_back(episodes.GetItem(i).GetAttributeInt("level_count", 0));
        for (int i = 0; i < episodes.GetLength(); ++i)
            _game.Field().AddTrophy(episodes.GetItem(i).GetAttributeInt("glove_base_id", 0));
    } catch (...) {
        LogCurrentException("CBrakmoor::LoadEpisodes");
    }
}

bool CBrakmoor::CommandLineLevelExists() const {
    const int32_t episode = g_GameStartRequest.episode;
    const int32_t level = g_GameStartRequest.level;
    if (episode == GameStartRequest::kNoEpisode) return true;
    if (episode >= 0 && static_cast<size_t>(episode) < _level_counts.size() && level >= 0 &&
        level < _level_counts[static_cast<size_t>(episode)])
        return true;
    c3DGame::ReportMissingLevel(episode, level);
    return false;
}

void LoadMusic() {
    ISoundKeeper* keeper = g_EngineCore ? g_EngineCore->GetSoundKeeper() : nullptr;
    // A music list that cannot be read is no reason to stop: the game goes on
    // without music (the reader has logged the file, this says the outcome).
    std::unique_ptr<CXMLFile> file;
    try {
        file = std::make_unique<CXMLFile>(kMusicFile);
    } catch (...) {
        LogCurrentException("LoadMusic");
        CLogger::Instance().Log(2, "Error: the music list '%s' cannot be read; the game plays without music.",
                                kMusicFile);
        return;
    }
    const CXMLNodeList music = file->SelectNodes("//Music/File");
    for (int i = 0; i < music.GetLength(); ++i) {
        const CXMLNode node = music.GetItem(i);
        CMusicDesc desc;
        desc.file_name = node.GetAttribute("name", "");
        TokenizeInts(&desc.patterns, node.GetAttribute("patterns", "0"), " ,");
        const std::string alias = node.GetAttribute("alias", "");
        if (!keeper || !keeper->LoadMusic(alias, desc))
            CLogger::Instance().Log(2, "Error: Failed to load music '%s'!", alias.c_str());
    }
}
