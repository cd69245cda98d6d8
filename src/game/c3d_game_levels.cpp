// Episodes and levels: the list of episodes, one episode's level records, the
// start of a game or of the next level, and a level's start and teardown.
#include <cstdio>
#include <memory>

#include "engine/engine_core_interface.h"
#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/game_flags.h"
#include "game/background.h"
#include "game/background_desc.h"
#include "game/c3d_game.h"
#include "game/game_services.h"
#include "game/game_state_desc.h"
#include "game/hints_manager.h"
#include "game/loading_screen.h"
#include "game/scene_field.h"
#include "graphics/explosion.h"
#include "gui/sample_queue.h"
#include "profiles/app_params.h"
#include "profiles/game_start_request.h"
#include "profiles/store_guard.h"
#include "profiles/user_profiles.h"

namespace {

const char* const kEpisodesFile = "Levels\\Episodes.xml";

void LogNoEpisodes(int line) {
    CLogger::Instance().Log(2, "Error: %s. File=%s, Line=%d", "No episodes!", __FILE__, line);
}

std::string LevelPath(int32_t episode, int32_t level) {
    return "Levels\\Episode_" + std::to_string(episode) + "\\Level_" + std::to_string(level) + ".xml";
}

IMouseController* Mouse() { return g_EngineCore ? g_EngineCore->GetMouse() : nullptr; }

}  // namespace

bool c3DGame::LoadEpisodes() {
    const CXMLFile file(kEpisodesFile);
    const CXMLNodeList episodes = file.SelectNodes("//Episodes/Episode");
    if (episodes.IsValid()) {
        _episode_count = static_cast<uint32_t>(episodes.GetLength());
        if (_episode_count != 0) return true;
    }
    LogNoEpisodes(__LINE__);
    return false;
}

bool c3DGame::LoadEpisode(int32_t episode, EpisodeDesc& desc) {
    CLogger& log = CLogger::Instance();
    log.Log(0, "Loading episode #%d", episode);
    if (IMouseController* mouse = Mouse()) mouse->ShowCursor(false);
    std::unique_ptr<CLoadingScreen> loading;
    if (g_EngineCore) loading = std::make_unique<CLoadingScreen>();

    const CXMLFile file(kEpisodesFile);
    const CXMLNodeList episodes = file.SelectNodes("//Episodes/Episode");
    if (!episodes.IsValid() || episode < 0 || episode >= episodes.GetLength()) {
        LogNoEpisodes(__LINE__);
        return false;
    }
    const CXMLNode element = episodes.GetItem(episode);
    // The episode's fragments build the artefact its "glove_base_id" names.
    _field->SetActiveArtefact(element.GetAttributeInt("glove_base_id", episode));
    const int count = element.GetAttributeInt("level_count", 0);
    desc.LevelsCount = count > 0 ? static_cast<uint32_t>(count) : 0;
    for (uint32_t l = 0; l < desc.LevelsCount; ++l) {
        if (loading) loading->Draw();
        LevelDesc level;
        level.episode = episode;
        level.level = static_cast<int32_t>(l);
        log.Log(0, "Loading Level #%d", level.level);
        const std::string path = LevelPath(episode, level.level);
        LoadLevelMusic(path, level);
        level.path = path;
        desc.Levels.push_back(std::move(level));
    }
    if (loading) loading->Draw();
    return true;
}

bool c3DGame::LoadLevelMusic(const std::string& path, LevelDesc& desc) {
    const CXMLFile file(path);
    ParseLevelMusic(file.SelectSingleNode("//Level/Music"), desc.music);
    return true;
}

void c3DGame::ResolveLevelMusic(EpisodeDesc& desc, size_t level_index) {
    ASSERT_THROW_IF_FAILED(level_index < desc.Levels.size());
    if (desc.Levels[level_index].music.Normal.track != MusicTrackRef::kNoTrack) return;
    for (size_t l = level_index; l-- > 0;) {
        if (desc.Levels[l].music.Normal.track == MusicTrackRef::kNoTrack) continue;
        desc.Levels[level_index].music = desc.Levels[l].music;
        return;
    }
}

