#pragma once
// A banner: one label of the current language over the field that fades in,
// holds and fades out (flag 1), or grows from a tiny height to its own and
// holds (flag 2). Its owner calls Render every frame, which draws the banner
// and then advances it. Flag 4 puts it at the screen centre (the lives
// banner's choice), flag 8 keeps drawing it after it finished.
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/label_desc.h"

class CGameMessage {
public:
    enum Flags : uint32_t { kFade = 1, kZoom = 2, kCentre = 4, kDrawHidden = 8 };

    CGameMessage() = default;
    virtual ~CGameMessage() = default;
    CGameMessage(const CGameMessage&) = delete;
    CGameMessage& operator=(const CGameMessage&) = delete;

    // Hidden, 80 frames to hold, zoom speed 3.
    virtual void Init();
    virtual void Hide();
    // Starts the banner afresh with that label and those flags.
    virtual void Show(const std::string& alias, uint32_t flags);
    // Frames to hold the text (used by the next Show).
    virtual void SetDuration(uint32_t frames);
    virtual bool IsShown() const;
    // Draws (unless hidden without flag 8), then steps; true once finished or hidden.
    virtual bool Render();
    // One step; true once finished or hidden.
    virtual bool Update();
    // Prints the label with the banner's style in place.
    virtual void Draw();

    // Height added per frame while growing.
    void SetSpeed(float speed) { _speed = speed; }

    const std::string& GetAlias() const { return _label_alias; }
    uint32_t GetFlags() const { return _flags; }
    const LabelDesc& GetStyle() const { return _style; }
    float GetCurrentHeight() const { return _current_height; }
    uint32_t GetHoldCounter() const { return _hold_counter; }
    const std::vector<int32_t>& GetAlphaTrack() const { return _alpha_track; }
    uint32_t GetAlphaIndex() const { return _alpha_index; }

protected:
    // The game screen's horizontal centre and half the screen height.
    static float CentreX();
    static float CentreY();

    std::string _label_alias;
    uint8_t _shown = 0;
    uint32_t _flags = 0;
    LabelDesc _style;
    uint32_t _duration = 80;
    float _current_height = 0.0f;
    float _speed = 3.0f;
    uint32_t _hold_counter = 0;
    std::vector<int32_t> _alpha_track;
    uint32_t _alpha_index = 0;

private:
    bool StepAlpha();
    bool StepZoom();

    float _target_height = 0.0f;  // the label's own height, read at Show
};
