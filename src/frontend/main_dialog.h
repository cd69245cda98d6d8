#pragma once
// The main menu's own panel: play, options, players and exit buttons, and a
// greeting with the active player's name. The menu scene reads the button
// last clicked as a command.
#include <cstdint>
#include <string>

#include "gui/base_dialog.h"

class CUserProfiles;

class CMainDialog : public CBaseDialog {
public:
    // What the buttons ask for; kNone until one is clicked.
    static constexpr int32_t kNone = -1;
    static constexpr int32_t kArcade = 0;
    static constexpr int32_t kOptions = 1;
    static constexpr int32_t kExit = 2;
    static constexpr int32_t kSelectProfile = 3;

    // The store whose active player is greeted (the program's own by default).
    explicit CMainDialog(CUserProfiles* profiles = nullptr);

    // "ID_SELECTED_USER" is drawn by the dialog: its label with the player's name.
    bool Load(const CXMLNode& node) override;
    // No command yet; the click that opened the panel does not count.
    void Activate() override;
    void OnClick(CBaseControl* control) override;
    void OnCustomDraw(CBaseControl* control, int row, int x, int y, const std::string& text,
                      CStaticText* text_object) override;

    int32_t GetCommand() const { return _command; }

private:
    CUserProfiles& Profiles() const;

    int32_t _command = kNone;
    // The player whose name the greeting holds; kNone lays it out again.
    int32_t _shown_player = kNone;
    CUserProfiles* _profiles;
};
