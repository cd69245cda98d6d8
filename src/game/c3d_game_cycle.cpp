// The game's state machine: entering a state, the per-frame handlers, the
// panel commands, the episode-start dialog and the pending requests.
#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "field/game_flags.h"
#include "field/hint_info.h"
#include "game/c3d_game.h"
#include "game/game_results.h"
#include "game/hints_manager.h"
#include "game/scene_field.h"
#include "profiles/game_start_request.h"
#include "profiles/store_guard.h"
#include "profiles/user_profiles.h"

namespace {

IMouseController* Mouse() { return g_EngineCore ? g_EngineCore->GetMouse() : nullptr; }

void CursorOn() {
    if (IMouseController* mouse = Mouse()) mouse->ShowCursor(true);
}

// A click in progress must not count for what has just been shown.
void ClearButtons() {
    if (IMouseController* mouse = Mouse()) mouse->ResetButtons();
}

void LogState(const char* name) { CLogger::Instance().Log(0, "Changing game state: %s", name); }

}  // namespace

bool c3DGame::IsFrozen() const { return _state == gsPause || _state == gsHint || _state == gsHelp; }

void c3DGame::SetState(int state) {
    if (state == _state) return;
    ASSERT(state != gsUnknown);
    const int previous = _state;
    _state = state;
    if (state == gsPause && !EnterPause(previous)) {
        _state = previous;
        return;
    }
    EnterState(state, previous);
    _field->OnGameStateChanged(_state);
}

bool c3DGame::EnterPause(int previous) {
    switch (previous) {
        case gsUnknown:
        case gsDefault:
        case gsHint:
            // Not while the episode-start dialog is still to come.
            if (_game_var.level == 0 && _field->NeedShowBeginEpisode()) return false;
            break;
        case gsGameOver:
            // A pause in the game over ends it at once.
            _pending_request = prGameOver;
            return false;
        default: return false;
    }
    LogState("gsPause");
    CursorOn();
    _pause_dialog.Activate();
    _panel_manager.ShowPanel(&_pause_dialog, true);
    return true;
}

void c3DGame::EnterState(int state, int previous) {
    switch (state) {
        case gsDefault:
            LogState("gsDefault");
            CursorOn();
            break;
        case gsNextLevel: {
            LogState("gsNextLevel");
            CursorOn();
            LevelStatistics statistics;
            ComputeLevelStatistics(statistics);
            StoreLevelTime(statistics);
            RaiseHiscore();
            // The stored game from here to the next level is the won level as
            // shown: its bonus paid and its entry in the best scores made.
            _snapshot_valid = 0;
            const bool built = SerializeState(_preserialized_state);
            VERIFY(built);
            _snapshot_valid = built ? 1 : 0;
            _statistics_dialog.Show(statistics);
            _panel_manager.ShowPanel(&_statistics_dialog, true);
            _field->QueueLevelEndSteps();
            break;
        }
        case gsNextEpisode:
            LogState("gsNextEpisode");
            CursorOn();
            _episode_fade_started = 0;
            _episode_complete_dialog.Show(_game_var.episode, "episode_complete");
            _panel_manager.ShowPanel(&_episode_complete_dialog, true);
            break;
        case gsGameOver:
            LogState("gsGameOver");
            _game_over_shown = 0;
            _game_message.SetDuration(300);
            _game_message.Show("GameOver", CGameMessage::kFade);
            VERIFY(g_profiles.ErasePlayerSuspendedGame(g_profiles.GetActivePlayer()));
            ClearButtons();
            _field->QueueLifeLostSteps();
            break;
        case gsLifeLost:
            if (LoseLife() <= 0) {
                SetState(gsGameOver);
                return;
            }
            _dying_dialog.Show(5000, static_cast<uint32_t>(_game_var.lives));
            _panel_manager.ShowPanel(&_dying_dialog, true);
            ClearButtons();
            _field->QueueLifeLostSteps();
            break;
        case gsHint:
            LogState("gsHint");
            CursorOn();
            break;
        case gsGameWon:
            LogState("gsGameWon");
            CursorOn();
            VERIFY(g_profiles.SetGameWon(g_profiles.GetActivePlayer(), true));
            _pending_request = prGameWon;
            break;
        case gsHelp:
            LogState("gsHelp");
            CursorOn();
            _saved_state = previous;
            _help_dialog.Activate();
            _panel_manager.ShowPanel(&_help_dialog, true);
            break;
        default: break;
    }
}

