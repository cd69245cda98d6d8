#pragma once
// The scene "Game": one game from its start to the hand-over to the menu or
// the episode selector. It owns the puzzle field (through ISceneField), the
// heads-up panel, the in-game dialogs and banners, the level background and
// music and the panel manager that slides the dialogs, and runs the game's
// state machine. Leaving a level never happens in the middle of a frame: a
// pending request is carried out as the last step of the update.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/float_rect.h"

#include "engine/scene.h"
#include "field/game_scene_link.h"
#include "field/level_statistics.h"
#include "game/dying_dialog.h"
#include "game/episode_dialog.h"
#include "game/game_message.h"
#include "game/game_panels.h"
#include "game/game_state_source.h"
#include "game/help_dialog.h"
#include "game/leave_game_dialog.h"
#include "game/level_music_desc.h"
#include "game/level_start_message.h"
#include "game/mood_music.h"
#include "game/pause_dialog.h"
#include "game/screen_fade.h"
#include "game/screen_shaker.h"
#include "game/statistics_dialog.h"
#include "game/time_out_dialog.h"
#include "gui/panel_manager.h"

class CBackground;
class CGameFlags;
struct GameStateDesc;
class ISceneField;
namespace explosion {
class IExplosionManager;
}

// States outside the field's contract.
constexpr int gsUnknown = 0;

// Pending requests, carried out at the end of the update.
enum PendingRequest : int32_t {
    prNone = 0,
    prNextLevel = 2,
    prGameOver = 3,
    prGameWon = 4,
    prLeave = 5,
};

struct LevelDesc {
    int32_t episode = 0;  // 0-based
    int32_t level = 0;    // 0-based
    LevelMusicDesc music;
    std::string path;
};

struct EpisodeDesc {
    uint32_t LevelsCount = 0;
    std::vector<LevelDesc> Levels;
};

// The game's running values.
struct GameVar {
    int32_t lives = 3;
    int32_t episode = 0;  // 0-based
    int32_t level = 0;    // 0-based
    int32_t score = 0;
};

class c3DGame : public AScene, public IGameSceneLink, public IGameStateSource {
public:
    // The program's one scene, made on first use with the real field.
    static c3DGame& Instance();

    // The scene over `field` (the real one, or a test's stand-in).
    explicit c3DGame(std::unique_ptr<ISceneField> field);
    ~c3DGame() override;

    // ---- scene slots
    void Reset() override;
    bool Update() override;
    void Render() override;
    void OnKeyDown(uint16_t key) override;
    void Init() override;
    void Exit() override { Destroy(); }
    void OnActivate(bool active) override;
    void Destroy();

    // ---- state machine
    int GetState() const override { return _state; }
    void SetState(int state) override;
    bool IsFrozen() const;
    void SetPendingRequest(int32_t request) { _pending_request = request; }
    int32_t GetPendingRequest() const { return _pending_request; }
    void AdvanceOrLeave();

    // ---- score and lives
    int32_t GetLives() const override { return _game_var.lives; }
    void SetLives(int32_t lives) { _game_var.lives = lives; }
    int32_t GetScore() const override { return _game_var.score; }
    void SetScore(int32_t score) { _game_var.score = score; }
    void AddScore(int points) override;
    int32_t AddLife();
    int32_t LoseLife();
    void ResetLives();
    void ResetGame();
    void ComputeLevelStatistics(LevelStatistics& out);

    // ---- levels and episodes
    bool LoadEpisodes();
    bool LoadEpisode(int32_t episode, EpisodeDesc& desc);
    bool LoadLevelMusic(const std::string& path, LevelDesc& desc);
    void ResolveLevelMusic(EpisodeDesc& desc, size_t level_index);
    void BeforeInit();
    // Says on standard error and in the log that the level is not in the
    // episode list (0-based numbers).
    static void ReportMissingLevel(int32_t episode, int32_t level);
    bool StartLevel(LevelDesc& desc);
    void DestroyLevel();

