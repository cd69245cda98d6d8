#pragma once
// A bar that shows an integer value between a minimum and a maximum (type
// "PROGRESS_BAR"): a frame behind, and an indicator that is one picture cut
// to the filled fraction (LINEAR), a row of equal pictures (DISCRETE_SINGLE)
// or a set of different pictures switched on one after another
// (DISCRETE_MULTIPLE). A colour map tints the indicator by percentage, an
// optional top bar marks its leading end, and the shown value can run toward
// a new value by a fixed step per drawn frame.
#include <cstdint>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/noncopyable.h"
#include "engine/vector2.h"
#include "graphics/object_2d.h"
#include "gui/base_control.h"
#include "gui/frame_skin.h"
#include "gui/kind_table.h"

class CTexturedRectsList;

struct ProgressBarKind {
    enum IndicatorType : int { itLinear = 0, itDiscreteSingle = 1, itDiscreteMultiple = 2 };
    struct Discrete {
        CVector2 offset;
        CGraphicsDesc graphics;
    };
    struct Indicator {
        int type = itLinear;
        std::vector<Discrete> discretes;
        std::map<int, uint32_t> color_map;
        CGraphicsDesc top_bar;
        bool has_top_bar = false;
        CVector2 top_bar_offset;
        std::map<int, CVector2> size_map;
    };
    FrameSkin skin;
    int orientation = 1;  // 0 vertical, 1 horizontal
    Indicator indicator;
};

class CMenuProgressBar : public CBaseControl, NonCopyable {
public:
    explicit CMenuProgressBar(CEventHolder* owner);
    ~CMenuProgressBar() override;

    // The bar takes no input.
    void Update() override {}
    void Relayout() override;
    bool Load(const CXMLNode& node) override;
    void Clear() override;
    void Draw(bool skip_update) override;

    // A bar made in code: the kind and the rectangle it is placed on. A kind
    // outside the table is logged and kind 0 is used.
    void setKind(int kind, const CFloatRect& rect);
    // Clamped into the range; runs toward it at the filling speed (at once
    // when the speed is 0). The value already shown changes nothing.
    void setValue(int32_t v);
    // Clamped; shown at once.
    void setValueNow(int32_t v);
    // A new bound clamps the value and the target into the new range.
    void setMin(int32_t v);
    // A new maximum also resets the value to the minimum.
    void setMax(int32_t v);
    // Value units per drawn frame; 0 jumps at once.
    void setSmooth(int32_t step) { _speed = step; }
    void setColor(uint32_t argb);
    int32_t getMin() const { return _min_val; }
    int32_t getMax() const { return _max_val; }
    int32_t getValue() const { return _value; }
    int32_t getTarget() const { return _target; }
    uint32_t getColor() const { return _color; }
    // The screen point at the indicator's leading end.
    CVector2 getIndicatorPoint() const;

    static void LoadProgressBarKinds() { _kinds_desc.Load(); }
    static const std::vector<ProgressBarKind>& GetKinds() { return _kinds_desc.Kinds(); }

    const ProgressBarKind& GetKind() const { return _desc; }
    size_t GetIndicatorCount() const { return _sprites.size(); }
    const C2DObject* GetIndicator(size_t i) const { return _sprites[i].get(); }
    bool IsTopBarShown() const { return _top_bar.shown; }
    const C2DObject* GetTopBar() const { return _top_bar.sprite.get(); }
    CTexturedRectsList* GetBack() const { return _back.get(); }

private:
    struct TopBar {
        bool shown = false;
        CVector2 offset;
        int32_t min = 0, max = 0, value = 0;
        std::map<int, CVector2> size_map;
        std::shared_ptr<C2DObject> sprite;
    };

    void SelectKind(int kind);
    void rebuild();
    void BuildBack();
    void SetupTopBar();
    // Fill percentage of the shown value, trunc((value - min) / (max - min) x 100);
    // false for an empty range.
    bool Percentage(int& p) const;
    // The filled part of `length`: trunc((value - min) x length / (max - min)),
    // for a range that is not empty.
    float FilledLength(float length) const;
    void AddIndicator(const CGraphicsDesc& graphics, float x, float y);
    CTexturedRectsList* IndicatorRenderer(const std::string& texture);

    static CKindTable<ProgressBarKind> _kinds_desc;

    ProgressBarKind _desc;
    std::shared_ptr<CTexturedRectsList> _back;
    // The indicator sprites share one batch per texture, kept across rebuilds.
    std::vector<std::pair<std::string, std::unique_ptr<CTexturedRectsList>>> _indicator_renderers;
    std::vector<std::shared_ptr<C2DObject>> _sprites;
    int32_t _speed = 0;
    int32_t _min_val = 0;
    int32_t _max_val = 100;
    int32_t _value = 0;
    int32_t _target = 0;
    uint32_t _color = 0xFFFFFFFF;
    TopBar _top_bar;
    // Where the back, the indicator and the top bar were last laid out.
    float _laid_left = 0, _laid_top = 0;
};
