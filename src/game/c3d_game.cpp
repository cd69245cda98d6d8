#include "game/c3d_game.h"

#include "engine/engine_core_interface.h"
#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/game_cfg.h"
#include "field/game_flags.h"
#include "field/level_cfg.h"
#include "game/background.h"
#include "game/game_services.h"
#include "game/hints_manager.h"
#include "game/scene_field.h"
#include "graphics/explosion.h"
#include "graphics/font_keeper.h"
#include "gui/sample_queue.h"
#include "profiles/game_start_request.h"

namespace {

const char* const kPanelSample = "int_panel_open";
// Frames the lives display blinks after a bonus life.
constexpr uint32_t kBonusLifeBlinkFrames = 150;

// Inside a catch block of the update: the part's number, then what was caught.
void LogCheckPoint(int part) {
    CLogger::Instance().Log(2, "CheckPoint - %d", part);
    LogCurrentException("c3DGame::Update");
}

}  // namespace

c3DGame::c3DGame(std::unique_ptr<ISceneField> field)
    : AScene("Game"), _field(std::move(field)), _level_start_flags(std::make_unique<CGameFlags>()) {
    _panels.SetStateSource(this);
    SetGameSceneLink(this);
}

c3DGame::~c3DGame() {
    if (GetGameSceneLink() == this) SetGameSceneLink(nullptr);
}

void c3DGame::Init() {
    CLogger& log = CLogger::Instance();
    log.Log(0, " ");
    log.LogBold(0, "Starting GAME main init ...");
    if (CGameCfg* cfg = g_GameCFG.GetIfBuilt()) cfg->LoadGameConfig();
    if (CFontKeeper::Instance().GetSelectedLanguage() < 0) {
        log.Log(2, "Error: %s. File=%s, Line=%d", "font keeper still was not created!", __FILE__, __LINE__);
        return;
    }

    log.Log(0, "Creating interface panels...");
    {
        const CXMLFile dialogs("Settings\\Dialogs.xml");
        auto load = [&dialogs](CBaseDialog& dialog, const char* path) {
            dialog.Load(dialogs.SelectSingleNode(path));
        };
        load(_pause_dialog, "//Dialogs/PauseDialog");
        load(_leave_game_dialog, "//Dialogs/LeaveGameDialog");
        load(_statistics_dialog, "//Dialogs/StatisticsDialog");
        load(_game_over_dialog, "//Dialogs/GameOverDialog");
        load(_dying_dialog, "//Dialogs/DyingDialog");
        load(_help_dialog, "//Dialogs/HelpDialog");
        _panels.LoadFromDialogs();
        load(_episode_complete_dialog, "//Dialogs/EpisodeCompleteDialog");
        load(_start_episode_dialog, "//Dialogs/StartEpisodeDialog");
        load(_credits_dialog, "//Dialogs/CreditsDialog");
    }

    _screen_fade.SetSpeed(10);
    _screen_shaker.Reset();
    _level_start_message.Init();
    _game_message.Init();

    log.Log(0, "Creating background container...");
    _background = CreateBackground();

    _life_up_sample = "lives_up";
    _life_down_sample = "lives_down";
    if (ISoundKeeper* keeper = game::SoundKeeper()) {
        keeper->LoadSample(_life_up_sample);
        keeper->LoadSample(_life_down_sample);
    }

    RegisterPanels();
    LoadEpisodes();
    log.LogBold(0, "GAME initialized.");
}

