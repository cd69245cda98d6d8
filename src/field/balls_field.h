#pragma once
// The balls of the grid: one slot per cell, empty or holding one ball. The
// balls field knows every ball type (the level's palette and bonus types, then
// the global types of Settings\Balls.xml), creates balls and their drawables,
// changes their types and states, animates their moves between cells, lets
// killed balls fade out and removes them, breaks locks, places bonus balls on
// their timers, generates the balls of dropped rows, saves and restores the
// balls of a suspended game, and fades all balls through its dissolver. What
// matches, falls or dies is decided by the field and its helpers.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/vector2.h"
#include "field/ball.h"
#include "field/ball_desc.h"
#include "field/ball_move.h"
#include "field/balls_data_source.h"
#include "field/balls_dissolver.h"
#include "field/bonus_timers.h"
#include "field/drop_cell.h"
#include "graphics/renderer_keeper.h"

class CFieldFlags;
class CGraphOBJ;
class CXMLFile;
class CXMLNode;

// A ball the level places at its start.
struct InitialCell {
    int cell = -1;
    int graph_type = 0;
    int lock = 0;
};

// The top-left of a ball's picture centred in the cell; false (logged) for an
// invalid cell.
bool GetBallPosInCell(int cell_index, CVector2& pos);

class CBallsField : public IBallsDataSource {
public:
    static constexpr const char* kBallsFile = "Settings\\Balls.xml";
    // Bonus balls blink after this many ticks and turn back after the second.
    static constexpr uint32_t kBonusBlinkStart = 575;
    static constexpr uint32_t kBonusLifeTime = 675;
    static constexpr uint32_t kBonusBlinkPeriod = 20;

    // `flags` (the field's, not owned) receives flag 0 whenever the field
    // changed. Reads the global types from kBallsFile.
    explicit CBallsField(CFieldFlags* flags);
    ~CBallsField();
    CBallsField(const CBallsField&) = delete;
    CBallsField& operator=(const CBallsField&) = delete;

    // ---- life cycle
    // Empties the global types and reads every "//Balls/Ball"; a file that
    // cannot be read is logged and leaves them empty.
    void LoadBalls(const std::string& path);
    // The level's palette, bonus types and bonus timers ("Config/Balls") and
    // its initial balls (the level's own "Balls").
    void LoadConfig(const CXMLNode& level);
    // Cells emptied and sized, substrates read, initial balls placed, bonus
    // timers armed.
    void PrepareLevel();
    // Level teardown: the cells and the bonus timers.
    void Clear();
    // Empty cells sized to the level, no moves, no sequences, the fade
    // finished, generation 0.
    void ClearCells();
    void Update();
    // Substrates, balls, then every lock.
    void Render();
    // The game scene's pause and hint states stop the balls' existence time.
    void SetTimePaused(bool paused) { _time_paused = paused; }

    // ---- types and creation
    // The record of a graph type: the palette, then the bonus types, then the
    // global types. An unknown type logs and throws "Assertion failed".
    BallDesc GetDesc(int graph_type) const;
    // The record, or null (nothing logged).
    const BallDesc* FindDesc(int graph_type) const;
    // A new ball without a state; with a valid cell it is put there (a ball
    // already there is released). Throws for an unknown type or a type the
    // balls base cannot draw.
    std::shared_ptr<CBall> CreateBall(int cell_index, int graph_type);
    // A new ball (without a state, as CreateBall) of a palette type other than
    // the cell's present one; with no such type the ball is kept and the fact
    // logged.
    void ReplaceWithDifferentBall(int cell_index);
    // The ball takes another type in place; state and position stay.
    bool ChangeBallGraph(int cell, int graph_type);
    bool ChangeBallDesc(int cell_index, const BallDesc& desc);
    // Takes the ball out of its cell and hands it over (null for none).
    std::shared_ptr<CBall> DetachBall(int cell_index);
    void RemoveBall(int cell_index);
    void PlaceInitialBalls();

    // ---- queries
    bool IsCellEmpty(int cell_index) const override;
    // The record of the ball in the cell (which must hold one: throws).
    const BallDesc& GetBall(int cell_index) const;
    const CBall* GetBallAt(int cell_index) const;
    bool GetBallState(int cell_index, int& state) const;
    // -1 for an invalid or empty cell.
    int GetCellBallState(int cell_index) const;
    bool IsRestingBall(int cell_index) const;
    // A resting ball without a lock: it may be selected, fall or turn bonus.
    bool CellPredicate(int cell_index) const;
    bool IsCellLocked(int cell_index) const;
    bool IsLockStrong(int cell_index) const;
    bool IsFragmentBall(int cell_index) const;
    bool IsBonusBall(int cell_index) const;
    int GetBonusType(int cell_index) const;
    bool HasBallOfGraphType(int graph_type) const;
    bool IsAnyBallBusy() const;
    bool NoPendingMoves() const { return _moves.empty(); }
    bool AllMovingBallsMarked() const;
    bool GetMark(int cell_index) const;
    const std::vector<BallMove>& GetPendingMoves() const { return _moves; }

