#pragma once
// The episode selector's panel: a button per episode (shown only once the
// active player has unlocked it), an arrow at the selected episode, the three
// best scores, and the ways into the game (result 1 or 4) or back to the menu
// (result 3). The hiscore rows are drawn after the panel's controls.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/base_dialog.h"
#include "profiles/user_profiles.h"

class CStaticText;
class ITrophyRoom;
struct PrintfArg;

class CSelectionDialog : public CBaseDialog {
public:
    static constexpr int kResultPlay = 1;
    static constexpr int kResultBack = 3;
    static constexpr int kResultLoad = 4;
    // Rows of the hiscore table.
    static constexpr int32_t kTopScores = 3;
    // Pixels kept free between a player's name and the score.
    static constexpr float kNameScoreGap = 12.0f;

    // room: whose trophies a player who has won looks back at.
    explicit CSelectionDialog(ITrophyRoom& room, CUserProfiles* profiles = nullptr);
    ~CSelectionDialog() override;

    // Hides the column templates and takes the rows' layout from them.
    bool Load(const CXMLNode& node) override;
    void Clear() override;
    void OnClick(CBaseControl* control) override;
    void OnKeyDown(int key) override;
    // The controls, then the hiscore rows over them.
    void Draw(bool skip_update) override;

    // Shown afresh: the episodes the player may play, the best scores, the
    // way back that fits where the player came from, and the episode to select.
    void Refresh(bool came_from_menu);
    void SelectEpisode(int32_t index);
    void RenderHiscores();

    int32_t GetSelectedEpisode() const { return _selected_episode; }
    int32_t GetSelectedLevel() const { return _selected_level; }
    uint32_t GetEpisodeCount() const { return _episode_count; }
    bool CameFromMenu() const { return _came_from_menu != 0; }
    const std::vector<ScoreRecord>& GetTopScores() const { return _top_scores; }
    const std::vector<std::unique_ptr<CStaticText>>& GetHiscoreTexts() const { return _hiscore_texts; }
    int32_t GetRowHeight() const { return _row_height; }
    int32_t GetFirstRowY() const { return _first_row_y; }

private:
    CUserProfiles& Profiles() const;
    // Shows the buttons of the unlocked episodes; false (logged) without episodes.
    bool RefreshEpisodes();
    bool IsEpisodeAvailable(int32_t episode);
    void BuildHiscoreTexts();
    CStaticText& AddHiscoreText(const std::string& label, const std::string& column, float y, const PrintfArg& arg);
    // Moves a score that would run past the scores panel back inside it;
    // returns where the score begins.
    float KeepScoreInPanel(CStaticText& score) const;
    // Cuts the name, with an ellipsis, until it ends before `right`.
    static void FitName(CStaticText& name, const std::string& full, float right);
    void ShowControl(const std::string& id, bool show) const;
    // The episode of an "ID_MIS_IMAGE_%i" button; -1 for any other control.
    static int32_t EpisodeOfButton(const std::string& id);

    uint32_t _episode_count = 0;
    uint8_t _came_from_menu = 0;
    int32_t _selected_episode = 0;
    int32_t _selected_level = 0;
    std::vector<ScoreRecord> _top_scores;
    std::vector<std::unique_ptr<CStaticText>> _hiscore_texts;
    int32_t _row_height = 0;
    int32_t _first_row_y = 0;
    ITrophyRoom& _room;
    CUserProfiles* _store;
};