    // ---- the suspended game
    bool SerializeState(std::vector<uint8_t>& out);
    void Serialize();
    bool DeserializeState(const std::vector<uint8_t>& data);
    // The game's entry in the best scores kept with a saved game; -1 when
    // the text names none (a game saved before entries were kept).
    static int32_t SavedHiscoreEntry(const std::vector<uint8_t>& data);

    // ---- input
    void ProcessFieldInput();

    // ---- what the field and the panels read
    int GetLevelNumber() const override { return _game_var.level; }
    int GetEpisodeNumber() const override { return _game_var.episode; }
    int32_t GetLevelIndex() const override { return _game_var.level; }
    int32_t GetEpisodeIndex() const override { return _game_var.episode; }
    std::string GetEpisodeName() const override;
    bool IsLivesBlink() const override { return _lives_blink != 0; }
    bool IsLastLevel() const override { return _last_level != 0; }
    uint32_t GetFrameCounter() const { return _frame_counter; }
    void ShowDanger() override;
    void SwitchMood() override { _music.SwitchMood(); }

    // ---- the tools, forwarded to the panel
    bool IsToolAvailable(int tool) override { return _panels.IsToolAvailable(tool); }
    void EnableTool(int tool, bool on) override { _panels.EnableTool(tool, on); }
    void ShowToolImage(int tool, bool show) override { _panels.ShowToolImage(tool, show); }
    void ResetToolProgress(int tool) override { _panels.ResetToolProgress(tool); }
    void EnableToolBlinks(bool on) override { _panels.EnableToolBlinks(on); }
    bool AddToolProgress(int tool, int amount) override { return _panels.AddToolProgress({tool, amount}); }
    bool GetToolProgress(int tool, int& amount) override;
    void SetToolProgress(int tool, int amount) override { _panels.SetToolProgress({tool, amount}); }
    bool GetToolProgressPoint(int tool, CVector2& point) override { return _panels.GetToolProgressPoint(tool, point); }
    bool GetToolButtonPos(int tool, CVector2& pos) override { return _panels.GetToolButtonPos(tool, pos); }

    // ---- parts, for the application and the tests
    uint32_t GetEpisodeCount() const { return _episode_count; }
    const EpisodeDesc& GetEpisode() const { return _episode; }
    bool IsGameRunning() const { return _game_running != 0; }
    bool IsFieldShown() const { return _field_shown != 0; }
    bool IsSnapshotValid() const { return _snapshot_valid != 0; }
    int32_t GetHiscoreEntry() const { return _hiscore_entry; }
    int32_t GetSavedState() const { return _saved_state; }
    std::vector<int32_t>& PendingHints() { return _pending_hints; }
    ISceneField& Field() { return *_field; }
    CGamePanels& Panels() { return _panels; }
    CPanelManager& PanelManager() { return _panel_manager; }
    CPauseDialog& PauseDialog() { return _pause_dialog; }
    CLeaveGameDialog& LeaveGameDialog() { return _leave_game_dialog; }
    CStatisticsDialog& StatisticsDialog() { return _statistics_dialog; }
    CEpisodeDialog& EpisodeCompleteDialog() { return _episode_complete_dialog; }
    CEpisodeDialog& StartEpisodeDialog() { return _start_episode_dialog; }
    CHelpDialog& HelpDialog() { return _help_dialog; }
    CHelpDialog& CreditsDialog() { return _credits_dialog; }
    CTimeOutDialog& GameOverDialog() { return _game_over_dialog; }
    CDyingDialog& DyingDialog() { return _dying_dialog; }
    CGameMessage& GameMessage() { return _game_message; }
    CLevelStartMessage& LevelStartMessage() { return _level_start_message; }
    CScreenFade& ScreenFade() { return _screen_fade; }
    CGameFlags& LevelStartFlags() { return *_level_start_flags; }
    CMoodMusic& Music() { return _music; }

private:
    // State handlers.
    void EnterState(int state, int previous);
    bool EnterPause(int previous);
    void UpdateHintTrigger();
    // The screen right of the heads-up panel: hint boxes never cover the panel.
    CFloatRect HintArea() const;
    void UpdateNextLevel();
    void UpdateNextEpisode();
    void UpdateGameOver();
    void UpdateLifeLost();
    void UpdatePause();
    void UpdateHint();
    void UpdateHelp();
    void UpdateStateHandler();
    void UpdatePanelCommands();
    // In play, and under the pause alone (whose panel button closes it
    // again); under any other dialog the heads-up panel is only drawn.
    bool HudTakesPointer() const;
    void UpdateLevelStart();
    // The end of a scene: off to `scene`, music stopped.
    void LeaveScene(const char* scene);
    // The active player's suspended game; false (the program asked to quit)
    // when it cannot be read. A text that does not parse is logged and
    // emptied: the game goes on as a fresh one.
    bool ReadSuspendedGame(std::vector<uint8_t>& data, GameStateDesc& state);
    // No game at a level the episode list does not hold: said, and off to
    // the menu with the next update.
    void RefuseMissingLevel();
    void RegisterPanels();
    void OnDebugKey(uint16_t key);
    void LoadBackground(const CXMLNode& node);
    void StoreLevelTime(LevelStatistics& statistics);
    // The game's one entry in the best scores: made the first time, raised
    // to the score after that.
    void RaiseHiscore();