    // ---- states, movement and looks
    bool SetBallState(int cell_index, int state);
    // Starts falls: each ball leaves its "from" slot for its "to" slot at once
    // and is drawn on its way there.
    void StartMoves(const std::vector<BallMove>& moves);
    // One step of the swap of the ball in `from` toward `to`; true while it is
    // still on its way.
    bool StepSwapBall(int from, int to);
    bool SwapBalls(int a, int b);
    void ResetBallPos(int cell_index);
    bool SetBallAngle(int cell_index, float degrees);
    bool ScaleOutBall(int cell);
    void DissolveOut(int ticks) { _dissolver.DissolveOut(ticks); }
    void DissolveIn(int ticks) { _dissolver.DissolveIn(ticks); }
    bool IsDissolving() const { return _dissolver.IsActive(); }
    void SetAlpha(int alpha) override;

    // ---- locks
    // A kill on a cell: a locked ball takes a hit ("remove_lock") and answers
    // false while the lock holds; a broken lock leaves the ball resting.
    bool HitLockAt(int cell_index, int state);
    // Breaks a lock whatever its solidity.
    bool BreakLock(int cell_index);

    // ---- bonus balls
    // One appearance step (the two below); true when a bonus ball was placed.
    bool PlaceBonusBalls();
    // The appearance timers count one tick; a timer that ran out stays due.
    void TickBonusTimers();
    // Places the due bonus balls; true when one was placed.
    bool PlaceDueBonusBalls();
    const CBonusTimers& GetBonusTimers() const { return _bonus_timers; }

    // ---- new balls
    // New balls in the drop cells that have room (those leave the list);
    // true when the list is empty afterwards.
    bool GenerateBalls(std::vector<DropCell>& drops);
    bool CanDropInto(int cell_index) const;
    void SettleNewBalls();
    int PickTypeExcluding(const std::vector<int>& excluded) const;
    // `map`: one entry per cell, low byte the simulated generation (from 1)
    // whose ball comes to rest there (0: none), high byte its place in its
    // drop list.
    void PrepareSequences(const std::vector<uint16_t>& map, int count, int size);
    const std::vector<std::vector<int>>& GetSequences() const { return _sequences; }
    uint32_t GetGenerationCount() const { return _generation; }

    // ---- saved game
    bool Serialize(CXMLFile& document, CXMLNode& parent) const;
    // Restores the balls of "BallsField/Ball"; at most `fragments_due`
    // fragment balls come back (the fragment the level has brought in), any
    // other is logged and left out.
    bool Deserialize(const CXMLNode& state, int fragments_due = 0);

    const std::vector<BallDesc>& GetPalette() const { return _palette; }
    const std::vector<BallDesc>& GetBonusTypes() const { return _bonus_types; }
    const std::vector<InitialCell>& GetInitialCells() const { return _initial_cells; }

private:
    CBall* Ball(int cell_index) const;
    CBall& BallOrThrow(int cell_index) const;
    std::unique_ptr<CGraphOBJ> CreateBallGraph(int cell_index, int graph_type);
    void InitBallPhysics(int cell_index, int state);
    // Removes every pending move to the cell; the field changed when none is left.
    void OnMoveEnd(int cell_index);
    // Puts a ball into a slot; a moving ball that leaves it ends its move.
    void StoreBall(int cell_index, std::shared_ptr<CBall> ball);
    void UpdateMoves();
    bool StepMovingBall(int from, int to);
    bool StepBallToward(CBall& ball, int to);
    void UpdateBonusExpiry(int cell_index, CBall& ball);
    void LoadCells(const CXMLNode& level);
    const BallDesc& RandomPaletteDesc() const;
    int RandomPaletteType() const;
    // Field flag 0 := 1; false without flags.
    bool SetFieldChanged();
    bool ChangeType(int cell_index, const BallDesc& desc);
    bool RestoreBall(const CXMLNode& node, int& fragments_due);

    std::vector<BallDesc> _palette;
    std::vector<BallDesc> _bonus_types;
    std::vector<BallDesc> _global_types;
    // Declared before the cells, so that the balls leave their batches first.
    std::unique_ptr<CRendererKeeper> _ren_keeper;
    std::vector<std::shared_ptr<CBall>> _field;
    std::vector<BallMove> _moves;
    CBonusTimers _bonus_timers;
    std::vector<InitialCell> _initial_cells;
    CBallsDissolver _dissolver;
    std::vector<std::vector<int>> _sequences;
    uint32_t _generation = 0;
    CFieldFlags* _flags;
    bool _time_paused = false;
    // Scratch lists of the per-tick bonus step, kept to avoid allocations.
    std::vector<int> _due;
    std::vector<int> _candidates;
};
