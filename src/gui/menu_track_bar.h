#pragma once
// A slider over an integer range (type "TRACKBAR"): a strip of back pieces, a
// thumb, an arrow button at each end and optionally a caption per value. The
// pointer drags or clicks the value on the strip, the arrows step it. The
// track bar owns its arrows and hears their presses.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/float_rect.h"
#include "engine/noncopyable.h"
#include "engine/vector2.h"
#include "gui/base_control.h"
#include "gui/event_holder.h"
#include "gui/kind_table.h"

class CBaseMenuButton;
class CTexturedRectsList;

// One "//Controls/TrackBars/TrackBar" node of the kinds file.
struct TrackBarKind {
    struct Arrow {
        int width = 0, height = 0;
        CFloatRect tex_normal, tex_hover;
    };
    struct Thumb {
        int width = 0, height = 0;
        CFloatRect tex_normal, tex_hover;
        int mg_left = 0, mg_right = 0;
    };
    struct Back {
        int width = 0, height = 0;
        CFloatRect tex_rect;
        int mg_top = 0, mg_left = 0, mg_right = 0;
    };
    Arrow left_arrow, right_arrow;
    Thumb thumb;
    Back back;
    std::string texture;
    bool has_thumb = false;
    bool has_back = false;
    int minimum = 0, maximum = 100, step = 1;
    int orientation = 1;  // 0 vertical, 1 horizontal
    CVector2 caption_offset;
    std::vector<std::string> captions;
};

class CMenuTrackBar : public CBaseControl, public CEventHolder, NonCopyable {
public:
    explicit CMenuTrackBar(CEventHolder* owner);
    ~CMenuTrackBar() override;

    void Update() override;
    void Relayout() override;
    bool Load(const CXMLNode& node) override;
    void Draw(bool skip_update) override;
    // An arrow was pressed: one step toward its end.
    void OnMouseDown(CBaseControl* control) override;

    using CBaseControl::SetPosition;
    // The value setter: clamped into the range; the owner hears the change.
    void SetPosition(int value);
    int GetPosition() const { return _value; }
    // Store the bound, clamp the value into the new range and tell the owner.
    void SetMax(int n);
    void SetMin(int n);
    void SetStep(int n);
    int GetMax() const { return _maximum; }
    int GetMin() const { return _minimum; }
    int GetStep() const { return _step; }
    // The caption shown for value minimum + its index.
    void AddCaption(const std::string& label_alias);
    void ClearCaptions() { _desc.captions.clear(); }
    // A track bar built in code (a list box's scroll bar): over an empty range
    // its thumb rests at the start of the strip, not in the middle.
    void SetupCodeTrackBar(const CFloatRect& rect, int track_bar_kind);

    // Reads the kinds (done once, by the first track bar built).
    static void LoadTrackBarKinds() { _kinds_desc.Load(); }
    static const std::vector<TrackBarKind>& GetKinds() { return _kinds_desc.Kinds(); }

    const TrackBarKind& GetKind() const { return _desc; }
    bool IsOverTrack() const { return _over_track; }
    bool IsThumbLit() const { return _thumb_lit; }
    float GetThumbPosition() const { return _thumb_pos; }
    CBaseMenuButton* GetLeftArrow() const { return _left_arrow.get(); }
    CBaseMenuButton* GetRightArrow() const { return _right_arrow.get(); }
    CTexturedRectsList* GetRenderer() const { return _renderer.get(); }
    // The caption label the value shows now; empty when it has none.
    const std::string& GetCurrentCaption() const;

private:
    bool IsHorizontal() const { return _desc.orientation != 0; }
    void Init();
    void BuildTrack();
    // The point lies on the strip between the arrows.
    bool IsOverTrack(float fx, float fy) const;
    // Sets the value the point on the strip stands for; false when the range
    // or the strip leaves nothing to point at.
    bool PointThumbAt(float fx, float fy);
    void NotifyChanged();
    int ClampToRange(int value) const;

    static CKindTable<TrackBarKind> _kinds_desc;

    bool _over_track = false;
    TrackBarKind _desc;
    std::shared_ptr<CBaseMenuButton> _left_arrow;
    std::shared_ptr<CBaseMenuButton> _right_arrow;
    std::shared_ptr<CTexturedRectsList> _renderer;
    bool _thumb_lit = false;
    float _thumb_pos = 0;
    int _maximum = 100, _minimum = 0, _value = 0, _step = 1;
    int _arrow_size = 0;
    bool _empty_range_at_start = false;
};
