#pragma once
// The offer to resume the active player's suspended game: which episode and
// level it stands at (1-based on screen), load it (1), start a new game
// instead (2, the menu then asks to confirm) or go back with Esc (3).
#include <cstdint>
#include <string>

#include "gui/base_dialog.h"

class CLoadSuspendedDialog : public CBaseDialog {
public:
    static constexpr int kResultLoad = 1;
    static constexpr int kResultNewGame = 2;
    static constexpr int kResultBack = 3;

    // Shown afresh with the saved game's numbers. A game saved at the end of
    // an episode (next_episode) resumes at the start of the next one.
    void Setup(int32_t episode, int32_t level, int32_t score, int32_t lives, bool next_episode);
    // The same from a saved-game record (episode, level, score, lives).
    template <typename Record>
    void Setup(const Record& record, bool next_episode) {
        Setup(record.episode, record.level, record.score, record.lives, next_episode);
    }

    void OnClick(CBaseControl* control) override;
    void OnCustomDraw(CBaseControl* control, int row, int x, int y, const std::string& text,
                      CStaticText* text_object) override;
    void OnKeyDown(int key) override;

    int32_t GetEpisode() const { return _episode; }
    int32_t GetLevel() const { return _level; }
    int32_t GetScore() const { return _score; }
    int32_t GetLives() const { return _lives; }

private:
    int32_t _episode = 0;
    int32_t _level = 0;
    int32_t _score = 0;
    int32_t _lives = 0;
};
