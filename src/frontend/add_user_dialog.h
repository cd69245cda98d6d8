#pragma once
// The name entry for a new player: OK (or Enter in the edit) creates the
// player and makes it active; a name that exists already makes that player
// active instead and keeps the panel open; an empty name is never taken.
#include <string>

#include "gui/base_dialog.h"

class CBaseMenuEdit;
class CUserProfiles;

class CAddUserDialog : public CBaseDialog {
public:
    static constexpr int kResultAdded = 1;
    static constexpr int kResultBack = 3;

    explicit CAddUserDialog(CUserProfiles* profiles = nullptr);

    // An empty, active edit.
    void Activate() override;
    void OnClick(CBaseControl* control) override;
    void OnKeyDown(int key) override;
    // Enter in the edit (which leaves its active state) counts as OK.
    void Draw(bool skip_update) override;

    const std::string& GetName() const { return _name; }

private:
    CUserProfiles& Profiles() const;
    CBaseMenuEdit* Edit() const;
    void OnOk();
    // The edit's text without trailing blanks as the name (the edit stays
    // active); false when empty.
    bool TakeName();
    // True only when a new player was created.
    bool AddOrSelectPlayer();

    std::string _name;
    CUserProfiles* _store;
};