void c3DGame::ReportMissingLevel(int32_t episode, int32_t level) {
    char line[160];
    std::snprintf(line, sizeof line, "Error: there is no level %d in episode %d (%s); no game starts there.", level,
                  episode, kEpisodesFile);
    std::fprintf(stderr, "%s\n", line);
    CLogger::Instance().Log(2, "%s", line);
}

bool c3DGame::ReadSuspendedGame(std::vector<uint8_t>& data, GameStateDesc& state) {
    CLogger& log = CLogger::Instance();
    log.Log(0, "Loading suspended game...");
    try {
        // A store that cannot be read leaves no text: the game starts afresh below.
        GuardStoreCall("c3DGame::BeforeInit", false,
                       [&] { return ASSERT(g_profiles.GetPlayerSuspendedGame(g_profiles.GetActivePlayer(), data)); });
    } catch (...) {
        LogCurrentException("c3DGame::BeforeInit");
        SetRequest(kRequestQuit);
        return false;
    }
    if (!VERIFY(PARSERS::ParseGameState(data, state))) {
        // The game goes on as the fresh one it was started as.
        log.Log(2, "Error: the suspended game does not parse; the game starts with fresh lives and score.");
        data.clear();
    }
    return true;
}

void c3DGame::BeforeInit() {
    CLogger& log = CLogger::Instance();
    // Nothing is saved for this game until one of its levels has started.
    _game_running = 0;
    _start_refused = 0;
    _time_bonus_paid = -1;
    _won_level_score = -1;
    const int32_t mode = g_GameStartRequest.mode;
    const bool starting = g_GameStartRequest.start_flag != 0;
    std::vector<uint8_t> suspended_data;
    GameStateDesc suspended_state;
    if (starting) {
        log.Log(0, " ");
        log.LogBold(0, "Starting GAME...");
        ResetGame();
        _field->ResetArtefacts();
        if (mode != 0) {
            if (!ReadSuspendedGame(suspended_data, suspended_state)) return;
            if (!suspended_data.empty() && mode == 1) {
                _game_var.episode = suspended_state.episode;
                _game_var.level = suspended_state.level;
            }
        }
    }
    g_GameStartRequest.mode = 0;
    g_GameStartRequest.start_flag = 0;

    // An episode the list does not hold is refused before it is loaded; with
    // no list at all the load below fails and the program ends.
    const bool episode_listed = _game_var.episode >= 0 && static_cast<uint32_t>(_game_var.episode) < _episode_count;
    if (_episode_count > 0 && !episode_listed) {
        RefuseMissingLevel();
        return;
    }
    if (starting || (episode_listed && _game_var.level == 0)) {
        _episode.Levels.clear();
        if (!LoadEpisode(_game_var.episode, _episode)) {
            SetRequest(kRequestQuit);
            return;
        }
    }
    if (_game_var.level < 0 || static_cast<size_t>(_game_var.level) >= _episode.Levels.size()) {
        RefuseMissingLevel();
        return;
    }
    const size_t level = static_cast<size_t>(_game_var.level);
    if (mode != 0) ResolveLevelMusic(_episode, level);
    _last_level = level == _episode.Levels.size() - 1 ? 1 : 0;
    _last_episode = _episode_count > 0 && static_cast<uint32_t>(_game_var.episode) == _episode_count - 1 ? 1 : 0;
    // A level that cannot be loaded has gone back to the menu.
    if (!StartLevel(_episode.Levels[level])) return;
    _pending_request = prNone;
    _game_running = 1;

    switch (mode) {
        case 1:
            if (!suspended_data.empty() && !DeserializeState(suspended_data)) {
                LogFailedCheck("Verify", "DeserializeState( suspended_data )", __FILE__, __LINE__);
                // Never a half-restored board: the level starts afresh, with
                // the saved lives and score that DeserializeState has set.
                log.Log(2, "Error: the saved board could not be restored; the level starts afresh.");
                _field->RestartLevel();
            }
            // A game stored at a won level's end resumes there, its figures
            // shown again, whatever stage its board had reached (a level won
            // by the debug key still holds its tiles).
            if (_time_bonus_paid >= 0) SetState(gsNextLevel);
            break;
        case 2:
            if (starting && !suspended_data.empty()) {
                _game_var.lives = suspended_state.lives;
                _game_var.score = suspended_state.score;
                _hiscore_entry = SavedHiscoreEntry(suspended_data);
            }
            g_profiles.SetPlayerState(g_profiles.GetActivePlayer(), 0);
            g_SampleQueue.Add("lev_started");
            break;
        default: g_SampleQueue.Add("lev_started"); break;
    }
    // The stored game follows the game into every level it starts: after a
    // crash the game resumes here, not in the level before.
    Serialize();
    // Without an answer from the store no hint is offered in this level.
    if (!GuardStoreCall("c3DGame::BeforeInit", false, [&] {
            CHintsManager::Instance().CollectUnshownHints(g_profiles.GetActivePlayer(), _pending_hints);
            return true;
        }))
        _pending_hints.clear();
    _music.Play();
}

