#pragma once
// The episode selector scene ("Selector"): the selection panel over a moving
// background with the trophy room, reached from the menu (a new game, or a
// resumed one that stands at the start of an episode) and from the game
// (after an episode, or after the whole game, when the game-complete panel
// slides in once the trophy room has settled).
#include <cstdint>
#include <memory>

#include "engine/scene.h"
#include "frontend/game_complete_dialog.h"
#include "frontend/selection_dialog.h"
#include "gui/panel_manager.h"

class CBackground;
class ITrophyRoom;
class CUserProfiles;

class CSelector : public AScene {
public:
    explicit CSelector(ITrophyRoom& room, CUserProfiles* profiles = nullptr);
    ~CSelector() override;

    void Init() override;
    void Reset() override;
    bool Update() override;
    void Render() override;
    void OnKeyDown(uint16_t key) override;
    void Exit() override;
    void OnActivate(bool) override {}

    // Leaving for the menu after arriving from the game: the player's suspended
    // game stands at the start of the next episode (state 1).
    void MarkPlayerState();

    CSelectionDialog& GetSelectionPanel() { return _selection; }
    CGameCompleteDialog& GetGameCompletePanel() { return _game_complete; }
    const CPanelManager& GetPanelManager() const { return _panels; }
    bool IsModal() const { return _modal != 0; }
    bool IsGameCompletePending() const { return _game_complete_pending != 0; }
    bool WillMarkStateOnLeave() const { return _mark_state_on_leave != 0; }
    const CBackground* GetBackground() const { return _back.get(); }

private:
    CUserProfiles& Profiles() const;
    void LoadPanels();
    void CreateBackground();
    // Resuming through the selector starts the episode after the saved one.
    void TakeResumedEpisode();
    void UpdateSelection();
    void UpdateGameComplete();
    void SwitchTo(const char* scene);

    std::shared_ptr<CBackground> _back;
    CSelectionDialog _selection;
    CGameCompleteDialog _game_complete;
    CPanelManager _panels;
    uint8_t _modal = 0;
    uint8_t _game_complete_pending = 0;
    uint8_t _mark_state_on_leave = 0;
    ITrophyRoom& _room;
    CUserProfiles* _store;
};
