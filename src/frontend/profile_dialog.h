#pragma once
// The list of players: choose one (OK or a double click), add one, delete
// one (after the menu's confirmation) or go back. Each row shows the label
// "UserName" of the current language with the player's name.
#include <cstdint>
#include <string>
#include <vector>

#include "gui/base_dialog.h"

class CMenuListBox;
class CUserProfiles;

class CProfileDialog : public CBaseDialog {
public:
    static constexpr int kResultChosen = 1;
    static constexpr int kResultBack = 3;
    static constexpr int kResultAdd = 4;
    static constexpr int kResultDelete = 5;

    explicit CProfileDialog(CUserProfiles* profiles = nullptr);

    void Activate() override;
    void OnClick(CBaseControl* control) override;
    void OnCustomDraw(CBaseControl* control, int row, int x, int y, const std::string& text,
                      CStaticText* text_object) override;
    void OnItemClick(CBaseControl* control, int32_t index) override;
    void OnKeyDown(int key) override;

    // The players into the list, the active one selected.
    void Refresh();
    // Deletes the player marked by "ID_DELETE" (once) and refreshes.
    void DeleteMarked();

    int32_t GetMarked() const { return _marked; }
    const std::vector<std::string>& GetNames() const { return _profiles; }

private:
    CUserProfiles& Profiles() const;
    CMenuListBox* List() const;
    // Makes the listed player at `index` active; false for a row that is no player.
    bool Choose(int64_t index);

    std::vector<std::string> _profiles;
    int32_t _marked = -1;
    CUserProfiles* _store;
};