void c3DGame::RefuseMissingLevel() {
    ReportMissingLevel(_game_var.episode, _game_var.level);
    g_GameStartRequest.episode = GameStartRequest::kNoEpisode;
    g_GameStartRequest.level = 0;
    // The scene is made active once its reset returns: it leaves with its
    // first update.
    _start_refused = 1;
}

bool c3DGame::StartLevel(LevelDesc& desc) {
    CLogger& log = CLogger::Instance();
    _snapshot_valid = 0;
    _preserialized_state.clear();
    _field_shown = 1;
    _lives_blink = 1;
    _bonus_life_end = 0;
    log.Log(0, " ");
    log.LogBold(0, "Starting level initialization...");
    _panel_manager.Reset();

    std::unique_ptr<CLoadingScreen> loading;
    if (_game_var.level == 0 && g_EngineCore) {
        loading = std::make_unique<CLoadingScreen>();
        loading->Draw();
    }
    _frame_counter = static_cast<uint32_t>(g_AppParams.third_number);
    _pending_request = prNone;

    _screen_fade.SetHold(false);
    if (_game_var.level == 0) {
        _screen_fade.StartReverse(0, 255);
    } else {
        _screen_fade.Stop();
        _screen_fade.SetAlpha(0);
    }
    if (loading) loading->Draw();

    _level_start_message.Show("StartingLevel", _game_var.level + 1, "mission_" + std::to_string(_game_var.episode));
    log.Log(0, "Creating EXPLOSION...");
    _explosions = explosion::GetExplosionManager();
    // The sound effects are decoded now, not at their first play in the middle of a frame.
    if (ISoundKeeper* keeper = game::SoundKeeper()) keeper->LoadAllSamples();
    if (loading) loading->Draw();

    _music.SetTracks(desc.music, true);
    if (IMouseController* mouse = Mouse()) mouse->ResetButtons();
    log.Log(0, "Initializing Level...");
    _field->SetPraiseArea(HintArea());
    if (!_field->LoadLevel(desc.path, [this](const CXMLNode& node) { LoadBackground(node); })) {
        // A half-built level is never played: the scene goes back to the menu.
        log.Log(2, "Error: The level '%s' could not be loaded; the game goes back to the menu.", desc.path.c_str());
        DestroyLevel();
        _game_running = 0;
        LeaveScene("Menu");
        return false;
    }
    if (loading) loading->Draw();

    SetState(gsDefault);
    _panels.Activate();
    log.LogBold(0, "Finished level initialization.");
    _level_start_flags->ResetAll();
    return true;
}

void c3DGame::LoadBackground(const CXMLNode& node) {
    if (!_background) return;
    CBackgroundDesc desc;
    if (PARSERS::ParseBackground(node, desc)) _background->Load(desc, 0);
}

void c3DGame::DestroyLevel() {
    CLogger& log = CLogger::Instance();
    log.Log(0, " ");
    log.LogBold(0, "Destroying level...");
    log.Log(0, "Complex background ...");
    if (_background) _background->Clear();
    log.LogBold(0, "Destroying Level...");
    _field->ClearLevel();
    log.Log(0, "Explosion manager ...");
    _explosions = nullptr;
    explosion::ReleaseExplosionManager();
}
