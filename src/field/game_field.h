#pragma once
// The controller of one level's board: it owns the balls, the tiles, the
// birds, the generators and the fall planner, finds and resolves matches,
// kills balls, damages puzzle tiles, scores, and runs the steps that close a
// level or a life. The game scene owns one field for the whole run and
// reaches it through its public operations; the field's helpers and the
// bonuses reach it as their data source.
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "field/balls_exploder.h"
#include "field/birds_owner.h"
#include "field/countdown.h"
#include "field/danger_warning.h"
#include "field/field_flags.h"
#include "field/match_finder.h"
#include "field/path.h"
#include "field/rows_falling.h"
#include "field/seconds_counter.h"
#include "field/selected_ball.h"
#include "field/timer.h"

class CBallsField;
class CBirds;
class CCompressAndFallBalls;
class CFieldState;
class CGenerators;
class CSalute;
class CTilesField;
class CXMLFile;
class CXMLNode;
struct HintInfo;
class CVector2;
class IFieldBonusList;
class IFieldPraise;
class IToolCarriers;

// What the field hands the scene at a level's end.
struct LevelStatistics {
    int32_t reserved_a = -1;
    int32_t reserved_b = -1;
    int32_t score = 0;
    int32_t time = 0;  // seconds; filled in the copy handed out
    int32_t extra[3] = {0, 0, 0};
    std::string text;
    int32_t tail = 0;
};

class CGameField : public IBirdsOwner, public IRowsFallingTiles {
public:
    // The steps of the end-of-iteration queue.
    enum EndStep : int {
        esExplodeStart = 0,
        esExplodeFinish = 1,
        esClearSelection = 2,
        esResetDanger = 3,
        esEndSound = 4,
        esCarriersIdle = 5,
        esHideArtefact = 6,
        esArtefactIdle = 7,
        esDissolveOut = 8,
        esDissolveIn = 9,
        esDissolved = 10,
    };
    static constexpr int kDissolveSpeed = 10;
    static constexpr int kMatchScore = 30;
    static constexpr int kComboScore = 300;
    static constexpr int kMatch4Score = 100;
    static constexpr int kMatch5Score = 250;

    // Builds every part; the birds read Settings\birds.xml, the salute and
    // the tiles' fire their descriptions.
    CGameField();
    ~CGameField();
    CGameField(const CGameField&) = delete;
    CGameField& operator=(const CGameField&) = delete;

    // The praise, the tool carriers and the bonus list live outside the
    // field; null (the default) shows no popups, sends no carriers and starts
    // no bonuses.
    void SetPraise(IFieldPraise* praise) { _praise = praise; }
    void SetBonusList(IFieldBonusList* bonuses) { _bonuses = bonuses; }
    void SetToolCarriers(IToolCarriers* carriers) { _carriers = carriers; }

    // ---- what the game scene calls (each is defined with the duty it
    // belongs to; the list here is the scene's contract)
    // Reads the level file: its "//Level/Background" node goes to
    // `load_background` (may be empty), its Config and field are loaded, then
    // the level is set up. False (logged) when the file cannot be used.
    bool LoadLevel(const std::string& path, const std::function<void(const CXMLNode&)>& load_background);
    void SetupLevel();
    // After a lost life: set up again, timers restarted, state 1.
    void RestartLevel();
    void Update();
    void Render();
    // Reads the mouse: selection, swap or hammer strike.
    void OnBallMove();
    bool IsInputBlocked() const;
    bool NeedShowBeginEpisode() const;
    void SetShowBeginEpisode(bool show);
    // The player's tools, from the heads-up panel.
    // Field flag 4 is 1 while the hammer is in the hand; a left click then
    // strikes at the pointer, a right click or the level's end returns it.
    void TakeHammer();
    void ReturnHammer(bool play_sound);
    void StrikeHammer();
    bool UseEgg();
    bool UseFeather();
    // Debug actions, at the cell under the mouse where one is needed.
    void DebugGiveTool(int tool, int amount);
    void DebugPlaceBonus(int type);
    void DebugPlaceBird();
    void DebugStartMixer();
    void DebugDropRow();
    // True with the screen point the hint's anchor must point at when that
    // hint is due now.
    bool GetHintSource(const HintInfo& hint, CVector2& point);
    // The saved field: tiles, balls, birds, the artefacts, then "GameField".
    bool Serialize(CXMLFile& document, CXMLNode& parent);
    bool Deserialize(const CXMLNode& node);

    // ---- level
    // The level's geometry, balls and tiles from its "Level" node.
    bool LoadConfig(const CXMLNode& level);
    void ClearLevel();
    LevelStatistics GetLevelStatistics() const;

    // ---- matches, kills and score
    void FindMatches(std::vector<int>& cells_to_delete, int from, int to, std::vector<int>* combo_cells = nullptr,
                     std::vector<int>* match4_cells = nullptr, std::vector<int>* match5_cells = nullptr);
    // 1 when a swapped cell was matched, 2 when other cells were, else 0.
    int ResolveSwapMatches(int from, int to);
    void DeleteMatchedCells(const std::vector<int>& cells_to_delete, const std::vector<int>& combo_cells,
                            const std::vector<int>& match4_cells, const std::vector<int>& match5_cells);
    // Score with its popup at the cell's centre; true when `points` is not 0.
    bool AddScore(int cell, int points, const char* label, int flag);

