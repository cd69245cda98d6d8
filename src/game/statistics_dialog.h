#pragma once
// The level-end statistics: score, time, ace time, the time bonus (or a line
// saying there is none) and the best time with its holder count up one line
// after another, each starting in the frame after its predecessor finished; a
// click or Space starts all lines at once. One tip, chosen at random, stands
// below. "ID_OK", 'Y' and 'y' answer 1, 'N' and 'n' answer 2.
//
// The dialog's label controls only place the lines: at Load each one's
// caption (a label alias) and position are taken and the control removed.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "field/level_statistics.h"
#include "game/group_counter.h"
#include "game/text_placement.h"
#include "graphics/static_text.h"
#include "gui/base_dialog.h"

class CStatisticsDialog : public CBaseDialog {
public:
    static constexpr int kYes = 1;
    static constexpr int kNo = 2;

    bool Load(const CXMLNode& node) override;
    // Builds a fresh tally of the level and activates the dialog.
    void Show(const LevelStatistics& statistics);
    // Advances the tally, draws the controls, the lines and the tip.
    void Draw(bool skip_update) override;
    void OnClick(CBaseControl* control) override;
    void OnKeyDown(int key) override;

    const LevelStatistics& GetStatistics() const { return _statistics; }
    const std::vector<std::shared_ptr<ComplexCounter::CGroupCounter>>& GetGroups() const { return _groups; }
    // The placement taken from a label id; an empty one when the label was missing.
    const TextPlacement& GetPlacement(const std::string& id) const;
    const std::vector<TextPlacement>& GetTips() const { return _tips; }
    const CStaticText& GetTipText() const { return _tip_text; }

private:
    void AddLine(std::shared_ptr<ComplexCounter::CBaseCounter> counter);
    void AdvanceTally();
    void ChooseTip();

    LevelStatistics _statistics;
    uint8_t _skip = 0;
    std::vector<std::shared_ptr<ComplexCounter::CGroupCounter>> _groups;
    std::map<std::string, TextPlacement> _placements;
    std::vector<TextPlacement> _tips;
    CStaticText _tip_text;
};