    std::unique_ptr<ISceneField> _field;
    int32_t _state = gsUnknown;
    int32_t _pending_request = prNone;
    uint32_t _frame_counter = 0;
    CGamePanels _panels;
    std::shared_ptr<CBackground> _background;
    CScreenFade _screen_fade;
    CScreenShaker _screen_shaker;
    CLevelStartMessage _level_start_message;
    CGameMessage _game_message;
    CMoodMusic _music;
    explosion::IExplosionManager* _explosions = nullptr;
    std::string _life_up_sample;
    std::string _life_down_sample;
    CLeaveGameDialog _leave_game_dialog;
    CPauseDialog _pause_dialog;
    CStatisticsDialog _statistics_dialog;
    CEpisodeDialog _episode_complete_dialog;
    CHelpDialog _help_dialog;
    CHelpDialog _credits_dialog;
    CEpisodeDialog _start_episode_dialog;
    CTimeOutDialog _game_over_dialog;
    CDyingDialog _dying_dialog;
    CPanelManager _panel_manager;
    int32_t _saved_state = gsUnknown;
    // A mouse press that began while a dialog had the game is still held.
    bool _dialog_press = false;
    uint8_t _snapshot_valid = 0;
    std::vector<uint8_t> _preserialized_state;
    uint8_t _field_shown = 0;
    uint8_t _last_level = 0;
    uint8_t _last_episode = 0;
    GameVar _game_var;
    // The game's row in the best scores; -1 until it has one. Kept with the
    // suspended game, so a resumed game raises the same row.
    int32_t _hiscore_entry = -1;
    // The time bonus of the running level once it is in the score; -1 while
    // it is not. A won level stored at its end and resumed is not paid twice.
    int32_t _time_bonus_paid = -1;
    // The won level's own points as its figures showed them; -1 until the
    // level is won. The field counts them afresh after a resume, so they are
    // kept with the won level's stored end.
    int32_t _won_level_score = -1;
    uint8_t _lives_blink = 1;
    uint32_t _bonus_life_end = 0;
    uint8_t _game_running = 0;
    // The requested level does not exist: the next update leaves for the menu.
    uint8_t _start_refused = 0;
    std::unique_ptr<CGameFlags> _level_start_flags;
    uint32_t _episode_count = 0;
    EpisodeDesc _episode;
    std::vector<int32_t> _pending_hints;
    // The game-over dialog has been shown; the episode-end fade has started.
    uint8_t _game_over_shown = 0;
    uint8_t _episode_fade_started = 0;
};

// The holder of the program's game scene: empty until c3DGame::Instance
// makes it (after the data tree and the field's globals are ready); start-up
// frees it before the field's globals go, the holder's destructor otherwise.
class CGameHolder {
public:
    ~CGameHolder();
    c3DGame* operator->() const { return _game.get(); }
    c3DGame* Get() const { return _game.get(); }
    void Reset(std::unique_ptr<c3DGame> game = {});

private:
    std::unique_ptr<c3DGame> _game;
};
extern CGameHolder g_Game;