void c3DGame::StoreLevelTime(LevelStatistics& statistics) {
    // A store that fails leaves the statistics without the best time.
    GuardStoreCall("c3DGame::StoreLevelTime", false, [&] {
        const uint32_t player = g_profiles.GetActivePlayer();
        g_profiles.SetLevelTime(player, statistics.episode, statistics.level, statistics.time);
        int32_t holder = 0;
        if (!g_profiles.GetBestLevelTime(statistics.episode, statistics.level, holder)) return false;
        g_profiles.GetLevelTime(holder, statistics.episode, statistics.level, statistics.best_time);
        g_profiles.GetPlayerNameById(statistics.best_player, holder);
        return true;
    });
}

void c3DGame::RaiseHiscore() {
    g_profiles.RaiseHiscore(g_profiles.GetActivePlayer(), _hiscore_entry, _game_var.score);
}

void c3DGame::UpdateStateHandler() {
    switch (_state) {
        case gsDefault: UpdateHintTrigger(); break;
        case gsNextLevel: UpdateNextLevel(); break;
        case gsNextEpisode: UpdateNextEpisode(); break;
        case gsGameOver: UpdateGameOver(); break;
        case gsLifeLost: UpdateLifeLost(); break;
        case gsPause: UpdatePause(); break;
        case gsHint: UpdateHint(); break;
        case gsHelp: UpdateHelp(); break;
        default: break;  // gsGameWon: its request is carried out in this frame
    }
}

CFloatRect c3DGame::HintArea() const {
    CFloatRect area(0, 0, static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenWidth() : 800),
                    static_cast<float>(g_EngineCore ? g_EngineCore->GetScreenHeight() : 600));
    CFloatRect panel;
    if (_panels.GetBounds(panel) && panel.right > area.left && panel.right < area.right) area.left = panel.right;
    return area;
}

void c3DGame::UpdateHintTrigger() {
    if (_pending_hints.empty()) return;
    CHintsManager& hints = CHintsManager::Instance();
    const uint32_t player = g_profiles.GetActivePlayer();
    for (auto it = _pending_hints.begin(); it != _pending_hints.end(); ++it) {
        HintInfo info;
        if (!hints.GetHintInfo(*it, info)) continue;
        info.area = HintArea();
        CVector2 hint_src;
        // A hint the field cannot place yet stays queued for the next frame.
        if (!_field->GetHintSource(info, hint_src)) continue;
        VERIFY(hints.ShowHint(player, *it, hint_src.x, hint_src.y));
        _pending_hints.erase(it);
        SetState(gsHint);
        return;
    }
}

void c3DGame::UpdateNextLevel() {
    if (!_field->ProcessEndIteration()) return;
    if (_statistics_dialog.GetResult() == CStatisticsDialog::kYes) {
        _statistics_dialog.SetResult(0);
        _panel_manager.ShowPanel(&_statistics_dialog, false);
    }
    if (_panel_manager.IsShown(&_statistics_dialog)) return;
    if (_last_level)
        SetState(gsNextEpisode);
    else
        _pending_request = prNextLevel;
}

void c3DGame::UpdateNextEpisode() {
    if (_episode_complete_dialog.GetResult() == CEpisodeDialog::kContinue && !_episode_fade_started) {
        _episode_complete_dialog.SetResult(0);
        _panel_manager.ShowPanel(&_episode_complete_dialog, false);
    }
    if (!_episode_fade_started && !_panel_manager.IsShown(&_episode_complete_dialog)) {
        _episode_fade_started = 1;
        _screen_fade.SetSpeed(6);
        _screen_fade.Start(0, 255);
        _screen_fade.SetHold(true);
        _field->StartTreasureFlight();
    }
    if (_episode_fade_started && !_screen_fade.IsActive() && _field->IsArtefactsIdle()) {
        if (_last_episode)
            SetState(gsGameWon);
        else
            _pending_request = prNextLevel;
        _episode_fade_started = 0;
    }
}