void c3DGame::RegisterPanels() {
    const struct {
        CBaseDialog* dialog;
        uint8_t restore_previous;
    } panels[] = {
        {&_pause_dialog, 0},          {&_leave_game_dialog, 1},       {&_help_dialog, 1},
        {&_statistics_dialog, 0},     {&_episode_complete_dialog, 0}, {&_start_episode_dialog, 0},
        {&_dying_dialog, 0},          {&_game_over_dialog, 0},        {&_credits_dialog, 1},
    };
    for (const auto& p : panels) {
        _panel_manager.AddPanel(p.dialog, p.restore_previous);
        _panel_manager.SetPanelDirections(p.dialog, CVector2(0, 1), CVector2(0, -1));
        _panel_manager.SetPanelSounds(p.dialog, kPanelSample, kPanelSample);
    }
    _panel_manager.AddTransition(&_pause_dialog, &_leave_game_dialog, CPauseDialog::kMenu, 0, CVector2(0, 0));
    // The credits are glass: the help leaves while they show and comes back
    // with the activity when they close.
    _panel_manager.AddTransition(&_help_dialog, &_credits_dialog, CHelpDialog::kCredits, 1, CVector2(0, 1));
}

// Runs at every switch to the scene: its reset-needed flag stays set.
void c3DGame::Reset() {
    if (g_GameStartRequest.episode != GameStartRequest::kNoEpisode) {
        _game_var.episode = g_GameStartRequest.episode;
        _game_var.level = g_GameStartRequest.level;
    } else {
        _game_var.episode = 0;
        _game_var.level = 0;
    }
    g_SampleQueue.Clear();
    BeforeInit();
}

bool c3DGame::Update() {
    if (_start_refused) {
        _start_refused = 0;
        LeaveScene("Menu");
        return true;
    }
    try {
        try {
            ProcessFieldInput();
            UpdatePanelCommands();
            UpdateLevelStart();
            _field->UpdateArtefacts();
        } catch (...) {
            LogCheckPoint(100);
        }
        try {
            UpdateStateHandler();
        } catch (...) {
            LogCheckPoint(101);
        }
        try {
            if (!IsFrozen() || _field_shown) _field->Update();
        } catch (...) {
            LogCheckPoint(102);
        }
        try {
            if (_pending_request != prNone) AdvanceOrLeave();
        } catch (...) {
            LogCheckPoint(103);
        }
    } catch (...) {
        CLogger::Instance().Log(2, "Error: checkpoint 4");
        throw;
    }
    return true;
}

void c3DGame::Render() {
    try {
        _lives_blink = LivesBlinkAt(_bonus_life_end, _frame_counter) ? 1 : 0;
        ++_frame_counter;
        _music.Update();
    } catch (...) {
        CLogger::Instance().Log(2, "Error: checkpoint 1");
        throw;
    }
    try {
        if (g_EngineCore) g_EngineCore->Clear(0);
        if (_screen_shaker.IsActive()) _screen_shaker.Render();
        if (_background) _background->RenderLow(1, _frame_counter);
        _panels.Render(!HudTakesPointer());
        if (_field_shown) _field->Render();
        _field->RenderArtefacts();
        if (_explosions) _explosions->Update();
        if (_background) _background->RenderHigh(1, _frame_counter);
        // The banners stand over the board, the dialogs (the hint's and the
        // panels) over the banners, and the fade over everything.
        if (!_screen_fade.IsActive() && _level_start_message.IsShown()) _level_start_message.Render();
        if (_state == gsGameOver && _game_message.IsShown()) _game_message.Render();
        if (_state == gsHint) CHintsManager::Instance().Render();
        _panel_manager.Render();
        _screen_fade.Render();
        _field->RenderFlyingFragments();
    } catch (...) {
        CLogger::Instance().Log(2, "Error: checkpoint 2");
        throw;
    }
}

void c3DGame::OnActivate(bool active) {
    if (!active) SetState(gsPause);
}

void c3DGame::Destroy() {
    CLogger& log = CLogger::Instance();
    log.Log(0, " ");
    log.LogBold(0, "Destroying GAME...");
    if (_game_running) {
        Serialize();
        DestroyLevel();
        _game_running = 0;
    }
    log.Log(0, "Background ...");
    _background.reset();
    log.Log(0, "Destroying Dialogs...");
    _pause_dialog.Clear();
    _statistics_dialog.Clear();
    _episode_complete_dialog.Clear();
    _game_over_dialog.Clear();
    _dying_dialog.Clear();
    _panels.Clear();
    _help_dialog.Clear();
    _credits_dialog.Clear();
    _field->ClearArtefacts();
    log.LogBold(0, "GAME Destroyed.");
    log.Log(0, " ");
}

