#pragma once
// The hints: small dialogs described in "Settings\Hints.xml" that point at
// something on the field the first time a player meets it. The manager tells
// the scene which hints a player has not seen, describes a hint's anchor to
// the field, shows one hint at a time on a screen point, draws it, and stores
// it as seen for that player when the player closes it.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/noncopyable.h"
#include "field/hint_info.h"

class CHintDialog;
class CUserProfiles;

class CHintsManager : NonCopyable {
public:
    static constexpr int32_t kNoHint = -999;

    // The program's one manager over the shipped hints and the profile store.
    static CHintsManager& Instance();

    // Loads the hints of `file_name`; a file that cannot be read leaves none.
    CHintsManager(CUserProfiles& profiles, const std::string& file_name);
    ~CHintsManager();

    // Fills `hints` with the ids the player has not seen, in file order; true
    // when there is none.
    bool CollectUnshownHints(uint32_t player, std::vector<int32_t>& hints) const;
    // False (a logged failed check) when no hint has the id.
    bool GetHintInfo(int32_t id, HintInfo& info) const;
    // Shows the first hint of that id with its anchor on (x, y) for the player;
    // false (a logged failed check) when no hint has the id.
    bool ShowHint(uint32_t player, int32_t id, float x, float y);
    bool IsHintActive() const { return _active != 0; }
    int32_t GetActiveIndex() const { return _active_hint; }
    // Draws the active hint with its input; an answer closes it and stores it
    // as seen for its player.
    void Render();
    // Hands a key to the active hint (Space and Enter close it).
    void OnKeyDown(int key);

    size_t GetHintCount() const { return _available_hints.size(); }
    CHintDialog* GetDialog(size_t index) const;

private:
    struct HintEntry {
        int32_t id = 0;
        std::shared_ptr<CHintDialog> dialog;
        bool wait_time_out = false;
        HintInfo info;  // bounds and anchor as loaded
    };

    void Load(const std::string& file_name);
    // Position of the first hint with the id; -1 when none.
    int FindIndex(int32_t id) const;

    CUserProfiles& _profiles;
    std::vector<HintEntry> _available_hints;
    uint8_t _active = 0;
    int32_t _active_hint = kNoHint;
    uint32_t _active_player = 0;
};
