#pragma once
// The episode-start and episode-complete dialogs: the episode's page of
// "ID_MISSIONS", its number in the owner-drawn label "ID_STAGE", a pulsing
// congratulation line in place of the label "ID_CONGRATULATIONS", and
// decorative birds. "ID_OK" answers 1. The node's "activate_sample" plays
// when the dialog is shown, the sample given to Show at its first frame.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "field/bird.h"
#include "game/pulsing_label.h"
#include "gui/base_dialog.h"

class CBirds;

class CEpisodeDialog : public CBaseDialog {
public:
    static constexpr int kContinue = 1;

    CEpisodeDialog();
    ~CEpisodeDialog() override;

    bool Load(const CXMLNode& node) override;
    // Shown again: the first-frame sample is due, the pointer goes to the
    // screen's centre, the congratulation line starts pulsing, the birds come anew.
    void Activate() override;
    void Clear() override;
    void Draw(bool skip_update) override;
    void OnClick(CBaseControl* control) override;
    // Prints "ID_STAGE" with the episode's number.
    void OnCustomDraw(CBaseControl* control, int row, int x, int y, const std::string& text,
                      CStaticText* text_object) override;

    // Shows the dialog for the episode (0-based); `sample` plays at its first frame.
    void Show(int32_t episode, const std::string& sample);

    int32_t GetEpisode() const { return _episode; }
    const CPulsingLabel& GetCongratulation() const { return _congratulation; }
    const std::vector<BirdPlacement>& GetPlacements() const { return _placements; }
    const CBirds* GetBirds() const { return _birds.get(); }

private:
    void StartCongratulation();
    void CreateBirds();

    CPulsingLabel _congratulation;
    uint8_t _first_draw_pending = 1;
    std::string _activate_sample;
    std::string _first_draw_sample;
    int32_t _episode = 0;
    std::vector<BirdPlacement> _placements;
    std::shared_ptr<CBirds> _birds;
};