void c3DGame::UpdateGameOver() {
    _field_shown = 1;
    if (!_field->ProcessEndIteration()) return;
    _field_shown = 0;
    if (!_game_over_shown) {
        _game_over_dialog.Show(7000);
        _panel_manager.ShowPanel(&_game_over_dialog, true);
        _game_over_shown = 1;
    }
    if (_game_over_dialog.GetResult() == CTimeOutDialog::kDone) {
        _game_over_dialog.SetResult(0);
        _pending_request = prGameOver;
        _game_over_shown = 0;
    }
}

void c3DGame::UpdateLifeLost() {
    if (!_field->ProcessEndIteration()) return;
    _field_shown = 0;
    if (_dying_dialog.GetResult() != CDyingDialog::kContinue) return;
    _dying_dialog.SetResult(0);
    _field_shown = 1;
    _field->RestartLevel();
    _field->OnGameStateChanged(gsDefault);
    SetState(gsDefault);
    _panel_manager.ShowPanel(&_dying_dialog, false);
}

void c3DGame::UpdatePause() {
    switch (_pause_dialog.GetResult()) {
        case CPauseDialog::kResume:
            _pause_dialog.SetResult(0);
            SetState(gsDefault);
            _panel_manager.ShowPanel(&_pause_dialog, false);
            break;
        case CPauseDialog::kHelp:
            _pause_dialog.SetResult(0);
            SetState(gsHelp);
            break;
        case CPauseDialog::kMenu:
            _pause_dialog.SetResult(0);
            _leave_game_dialog.Activate();
            _panel_manager.FireTransition(&_pause_dialog, CPauseDialog::kMenu);
            break;
        default: break;
    }
    switch (_leave_game_dialog.GetResult()) {
        case CLeaveGameDialog::kLeave:
            _leave_game_dialog.SetResult(0);
            _pending_request = prLeave;
            _panel_manager.ShowPanel(&_leave_game_dialog, false);
            _panel_manager.ShowPanel(&_pause_dialog, false);
            break;
        case CLeaveGameDialog::kStay:
            _leave_game_dialog.SetResult(0);
            _panel_manager.ShowPanel(&_leave_game_dialog, false);
            break;
        default: break;
    }
}

void c3DGame::UpdateHint() {
    if (!CHintsManager::Instance().IsHintActive()) SetState(gsDefault);
}

void c3DGame::UpdateHelp() {
    if (_help_dialog.GetResult() == CHelpDialog::kBack) {
        _panel_manager.ShowPanel(&_help_dialog, false);
        // Back to the pause under it as it stands: no entry actions again.
        if (_saved_state == gsPause)
            _state = gsPause;
        else
            SetState(_saved_state);
        _help_dialog.SetResult(0);
    } else if (_help_dialog.GetResult() == CHelpDialog::kCredits) {
        _credits_dialog.Activate();
        _panel_manager.FireTransition(&_help_dialog, CHelpDialog::kCredits);
        _help_dialog.SetResult(0);
    }
    if (_credits_dialog.GetResult() == CHelpDialog::kBack) {
        _panel_manager.ShowPanel(&_credits_dialog, false);
        _credits_dialog.SetResult(0);
    }
}

void c3DGame::UpdatePanelCommands() {
    switch (_panels.GetResult()) {
        case CGamePanels::kResultMenu:
            if (_state == gsDefault) {
                SetState(gsPause);
            } else if (_state == gsPause) {
                SetState(gsDefault);
                _panel_manager.ShowPanel(&_leave_game_dialog, false);
                _panel_manager.ShowPanel(&_pause_dialog, false);
            }
            break;
        case CGamePanels::kResultHammer: _field->TakeHammer(); break;
        case CGamePanels::kResultEgg: _field->UseEgg(); break;
        case CGamePanels::kResultFeather: _field->UseFeather(); break;
        default: break;
    }
    _panels.SetResult(0);
}

