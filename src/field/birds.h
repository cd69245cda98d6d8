#pragma once
// The birds of one field (or of a dialog): small state machines whose states
// come from birds.xml. Each state carries a sprite, sounds and an explosion
// played on entry, and one condition that moves the bird on. Three summary
// flags over all birds, recomputed by every Update, tell the field whether a
// life is lost, whether the player may act and whether it must wait.
//
// State ids the program sets itself (the data file defines each one):
//   1 perched (the cell below holds a resting ball), 13 unsupported,
//   2 a falling row found the bird's column full, 4 flying in at set-up,
//   5 sent off at the level end, 7 struck by the hammer, 8 / 9 the slow-down
//   starts / ends, 10 the level ends, 11 / 12 the egg tool.
// State 6 is never set here but read: the saved game writes it, the egg tool
// answers it and such a bird drops special balls. The targets 250 (no
// change), 251 (make inactive) and 252 (make active) are commands.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/noncopyable.h"
#include "field/bird.h"
#include "field/birds_data_source.h"
#include "field/drop_cell.h"

class CBirdsDissolver;
class CRendererKeeper;
class CXMLFile;
class CXMLNode;
class IBirdsOwner;

class CBirds : public IBirdsDataSource, NonCopyable {
public:
    static constexpr int kPerched = 1;
    static constexpr int kColumnFull = 2;
    static constexpr int kFlyIn = 4;
    static constexpr int kSentOff = 5;
    static constexpr int kTrapped = 6;
    static constexpr int kStruck = 7;
    static constexpr int kResting = 8;
    static constexpr int kWaking = 9;
    static constexpr int kLevelEnd = 10;
    static constexpr int kEggFreed = 11;
    static constexpr int kEggBonus = 12;
    static constexpr int kUnsupported = 13;

    static constexpr int kNoChange = 250;
    static constexpr int kDeactivate = 251;
    static constexpr int kActivate = 252;

    static constexpr int kEggPoints = 100;

    // Loads the states of the node at `xpath` of `file_name` ("//Birds/Bird"
    // for the field and the episode dialog, "//Birds/DyingDialog/Bird" for the
    // life-lost dialog). A missing file or node loads none. Dialogs pass no
    // owner. The owner outlives the birds.
    CBirds(IBirdsOwner* owner, const std::string& file_name, const std::string& xpath);
    // The same from a document already in memory.
    CBirds(IBirdsOwner* owner, const CXMLFile& document, const std::string& xpath);
    ~CBirds();

    // The first description with that id; false when there is none.
    bool GetBird(int id, BirdDesc& desc) const;
    size_t GetDescriptionCount() const { return _descriptions.size(); }

    // Replaces the birds by one per (cell, state) placement, in order, each at
    // the top-left of its cell; the states' sounds are queued when asked. A
    // state without a description is a failed check that throws.
    void CreateBirds(const std::vector<std::pair<int, int>>& placements, bool with_sounds);
    // Level set-up: a bird in state 4 on every generator cell, each entering
    // from above, all at full alpha.
    void SetupLevelBirds();
    // Dialog birds: one per placement, its sprite's top-left at the point.
    void AddBirds(const std::vector<BirdPlacement>& placements, bool with_sounds);
    // Debug: one more bird at the cell, unsupported, then a landing check.
    void PlaceBird(int cell);
    void Clear();

    void Update();
    void Render();

    void SetAlpha(int alpha) override;
    void DissolveOut(int frames);
    void DissolveIn(int frames);
    bool IsDissolving() const;

    bool IsInputBlocked() const { return _all_no_input || _all_game_over; }
    bool IsWaiting() const { return _any_wait; }
    bool IsGameOver() const { return _all_game_over; }

    // A failed check ("bird != NULL") throws for a null bird.
    void SetBirdState(Bird* bird, int state);
    // An index at or past the end is ignored.
    void SetBirdStateAt(size_t index, int state);

    // Events; all walk the birds in list order.
    void OnRowFallen(const std::vector<int>& cells);
    void GetDropCells(std::vector<DropCell>& cells) const;
    void GetDropCellsAmong(int delay, std::vector<DropCell>& cells) const;
    void CheckLanding();
    bool HitByHammer();
    void SetStateUnderMouse(int state);
    void OnSlowDown(bool started);
    void OnLevelEnd();
    void GetBirdColumns(std::vector<int>& columns) const;
    void SendBirdInColumn(int column);
    void UseEgg();
    bool HasBirdInState(int state) const;
    // Appends the cells of the birds in the state; true when there is none.
    bool GetBirdsInState(int state, std::vector<int>& cells) const;
    void SetStateAtCells(const std::vector<int>& cells, int state);

    // The "Birds" block of the saved game under `node`: one "Bird" per bird
    // with "cell_index" and "state" (6 for a bird in state 2 or 6, else 13).
    bool Serialize(CXMLFile& xml, CXMLNode& node) const;
    // Creates the birds of the block below `node` without sounds; a block
    // without birds leaves the birds as they are. A bird of an unknown state
    // comes back settled; one outside the field is skipped (false then).
    // At most one bird for each of the level's entry cells comes back; the
    // rest are logged and left out.
    bool Deserialize(const CXMLNode& node);

    const std::vector<Bird>& GetBirds() const { return _birds; }

private:
    void LoadDescriptions(const CXMLFile& document, const std::string& xpath);
    const BirdDesc& RequireDesc(int id) const;
    const BirdDesc* FindDesc(int id) const;
    // The state a saved bird comes back in: a state the writer writes, else
    // settled (logged with the bird's index).
    int SavedState(int index, int state) const;
    // A bird in the state whose sprite's top-left is at (x, y).
    Bird MakeBird(int cell, int state, float x, float y, bool with_sounds);
    void RemoveAllBirds();
    void ResetFlags();
    void FullAlpha();

    bool TestCondition(Bird& bird);
    bool MoveToCell(Bird& bird);
    bool FlyAway(Bird& bird);
    bool IsAnimationOver(Bird& bird);
    void ApplyCondition(Bird& bird);
    void EnterFromAbove(Bird& bird);

    void AddDropCells(std::vector<DropCell>& cells, const std::vector<int>* among) const;
    Bird* BirdUnderMouse(bool (*eligible)(int state));
    int ColumnOf(const Bird& bird) const;

    std::vector<BirdDesc> _descriptions;
    std::vector<Bird> _birds;
    IBirdsOwner* _owner;
    std::unique_ptr<CRendererKeeper> _keeper;
    std::unique_ptr<CBirdsDissolver> _dissolver;
    bool _all_game_over = false;
    bool _all_no_input = false;
    bool _any_wait = false;
};