    // ---- the end of a level or a life
    void QueueLevelEndSteps();
    void QueueLifeLostSteps();
    // One step; true when the queue is empty.
    bool ProcessEndIteration();
    void SetFrozen(bool frozen);
    // The scene's new state: gsDefault unfreezes; gsPause fades the board out
    // and freezes; the other states of the game freeze; gsGameWon and unknown
    // values change nothing.
    void OnGameStateChanged(int state);

    // ---- falling rows and lost lives
    // Frames between rows: (rows_fall_delay + the generators' value) times
    // the delay factor, truncated.
    int GetRowDelay() const;
    // A life is lost: rows fall about 5 % of the base delay later for the
    // rest of the level, and the scene is told (gsLifeLost).
    void LoseLife();
    // The cell where the level's fragment enters: below an entry cell within
    // the level's fragment range, the first free one, else the one with the
    // shortest column of balls under it; -1 (logged) when there is none.
    int FindFragmentEntryCell() const;
    bool IsFrozen() const { return _frozen; }
    void DissolveOut();
    void DissolveIn();
    bool IsDissolving() const;

    // ---- IBonusDataSource
    void SetBallState(int cell, int state) override;
    bool GetBallState(int cell, int& state) override;
    void RestartRowsFallCountdown(int value) override;
    int GetBallBonusType(int cell) override;
    void AddBonus(int type, int cell) override;
    bool IsVovaroCell(int cell) override;
    void KillBall(int cell, int state) override;
    void HitCell(int cell, int kind) override;
    void AddScoreAtPos(float x, float y, int points, const char* label, int flag) override;
    void ScaleOutBall(int cell) override;
    bool IsAnyBallBusy() override;
    void SetFreeBirdsState(bool flag) override;
    CBallsField* GetBallsField() override { return _balls_field.get(); }
    CTilesField* GetTilesField() override { return _tiles_field.get(); }
    CFieldFlags* GetFieldFlags() override { return _field_flags.get(); }

    // ---- IBirdsOwner
    void GetGeneratorCells(std::vector<int>& cells) override;
    void GetGeneratorCellsWithDelay(std::vector<int>& cells, int delay) override;
    int GetLevelEndStage() override { return _stage; }

    // ---- IRowsFallingTiles
    void GetFloodStartCells(std::vector<int>& cells) const override;
    bool HasCell(int cell) const override;

    // ---- parts, for the scene and the tests
    CBirds& GetBirds() { return *_birds; }
    CFieldState& GetFieldState() { return *_field_state; }
    CRowsFalling& GetRowsFalling() { return *_rows_falling; }
    CSelectedBall& GetSelectionMarker() { return _selection_marker; }
    CDangerWarning& GetDangerWarning() { return _danger_warning; }
    const CCountdown& GetRowsCountdown() const { return _rows_countdown; }
    int GetRowsPause() const { return _rows_pause; }

private:
    // Sends the tool credit of the ball in the cell to its charge bar.
    void SendToolCredit(int cell);
    bool DoEndStep(int code);
    // The level holds no puzzle tiles: points feed the goal.
    bool IsScoreGoal() const;

    std::shared_ptr<CFieldFlags> _field_flags;
    std::shared_ptr<CBallsField> _balls_field;
    std::shared_ptr<CTilesField> _tiles_field;
    std::shared_ptr<CPath> _path;
    std::shared_ptr<CFieldState> _field_state;
    std::shared_ptr<CBallsExploder> _balls_exploder;
    std::shared_ptr<CGenerators> _generators;
    std::shared_ptr<CCompressAndFallBalls> _compress_and_fall;
    std::shared_ptr<CRowsFalling> _rows_falling;
    std::shared_ptr<CBirds> _birds;
    std::shared_ptr<CSalute> _salute;
    CMatchFinder _match_finder;
    CSelectedBall _selection_marker;
    LevelStatistics _statistics;
    CDangerWarning _danger_warning;
    CSecondsCounter level_timer;
    CCountdown _rows_countdown;
    CTimer _timer;
    std::deque<int> _end_steps;
    IFieldPraise* _praise = nullptr;
    IToolCarriers* _carriers = nullptr;
    IFieldBonusList* _bonuses = nullptr;
    bool _frozen = false;
    bool _paused_faded = false;
    int _stage = 0;
    int _rows_pause = 0;
    int _generators_delay = 0;
    float _row_delay_factor = 1.0f;
    // Scratch lists of the match resolution.
    std::vector<int> _to_delete, _combo_cells, _match4_cells, _match5_cells;

    // ---- the level's start and fragments, as the saved field keeps them
    // (game_field_io.cpp reads and writes them; set-up and update drive them)
    // 1 from set-up until the start fill has landed.
    bool level_is_starting = false;
    // 0 nothing, 1 request after the next update, 2 the scene shows the
    // episode-start message.
    int show_begin_episode = 0;
    int num_fragments_at_the_level = 1;
    int num_fragments_fallen = 0;
    // Reads the saved "GameField" element; false when it is missing or damaged.
    bool DeserializeFieldElement(const CXMLNode& node, int& kill_count);
    // The saved tiles, balls and birds; false when one is missing or fails.
    bool DeserializeBoard(const CXMLNode& node);
};
