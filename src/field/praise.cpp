#include "field/praise.h"

#include <algorithm>

#include "engine/engine_core_interface.h"
#include "engine/printf_arg.h"
#include "engine/game_math.h"
#include "engine/logger.h"
#include "engine/random.h"
#include "graphics/static_text.h"
#include "graphics/textured_rect_base.h"
#include "graphics/textured_rect_interface.h"
#include "graphics/textured_rects_list.h"

namespace {

constexpr float kTravel = 350.0f;     // pixels a rise covers, and the frames of a path at speed 1
constexpr float kFadePart = 0.33f;    // the moving kinds fade over this last part of the path
constexpr int kFadeStep = 4;          // alpha lost per frame while fading
constexpr float kArcSpeed = 5.0f;
constexpr float kArcDuration = 140.0f;
constexpr float kArcStep = 0.5f;

float ScreenHeight() { return g_EngineCore ? static_cast<float>(g_EngineCore->GetScreenHeight()) : 600.0f; }

[[noreturn]] void BadKind() {
    LogFailedCheck("Assert", "false", __FILE__, __LINE__);
    ThrowAssertionFailed();
}

void BuildArc(const CVector2& start, std::vector<CVector2>& path) {
    const float h = ScreenHeight();
    const float angle = static_cast<float>(fx::Range(95, 125));
    std::vector<CVector2> points;
    BuildTrajectory(angle, kArcSpeed, CVector2(start.x, h - start.y), kArcDuration, kArcStep, points);
    path.reserve(points.size());
    CVector2 previous = start;
    for (const CVector2& p : points) {
        const CVector2 screen(p.x, h - p.y);
        path.emplace_back(screen.x - previous.x, screen.y - previous.y);
        previous = screen;
    }
}

void BuildZoom(float height, float n, std::vector<CVector2>& path) {
    const float third = n / 3.0f;
    const float half = third * 0.5f;
    for (int i = 0; static_cast<float>(i) < half; ++i)
        path.emplace_back(0.0f, static_cast<float>(static_cast<int>(height / half * static_cast<float>(i))));
    for (int i = 0; static_cast<float>(i) < third * 0.2f + third; ++i) path.emplace_back(0.0f, height);
    for (int i = 0; static_cast<float>(i) < half; ++i)
        path.emplace_back(0.0f, static_cast<float>(static_cast<int>((half - static_cast<float>(i)) * height / half)));
}

// The box of a laid-out text; false when it has no quads.
bool TextBox(const CStaticText& text, CFloatRect& box) {
    CTexturedRectsList& batch = text.GetBatch();
    if (batch.GetCount() == 0) return false;
    for (int i = 0; i < batch.GetCount(); ++i) {
        const ATexturedRect* rect = batch.GetRect(static_cast<size_t>(i));
        if (!rect) continue;
        const CFloatRect quad(rect->GetLeft(), rect->GetTop(), rect->GetRight(), rect->GetBottom());
        if (i == 0) {
            box = quad;
            continue;
        }
        box.left = std::min(box.left, quad.left);
        box.top = std::min(box.top, quad.top);
        box.right = std::max(box.right, quad.right);
        box.bottom = std::max(box.bottom, quad.bottom);
    }
    return true;
}

// The shift that brings [lo, hi] into [min, max]; a span longer than the
// room is aligned with min.
float ShiftInto(float lo, float hi, float min, float max) {
    if (hi > max) return std::max(max - hi, min - lo);
    return lo < min ? min - lo : 0.0f;
}

}  // namespace

CPraise::CPraise() = default;
CPraise::~CPraise() = default;

float CPraise::DrawSpeed() { return static_cast<float>(fx::Range(16, 25)) / 10.0f; }

void CPraise::BuildPath(int kind, const CVector2& start, float height, float speed, std::vector<CVector2>& path) {
    path.clear();
    const float n = kTravel / speed;
    switch (kind) {
        case pkArc: BuildArc(start, path); break;
        case pkRise:
            for (int i = 0; static_cast<float>(i) < n; ++i) path.emplace_back(0.0f, -speed);
            break;
        case pkStay:
            for (int i = 0; static_cast<float>(i) < n; ++i) path.emplace_back(0.0f, 0.0f);
            break;
        case pkZoom: BuildZoom(height, n, path); break;
        default: BadKind();
    }
}

