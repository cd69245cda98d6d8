#include "frontend/splash_screens.h"

#include <algorithm>
#include <exception>

#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "graphics/object_2d.h"
#include "graphics/static_text.h"
#include "gui/gui_services.h"
#include "platform/system.h"

namespace {

const char* const kSplashFile = "Settings\\SplashScreen.xml";

constexpr int32_t kMaxAlpha = 255;

void ShowCursor(bool show) {
    if (IMouseController* mouse = gui::Mouse()) mouse->ShowCursor(show);
}

// The alphas are vertex alphas: a value outside 0..255 would turn into 255 on
// the sprite, and a fade between crossed limits would never end.
void KeepAlphasInRange(SplashDesc& d, int index) {
    const int32_t min_alpha = std::clamp(d.min_alpha, 0, kMaxAlpha);
    const int32_t max_alpha = std::clamp(d.max_alpha, min_alpha, kMaxAlpha);
    if (min_alpha != d.min_alpha || max_alpha != d.max_alpha)
        CLogger::Instance().Log(1, "Warning: splash %d: alphas %d..%d kept within 0..255 as %d..%d.", index,
                                d.min_alpha, d.max_alpha, min_alpha, max_alpha);
    d.min_alpha = min_alpha;
    d.max_alpha = max_alpha;
    // One step of 255 crosses any range; larger steps only risk overflow.
    d.fade_in_speed = std::min(d.fade_in_speed, kMaxAlpha);
    d.fade_out_speed = std::min(d.fade_out_speed, kMaxAlpha);
    d.ttl = std::max(d.ttl, 0);
}

SplashDesc ReadSplash(const CXMLNode& node, int index) {
    SplashDesc d;
    d.graphics = ParseGraphics(node);
    d.bk_color = StrToColor(node.GetAttribute("bk_color", "FF000000"));
    d.pos_x = node.GetAttributeFloat("pos_x", 0);
    d.pos_y = node.GetAttributeFloat("pos_y", 0);
    d.min_alpha = node.GetAttributeInt("min_alpha", 0);
    d.max_alpha = node.GetAttributeInt("max_alpha", 0);
    d.fade_in_speed = node.GetAttributeInt("fade_in_speed", 0);
    d.fade_out_speed = node.GetAttributeInt("fade_out_speed", 0);
    d.ttl = node.GetAttributeInt("ttl", 0);
    if (const CXMLNode text = node.SelectSingleNode("Text"); text.IsValid()) {
        d.text_label = text.GetAttribute("label", "");
        d.text_x = text.GetAttributeFloat("x", 0);
        d.text_y = text.GetAttributeFloat("y", 0);
    }
    KeepAlphasInRange(d, index);
    return d;
}

}  // namespace

CSplashScreens::CSplashScreens(Clock clock) : _clock(clock ? std::move(clock) : Clock(plat::GetTickCount)) {
    Load();
    CreateSprites();
    ShowCursor(false);
    _cursor_hidden = 1;
    Start(0);
}

CSplashScreens::~CSplashScreens() { Release(); }

void CSplashScreens::Load() {
    _active = 1;
    try {
        CXMLFile file(kSplashFile);
        const CXMLNodeList list = file.SelectNodes("//SplashScreens/Splash");
        for (int i = 0; i < list.GetLength(); ++i) _descs.push_back(ReadSplash(list.GetItem(i), i));
    } catch (const std::exception& e) {
        _descs.clear();
        CLogger::Instance().Log(2, "Error: no splash screens, '%s' cannot be read (%s)!", kSplashFile, e.what());
        return;
    }
    if (_descs.empty()) CLogger::Instance().Log(1, "Warning: '%s' has no splash screens.", kSplashFile);
}

void CSplashScreens::CreateSprites() {
    _sprites.reserve(_descs.size());
    for (const SplashDesc& d : _descs) {
        auto sprite = std::make_unique<C2DObject>();
        sprite->InitFromTexRect(d.pos_x, d.pos_y, static_cast<float>(d.graphics.width),
                                static_cast<float>(d.graphics.height), d.graphics.tex_rect);
        sprite->CreateRenderer(d.graphics.texture);
        sprite->SetAlpha(d.min_alpha, kAllCorners);
        _sprites.push_back(std::move(sprite));
        std::unique_ptr<CStaticText> text;
        if (!d.text_label.empty()) {
            text = std::make_unique<CStaticText>();
            text->SetLabel(d.text_label, CVector2(d.text_x, d.text_y));
        }
        _texts.push_back(std::move(text));
    }
}

void CSplashScreens::RenderText(int alpha) {
    CStaticText* text = _texts[_current].get();
    if (!text) return;
    text->Layout();
    // The label's own alpha at full picture alpha, the picture's fade below it.
    const int label_alpha = static_cast<int>(text->GetTextStyle().color >> 24);
    text->SetAlpha(label_alpha * std::clamp(alpha, 0, kMaxAlpha) / kMaxAlpha);
    text->Render();
}

void CSplashScreens::Start(uint32_t index) {
    if (index < _descs.size()) {
        _current = index;
        _shown_since = kFadingIn;
    } else {
        _active = 0;
    }
}

int CSplashScreens::GetAlpha() const {
    return _current < _sprites.size() && _sprites[_current] ? _sprites[_current]->GetAlpha(0) : -1;
}

void CSplashScreens::SetAlpha(int alpha) {
    if (C2DObject* sprite = _sprites[_current].get()) sprite->SetAlpha(alpha, kAllCorners);
}

void CSplashScreens::Update() {
    if (!_active || _current >= _sprites.size() || !_sprites[_current]) return;
    const SplashDesc& d = _descs[_current];
    const int alpha = _sprites[_current]->GetAlpha(0);
    if (_shown_since == kFadingIn) {
        if (alpha < d.max_alpha)
            SetAlpha(d.fade_in_speed > 0 ? std::min(alpha + d.fade_in_speed, d.max_alpha) : d.max_alpha);
        else
            _shown_since = _clock();
    } else if (_clock() - _shown_since >= static_cast<uint32_t>(d.ttl)) {
        if (alpha > d.min_alpha)
            SetAlpha(d.fade_out_speed > 0 ? std::max(alpha - d.fade_out_speed, d.min_alpha) : d.min_alpha);
        else
            Next();
    }
    // After the last splash this is still the last one, at its end alpha.
    if (C2DObject* sprite = _sprites[_current].get()) {
        sprite->Render();
        RenderText(sprite->GetAlpha(0));
    }
}

uint32_t CSplashScreens::GetBackColor() const { return _active ? _descs[_current].bk_color : 0xFF000000u; }

void CSplashScreens::Release() {
    _sprites.clear();
    _texts.clear();
    // The cursor hidden at construction comes back once.
    if (_cursor_hidden) ShowCursor(true);
    _cursor_hidden = 0;
}