bool c3DGame::HudTakesPointer() const {
    if (_state == gsHint) return false;
    if (!_panel_manager.IsAnyPanelShown()) return true;
    return _state == gsPause && _panel_manager.GetActivePanel() == &_pause_dialog;
}

void c3DGame::UpdateLevelStart() {
    if (_state != gsDefault || _game_var.level != 0 || !_field->NeedShowBeginEpisode()) return;
    CGameFlags& flags = *_level_start_flags;
    switch (flags.Get(CGameFlags::gfBeginEpisode)) {
        case 2:
            _start_episode_dialog.Show(_game_var.episode, "");
            _panel_manager.ShowPanel(&_start_episode_dialog, true);
            flags.Set(CGameFlags::gfBeginEpisode, 3);
            break;
        case 3:
            if (_start_episode_dialog.GetResult() != CEpisodeDialog::kContinue) break;
            _start_episode_dialog.SetResult(0);
            _panel_manager.ShowPanel(&_start_episode_dialog, false);
            flags.Set(CGameFlags::gfBeginEpisode, 4);
            break;
        case 4:
            if (_panel_manager.IsReady(&_start_episode_dialog) || _panel_manager.IsShown(&_start_episode_dialog)) break;
            _field->SetShowBeginEpisode(false);
            flags.Set(CGameFlags::gfBeginEpisode, 2);
            break;
        default: break;
    }
}

void c3DGame::LeaveScene(const char* scene) {
    SetNextScene(scene);
    SetActive(0);
    SetRequest(kRequestSwitch);
    _music.Stop();
}

void c3DGame::AdvanceOrLeave() {
    const int32_t request = _pending_request;
    g_GameStartRequest.episode = GameStartRequest::kNoEpisode;
    g_LastGameScore = _game_var.score;
    // Before the save: a stored game knows its entry.
    RaiseHiscore();
    // The next level of this episode stores the game as it starts, later in
    // this frame; a store of the won level here would only be overwritten.
    // Until then the stored game is the won level as it started.
    const bool next_level_stores = request == prNextLevel && !_last_level;
    if (!next_level_stores) Serialize();
    DestroyLevel();
    // Saved or erased and torn down: a later exit must not store this board again.
    _game_running = 0;
    _pending_request = prNone;

    const uint32_t player = g_profiles.GetActivePlayer();
    bool scene_changed = false;
    switch (request) {
        case prGameOver:
            LeaveScene("Menu");
            g_GameStartRequest.level = GameStartRequest::kNoEpisode;
            scene_changed = true;
            break;
        case prGameWon:
            LeaveScene("Selector");
            g_GameCompleted = 1;
            _game_var.episode = -1;
            g_GameStartRequest.level = 0;
            scene_changed = true;
            break;
        case prLeave:
            LeaveScene("Menu");
            g_GameStartRequest.level = 0;
            scene_changed = true;
            break;
        default:
            if (!_last_level) {
                ++_game_var.level;
                ASSERT_THROW_IF_FAILED((size_t)_game_var.level < _episode.LevelsCount);
                break;
            }
            scene_changed = true;
            _game_var.level = 0;
            if (!_last_episode) {
                VERIFY(g_profiles.UpdateEpisodeAvailability(player, GetEpisodeNumber() + 1, 1));
                ++_game_var.episode;
                ASSERT_THROW_IF_FAILED((size_t)_game_var.episode < _episode_count);
            }
            break;
    }
    if (!scene_changed) {
        BeforeInit();
        return;
    }
    if (request != prGameOver && request != prGameWon && request != prLeave && _last_level) {
        LeaveScene("Selector");
        g_GameStartRequest.episode = _last_episode ? GameStartRequest::kNoEpisode : _game_var.episode;
    }
}
