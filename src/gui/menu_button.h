#pragma once
// The skinned button of the dialog files (type "BUTTON"): a frame from a
// button kind, an optional caption whose colour fades toward the kind's hover
// colour while the pointer rests on it, optional glyphs for normal, hover,
// pressed and disabled, and sounds for pointer-over and press.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/vector2.h"
#include "graphics/label_desc.h"
#include "graphics/static_text.h"
#include "gui/base_menu_button.h"
#include "gui/frame_skin.h"
#include "gui/kind_table.h"

class CFontKeeper;

// One "//Controls/Buttons/Button" node of the kinds file.
struct ButtonKind {
    FrameSkin skin;
    int hover_steps = 20;
    uint32_t hover_end_color = 0xFFFFFFFF;
};

// From a to b in `steps` steps: steps + 1 colours (a alone when steps <= 0).
std::vector<uint32_t> BuildFadeTable(uint32_t a, uint32_t b, int steps);

class CMenuButton : public CBaseMenuButton {
public:
    explicit CMenuButton(CEventHolder* owner);
    ~CMenuButton() override;

    void Relayout() override;
    void OnMouseEnter() override;
    void OnMouseLeave() override;
    void SetPosition(float x, float y) override;
    // The caption is built again in its enabled or grey colour.
    bool SetEnabled(bool enabled) override;
    bool Load(const CXMLNode& node) override;
    void Draw(bool skip_update) override;
    void OnPress() override;
    void OnRelease() override;
    // Inside the rectangle and, for a glyph with collision polygons, inside the polygon.
    bool IsOverPoint(int x, int y) override;

    void SetCaption(const std::string& alias);
    // A null glyph changes nothing; the new glyph takes the current one's colour,
    // so a hover fade carries over.
    void SetGlyph(const std::shared_ptr<C2DObject>& glyph);
    // A button built in code with the first kind's skin and a caption at its top-left corner.
    void SetupCodeButton(float x, float y, float width, float height, const std::string& label_alias);

    // Reads the button kinds (done once, by the first button built).
    static void LoadButtonKinds();
    static const std::vector<ButtonKind>& GetKinds() { return _kinds_desc.Kinds(); }

    const ButtonKind& GetKind() const { return _kind; }
    bool HasCaption() const { return _has_caption; }
    bool HasGlyph() const { return _has_glyph; }
    const std::string& GetCaption() const { return _caption_alias; }
    const CVector2& GetCaptionOffset() const { return _caption_offset; }
    uint32_t GetCaptionFadeIndex() const { return _caption_fade_index; }
    uint32_t GetGlyphFadeIndex() const { return _glyph_fade_index; }
    const std::vector<uint32_t>& GetCaptionFadeTable() const { return _caption_fade; }
    const std::vector<uint32_t>& GetGlyphFadeTable() const { return _glyph_fade; }
    const std::string& GetMouseOverSample() const { return _mouse_over_sample; }
    const std::string& GetPressSample() const { return _press_sample; }
    C2DObject* GetCurrentGlyph() const { return _glyph.get(); }
    C2DObject* GetNormalGlyph() const { return _glyph_normal.get(); }
    C2DObject* GetHoverGlyph() const { return _glyph_hover.get(); }
    C2DObject* GetPressedGlyph() const { return _glyph_pressed.get(); }
    C2DObject* GetDisabledGlyph() const { return _glyph_disabled.get(); }
    CTexturedRectsList* GetFrameRenderer() const { return _frame_renderer.get(); }
    CStaticText& GetCaptionText() { return _caption_text; }

private:
    std::shared_ptr<C2DObject> MakeGlyph(const CGraphicsDesc& desc) const;
    void BuildFadeTables();
    void BuildFrameQuads();

    static CKindTable<ButtonKind> _kinds_desc;

    uint32_t _caption_fade_index = 0;
    uint32_t _glyph_fade_index = 0;
    std::vector<uint32_t> _caption_fade;
    std::vector<uint32_t> _glyph_fade;
    LabelDesc _caption_label;
    ButtonKind _kind;
    std::string _caption_alias;
    CVector2 _caption_offset;
    bool _has_caption = false;
    CGraphicsDesc _glyph_desc;
    CVector2 _glyph_offset;
    bool _has_glyph = false;
    bool _caption_built = false;
    std::string _mouse_over_sample = "btn_enter";
    std::string _press_sample;
    std::shared_ptr<C2DObject> _glyph;
    std::shared_ptr<C2DObject> _glyph_normal;
    std::shared_ptr<C2DObject> _glyph_pressed;
    std::shared_ptr<C2DObject> _glyph_hover;
    std::shared_ptr<C2DObject> _glyph_disabled;
    std::shared_ptr<CTexturedRectsList> _frame_renderer;
    CFontKeeper* _font_keeper = nullptr;
    CStaticText _caption_text;
};