void CPraise::Add(const CVector2& position, int points, const std::string& label, int kind) {
    if (points == 0) return;
    auto text = std::make_shared<CStaticText>();
    text->SetLabel(label, position);
    const PrintfArg arg(points);
    text->SetArgs(&arg, nullptr);
    TextStyle style = text->GetTextStyle();

    Entry entry;
    entry.kind = kind;
    CVector2 start = position;
    const bool limited = _area != CFloatRect();
    // The start moves in before the path is made: the arc's path depends on it.
    if (limited) KeepInArea(*text, entry, start, label);
    BuildPath(kind, start, style.height, DrawSpeed(), entry.path);
    // A path of fewer than two frames shows nothing (it would never run out).
    if (entry.path.size() < 2) return;
    if (limited && (kind == pkArc || kind == pkRise)) KeepInArea(*text, entry, start, label);
    if (kind == pkZoom) {
        style.height = entry.path.front().y;
        text->SetTextStyle(style);
    }
    entry.remaining = static_cast<int>(entry.path.size()) - 1;
    entry.text = std::move(text);
    _entries.push_back(std::move(entry));
}

void CPraise::KeepInArea(CStaticText& text, Entry& entry, CVector2& position, const std::string& label) const {
    text.Layout();
    CFloatRect box;
    if (!TextBox(text, box)) return;
    if (entry.path.empty()) {
        const float dx = ShiftInto(box.left, box.right, _area.left, _area.right);
        const float dy = ShiftInto(box.top, box.bottom, _area.top, _area.bottom);
        if (dx == 0 && dy == 0) return;
        position = CVector2(position.x + dx, position.y + dy);
        text.SetLabel(label, position);
        return;
    }
    // Each move is cut where it would carry the box over an edge.
    CVector2 offset(0, 0);
    for (CVector2& step : entry.path) {
        const float x = std::clamp(offset.x + step.x, std::min(_area.left - box.left, 0.0f),
                                   std::max(_area.right - box.right, 0.0f));
        const float y = std::clamp(offset.y + step.y, std::min(_area.top - box.top, 0.0f),
                                   std::max(_area.bottom - box.bottom, 0.0f));
        step = CVector2(x - offset.x, y - offset.y);
        offset = CVector2(x, y);
    }
}

void CPraise::ShowScore(float x, float y, int points, const char* label, int flag) {
    Add(CVector2(x, y), points, label ? label : "", flag);
}

void CPraise::Render() {
    if (_entries.empty()) return;
    for (Entry& entry : _entries) entry.text->Render();
    Update();
}

void CPraise::Update() {
    for (Entry& entry : _entries) StepEntry(entry);
    _entries.remove_if([](const Entry& entry) { return entry.remaining <= 0; });
}

void CPraise::StepEntry(Entry& entry) {
    if (ASSERT(entry.path_pos < entry.path.size())) {
        const CVector2& step = entry.path[entry.path_pos];
        switch (entry.kind) {
            case pkArc:
            case pkRise: {
                // The moves apply to laid-out quads.
                entry.text->Layout();
                entry.text->Move(step.x, step.y);
                const size_t left = entry.path.size() - entry.path_pos;
                if (static_cast<float>(left) < kFadePart * static_cast<float>(entry.path.size())) Fade(*entry.text);
                break;
            }
            case pkStay: break;
            case pkZoom: {
                TextStyle style = entry.text->GetTextStyle();
                style.height = step.y;
                entry.text->SetTextStyle(style);
                break;
            }
            default: BadKind();
        }
    }
    --entry.remaining;
    ++entry.path_pos;
}

void CPraise::Fade(CStaticText& text) {
    if (text.GetBatch().GetCount() == 0) return;
    int alpha = text.GetRect(0)->GetAlpha(0);
    if (alpha == 0) return;
    alpha = std::max(alpha - kFadeStep, 0);
    text.SetAlpha(alpha);
}
