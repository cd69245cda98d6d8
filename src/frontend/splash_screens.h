#pragma once
// The splash pictures shown before the main menu, read from
// "Settings\SplashScreen.xml": each fades in on its own background colour,
// holds for its time, fades out, and the next one follows. The menu draws
// them, skips them on Esc, Space or a mouse button, and drops the object once
// the last one has gone.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/noncopyable.h"

class C2DObject;
class CStaticText;

struct SplashDesc {
    CGraphicsDesc graphics;
    uint32_t bk_color = 0xFF000000;  // ARGB
    float pos_x = 0;
    float pos_y = 0;
    // Vertex alphas, kept within 0..255 with min_alpha <= max_alpha.
    int32_t min_alpha = 0;
    int32_t max_alpha = 0;
    // Alpha units per frame; 0 or less reaches the end of the fade at once.
    int32_t fade_in_speed = 0;
    int32_t fade_out_speed = 0;
    int32_t ttl = 0;  // milliseconds at full alpha
    // A text of the current language printed over the picture (the child
    // "Text": label alias, x, y); no text without a label.
    std::string text_label;
    float text_x = 0;
    float text_y = 0;
};

class CSplashScreens : NonCopyable {
public:
    // Milliseconds of a tick counter; the system's tick count by default.
    using Clock = std::function<uint32_t()>;

    // Loads the file, builds one sprite per splash, hides the mouse cursor and
    // starts the first splash. A missing or broken file, or one without
    // splashes, leaves the sequence over at once (logged).
    explicit CSplashScreens(Clock clock = {});
    ~CSplashScreens();

    bool IsActive() const { return _active != 0; }
    // One frame while active: steps the fade of the current splash and draws it.
    void Update();
    // The colour to clear the screen with: the current splash's while active.
    uint32_t GetBackColor() const;
    // Goes on to the following splash (the sequence ends after the last).
    void Next() { Start(_current + 1); }
    // Deletes the sprites and shows the mouse cursor again.
    void Release();

    uint32_t GetCurrent() const { return _current; }
    const std::vector<SplashDesc>& GetDescriptions() const { return _descs; }
    // The current splash's alpha; -1 when there is no sprite for it.
    int GetAlpha() const;
    // The text of a splash; null without one.
    const CStaticText* GetText(uint32_t index) const { return index < _texts.size() ? _texts[index].get() : nullptr; }
    // The current splash has reached its full alpha and holds (or fades out).
    bool IsHolding() const { return _shown_since != kFadingIn; }

private:
    static constexpr uint32_t kFadingIn = 0xFFFFFFFFu;

    void Load();
    void CreateSprites();
    // The splash's text, faded with its picture.
    void RenderText(int alpha);
    void Start(uint32_t index);
    void SetAlpha(int alpha);

    Clock _clock;
    uint8_t _active = 0;
    uint32_t _current = 0;
    uint32_t _shown_since = kFadingIn;
    std::vector<std::unique_ptr<C2DObject>> _sprites;
    std::vector<std::unique_ptr<CStaticText>> _texts;  // per splash; null without text
    std::vector<SplashDesc> _descs;
    uint8_t _cursor_hidden = 0;
};
