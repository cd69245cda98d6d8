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

#include "engine/float_rect.h"
#include "field/balls_exploder.h"
#include "field/bonus_list.h"
#include "field/birds_owner.h"
#include "field/countdown.h"
#include "field/level_statistics.h"
#include "field/danger_warning.h"
#include "field/drop_cell.h"
#include "field/field_flags.h"
#include "field/match_finder.h"
#include "field/mouse_over_marker.h"
#include "field/move_record.h"
#include "field/path.h"
#include "field/play_textures.h"
#include "field/rows_falling.h"
#include "field/seconds_counter.h"
#include "field/selected_ball.h"
#include "field/timer.h"

class CAvailableMove;
class CBallsField;
class CBirds;
class CEndLevelStuff2;
class CFlyParticles;
class CPraise;
class CResFerryman;
class CCompressAndFallBalls;
class CFieldState;
class CGenerators;
class CSalute;
class CTilesField;
class CXMLFile;
class CXMLNode;
struct HintInfo;
class CVector2;
class CBall;
class IEndLevelEffects;
class IFieldBonusList;
class IFieldPraise;
class IToolCarriers;

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

    // The praise and the tool carriers live outside the field; null (the
    // default) shows no popups and sends no carriers. The bonuses run in the
    // field's own list unless another one is set (null starts none).
    void SetPraise(IFieldPraise* praise) { _praise = praise; }
    // The screen beside the scene's heads-up panel; the score popups stay in
    // it and below the level's progress bar. All zero: the whole screen.
    void SetPraiseArea(const CFloatRect& area);
    void SetBonusList(IFieldBonusList* bonuses) { _bonuses = bonuses; }
    void SetToolCarriers(IToolCarriers* carriers) { _carriers = carriers; }
    // The end-level effects; without them the level's end sends the birds
    // off itself.
    void SetEndLevelEffects(IEndLevelEffects* effects) { _end_level = effects; }

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
    // The level's geometry, balls and tiles from its "Level" node; false,
    // logged, when the level has no field that can be played.
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

    // ---- score popups, tool credits and the column bonus: the field's own,
    // plugged into the seams above (game_field_tools.cpp)
    CPraise& GetPraiseLabels() { return *_praise_labels; }
    CResFerryman& GetResFerryman() { return *_res_ferryman; }
    // Null until the first set-up.
    CEndLevelStuff2* GetEndLevelStuff() { return _end_level_stuff.get(); }

    // ---- IRowsFallingTiles
    void GetFloodStartCells(std::vector<int>& cells) const override;
    bool HasCell(int cell) const override;

    // ---- the main road: set-up, moves, update (game_field_setup.cpp,
    // game_field_moves.cpp, game_field_update.cpp)
    enum SwapFlag : int { sbNone = 0, sbSwapping = 1 };
    // Frames of quiet before the available move is shown.
    static constexpr int kHintDelay = 300;
    // Frames before the first row after a restart.
    static constexpr int kRestartRowDelay = 9;
    bool SelectBallAt(float x, float y);
    bool TrySwap(float x, float y);
    // 0 arrived, 1 still moving, 2 broken off.
    int AnimateSwap(bool back);
    void UpdateMove();
    // Steps the level goal; true once the level's end has run its course.
    bool IsLevelComplete();
    int GetStage() const { return _stage; }
    bool IsLevelStarting() const { return level_is_starting; }
    int GetSelectionState() const { return _selection_state; }
    int GetSwapFlag() const { return _game_flag.swap_balls_on_field; }
    const CPath& GetPath() const { return *_path; }
    int GetMoveCheck() const { return _move_check; }
    int GetFragmentsFallen() const { return num_fragments_fallen; }
    const CCountdown& GetHintCountdown() const { return _hint_countdown; }

    // ---- available moves, the move marker and the hint source
    // (game_field_hints.cpp)
    // Every swap of two idle balls without lock that would make a line, each
    // pair tried from both of its cells; true when there is one.
    bool FindAvailableMoves(std::vector<MoveRecord>& moves);
    // Searches and shows one available move; false when there is none.
    bool ShowAvailableMove();
    void HideAvailableMove();
    bool IsAvailableMoveShown() const;
    void RenderAvailableMove();
    // The hover frame on the ball under the mouse.
    CMouseOverMarker& GetCursorFrame() { return _cursor_frame; }

    // ---- parts, for the scene and the tests
    CBirds& GetBirds() { return *_birds; }
    CFieldState& GetFieldState() { return *_field_state; }
    CRowsFalling& GetRowsFalling() { return *_rows_falling; }
    CSelectedBall& GetSelectionMarker() { return _selection_marker; }
    CDangerWarning& GetDangerWarning() { return _danger_warning; }
    const CCountdown& GetRowsCountdown() const { return _rows_countdown; }
    int GetRowsPause() const { return _rows_pause; }
    // The field's own bonus list, its data source the field.
    CBonusList& GetBonusList() { return _bonus_list; }

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
    // ---- available moves and hints (game_field_hints.cpp)
    // The marker of an available move, made on first use.
    CAvailableMove& AvailableMove();
    // A line of three or more through `cell` in the scratch tables.
    bool LineFormsAt(int cell) const;
    // False while no hint may point at the field now.
    bool IsHintDue(const HintInfo& hint) const;
    // Gathers the cells of a hint id into _hint_cells; false for an unknown id.
    bool CollectHintCells(int id);
    // Tries the cells of _hint_cells in random order until one's box fits the
    // screen: its centre and its index in the list.
    bool PickHintCell(const HintInfo& hint, CVector2& point, size_t& picked);
    std::shared_ptr<CAvailableMove> _available_move;
    CMouseOverMarker _cursor_frame;
    // Scratch tables of the move search: cell classes and ball kinds.
    std::vector<int> _move_classes, _move_kinds;
    std::vector<MoveRecord> _moves;
    std::vector<int> _hint_cells;
    std::vector<size_t> _hint_order;
    // ---- the field's own popups, carriers and column bonus (game_field_tools.cpp)
    // Builds the popups, the tool carriers and the flying particles and
    // plugs them in.
    void CreateToolParts();
    // At every set-up: the column bonus, made at the first, plugged in unless
    // another end-level effect is.
    void PrepareEndLevelStuff();
    // The egg and the feather wait while the level starts or ends, and
    // outside play.
    bool AreToolsBlocked() const;
    // Rows with an empty cell of the playing field.
    int CountRowsWithRoom() const;
    std::shared_ptr<CPraise> _praise_labels;
    CFloatRect _praise_area;  // as the scene gives it
    std::shared_ptr<CResFerryman> _res_ferryman;
    std::shared_ptr<CFlyParticles> _fly_particles;
    std::shared_ptr<CEndLevelStuff2> _end_level_stuff;
    std::deque<int> _end_steps;
    IFieldPraise* _praise = nullptr;
    IToolCarriers* _carriers = nullptr;
    CBonusList _bonus_list;
    IFieldBonusList* _bonuses = &_bonus_list;
    // The pictures the field may show, held from the first level's start on.
    std::vector<CTextureHold> _play_textures;
    bool _frozen = false;
    bool _paused_faded = false;
    int _stage = 0;
    int _rows_pause = 0;
    int _generators_delay = 0;
    float _row_delay_factor = 1.0f;
    // Scratch lists of the match resolution.
    std::vector<int> _to_delete, _combo_cells, _match4_cells, _match5_cells;

    // ---- the main road (game_field_setup.cpp, game_field_moves.cpp,
    // game_field_update.cpp)
    struct GameFlag {
        int swap_balls_on_field = sbNone;
    };
    // The simulation of the level's first rows: it prepares the types of
    // their balls so that none lands beside one of its own kind.
    void StartFill();
    // Marks one simulated row at the open entry cells; the number marked.
    int MarkStartRow(int row);
    void ResetMoveState();
    // The popups' area: the scene's, below the level's progress bar.
    void UpdatePraiseArea();
    // The move record's cells hold movable balls (or are unset).
    bool IsPathValid() const;
    bool IsMovable(int cell) const;
    bool IsBonusActive(int type) const;
    void FinishBonus(int type);
    void ClearBonuses();
    void StartBonus(int type, int cell, bool intensive);
    void UpdateBonuses();
    void DrawBonuses();
    void HandleMouseButtons(float x, float y);
    void HandleDoubleClick(float x, float y);
    void SwapBackOrFinish();
    void ScanSettledField();
    void UpdateFallingRows();
    void CompressColumns();
    void GatherDropCells();
    void DropRow();
    void UpdateHoverFrame();
    void UpdateHint();
    bool HasAnyBall() const;
    void CheckEndOfSwap();
    void CheckNoMoves();
    void CheckLostLife();
    bool ShouldGo() const;
    void EnterFragment();
    // False while a fragment still waits on the field; fragments that reached
    // the bottom fly to the artefact.
    bool ReleaseFragments();
    bool EndLevelStage();
    bool IsAnyBallMoving() const;
    bool HasPendingSpecialOrBusyBall() const;
    // Where the mouse points; false without an engine core.
    static bool GetMousePos(float& x, float& y);
    // Plays the sample now (not through the frame's queue); "" plays nothing.
    static void PlayNow(const std::string& alias);
    static constexpr int kSlowDownBonus = 3;
    static constexpr int kMixerBonus = 6;

    GameFlag _game_flag;
    bool _swap_done = false;
    bool _swap_back = false;
    int _selection_state = 0;
    bool level_is_starting = false;
    int show_begin_episode = 0;
    int _move_check = 0;
    int num_fragments_at_the_level = 1;
    int num_fragments_fallen = 0;
    // The goal of a level without puzzle tiles: "target" of Config/State.
    int _score_target = 0;
    CCountdown _hint_countdown;
    IEndLevelEffects* _end_level = nullptr;
    bool _end_level_started = false;
    // Per-frame scratch lists.
    std::vector<DropCell> _drop_cells;
    std::vector<int> _unfilled_cells;
    std::vector<int> _bird_columns;
    // The start fill's cell maps and ball tags.
    std::vector<int> _fill_map, _fill_test_map, _fill_before;
    std::vector<uint16_t> _fill_tags;

    // ---- the saved field (game_field_io.cpp)
    // Reads the saved "GameField" element; false when it is missing or damaged.
    bool DeserializeFieldElement(const CXMLNode& node, int& kill_count);
    // The saved tiles, balls and birds; false when one is missing or fails.
    bool DeserializeBoard(const CXMLNode& node);
    // Starts again the swap that was under way when the game was saved
    // ("swap_from", "swap_to", "swap_back" of the "GameField" element);
    // true when none was, false (logged) when its cells cannot swap.
    bool RestoreSwap(const CXMLNode& field);
};
