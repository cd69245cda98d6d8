#pragma once
// The life-lost dialog: birds land one after another, "delay" frames apart,
// then a banner grows where the label "ID_LIVES_NUM" stands and tells how
// many lives are left. "ID_OK" answers 3. The node's "Birds" (with "delay")
// and "Message" ("delay": frames the banner holds, "speed": its growth per
// frame) set the show.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/vector2.h"
#include "field/bird.h"
#include "field/countdown.h"
#include "gui/base_dialog.h"

class CBirds;
class CRemainsLivesMessage;

class CDyingDialog : public CBaseDialog {
public:
    static constexpr int kContinue = 3;
    // The state of "//Birds/DyingDialog/Bird" in which a bird lands.
    static constexpr int kLanding = 7;

    CDyingDialog();
    ~CDyingDialog() override;

    bool Load(const CXMLNode& node) override;
    void Clear() override;
    // Draws the birds and the banner; unless skip_update, one more step of the show.
    void Draw(bool skip_update) override;
    void OnClick(CBaseControl* control) override;

    // Shown again for `lives` lives left; the first number is not used.
    void Show(uint32_t unused, uint32_t lives);

    // One frame of the show: the next bird lands when its turn has come;
    // after the last, the banner appears. True while birds are still to land.
    bool Step();

    uint32_t GetBirdIndex() const { return _bird_index; }
    uint32_t GetBirdDelay() const { return _bird_delay; }
    uint32_t GetLives() const { return _lives; }
    const CVector2& GetLivesPosition() const { return _lives_position; }
    const CBirds* GetBirds() const { return _birds.get(); }
    const CRemainsLivesMessage* GetBanner() const { return _banner.get(); }

private:
    void RebuildBirds();

    std::vector<BirdPlacement> _placements;
    std::shared_ptr<CBirds> _birds;
    CCountdown _bird_countdown;
    uint32_t _bird_index = 0;
    uint32_t _bird_delay = 0;
    uint32_t _lives = 0;
    CVector2 _lives_position;
    uint32_t _banner_duration = 0;
    float _banner_speed = 0.0f;
    std::shared_ptr<CRemainsLivesMessage> _banner;
};