std::string c3DGame::GetEpisodeName() const {
    const std::string alias = "mission_" + std::to_string(_game_var.episode);
    return CFontKeeper::Instance().GetLabel(alias).text;
}

void c3DGame::ShowDanger() {
    if (_state == gsDefault) _panels.LifeIndicator().PlayDanger();
}

bool c3DGame::GetToolProgress(int tool, int& amount) {
    ToolValue value {tool, 0};
    if (!_panels.GetToolProgress(value)) return false;
    amount = value.value;
    return true;
}

// ---- score and lives

void c3DGame::AddScore(int points) {
    int score_for_life = 0;
    GetGameCfgInt("score_for_life", score_for_life);
    // Without a positive step there are no bonus lives (and nothing to divide by).
    const int before = score_for_life > 0 ? _game_var.score / score_for_life : 0;
    _game_var.score += points;
    if (_game_var.score < 0) _game_var.score = 0;
    const int after = score_for_life > 0 ? _game_var.score / score_for_life : 0;
    if (after - before < 1) return;
    _game_var.lives += after - before;
    _panels.LifeIndicator().PlayAddLife();
    _bonus_life_end = _frame_counter + kBonusLifeBlinkFrames;
    if (ISoundKeeper* keeper = game::SoundKeeper()) keeper->PlaySample("bonus_life");
}

int32_t c3DGame::AddLife() {
    if (!_life_up_sample.empty())
        if (ISoundKeeper* keeper = game::SoundKeeper()) keeper->PlaySample(_life_up_sample);
    return ++_game_var.lives;
}

int32_t c3DGame::LoseLife() {
    --_game_var.lives;
    if (_game_var.lives >= 0) {
        if (!_life_down_sample.empty())
            if (ISoundKeeper* keeper = game::SoundKeeper()) keeper->PlaySample(_life_down_sample);
    } else {
        _game_var.lives = 0;
    }
    return _game_var.lives;
}

void c3DGame::ResetLives() {
    int start_lives = 3;
    GetGameCfgInt("start_lives", start_lives);
    _game_var.lives = start_lives;
}

void c3DGame::ResetGame() {
    _game_var.score = 0;
    _hiscore_entry = -1;
    ResetLives();
    for (int tool : {kToolHammer, kToolEgg, kToolFeather}) {
        ResetToolProgress(tool);
        EnableTool(tool, false);
    }
}

void c3DGame::ComputeLevelStatistics(LevelStatistics& out) {
    LevelStatistics statistics = _field->GetLevelStatistics();
    statistics.episode = _game_var.episode;
    statistics.level = _game_var.level;
    int ace_seconds = 0;
    GetLevelCfgInt("ace_time", ace_seconds);
    const int32_t ace = ace_seconds * 1000;
    statistics.ace_time = ace;
    statistics.time_bonus = 0;
    if (statistics.time < ace) {
        const int32_t e = _game_var.episode;
        const int32_t b = ((e / 10 + 1) * (ace - statistics.time)) / (e + 1) + 100;
        statistics.time_bonus = (b / 100 + 1) * 100;
    }
    // A won level resumed from its stored end has its bonus in the score
    // already: the figures show that bonus, and it is not added again.
    if (_time_bonus_paid < 0) {
        AddScore(statistics.time_bonus);
        _time_bonus_paid = statistics.time_bonus;
    } else {
        statistics.time_bonus = _time_bonus_paid;
    }
    if (_won_level_score < 0)
        _won_level_score = statistics.score;
    else
        statistics.score = _won_level_score;
    out = statistics;
}

// ---- the holder

CGameHolder g_Game;

CGameHolder::~CGameHolder() = default;

void CGameHolder::Reset(std::unique_ptr<c3DGame> game) { _game = std::move(game); }
