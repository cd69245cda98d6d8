#pragma once
// A text drawn every frame but laid out only when something about it changed:
// a label alias, up to two arguments, a position and its own copy of the
// label's style, with the glyph quads in a batch of its own. Every live text is
// in one chain, so a language switch can make them all lay out again.
#include <memory>
#include <string>

#include "engine/formatter.h"
#include "engine/noncopyable.h"
#include "engine/float_rect.h"
#include "engine/vector2.h"
#include "graphics/object_chain.h"
#include "graphics/text_style.h"

class CTexturedRectsList;
class ATexturedRect;

class CStaticText : public siv::object_chain<CStaticText>, NonCopyable {
public:
    CStaticText();
    virtual ~CStaticText();

    // Stores both and takes the label's style (the default one for an unknown alias).
    void SetLabel(const std::string& alias, const CVector2& position);
    // Copies each given argument; a null pointer keeps that argument.
    void SetArgs(const PrintfArg* a, const PrintfArg* b);
    const TextStyle& GetTextStyle() const { return _style; }
    void SetTextStyle(const TextStyle& style);
    void Invalidate() { _dirty = 1; }
    // Marks every live text dirty: after a language switch.
    static void InvalidateAll();

    // Lays out again when dirty, then draws the own batch.
    void Render();
    // Only the layout, when dirty (a caller that needs the quads before the first draw).
    void Layout();
    // The rectangle the laid-out quads cover (laying out when dirty); an
    // empty rectangle at the position when nothing is laid out.
    CFloatRect GetBounds();
    // The index-th quad of the own batch (null out of range, with the batch's check).
    ATexturedRect* GetRect(int index) const;
    // Moves the laid-out quads; the stored position stays for the next layout.
    void Move(float dx, float dy);
    // Alpha of every quad until the next layout.
    void SetAlpha(int alpha);

    bool IsDirty() const { return _dirty != 0; }
    const std::string& GetAlias() const { return _alias; }
    const CVector2& GetPosition() const { return _position; }
    const PrintfArg& GetArgA() const { return _arg_a; }
    const PrintfArg& GetArgB() const { return _arg_b; }
    CTexturedRectsList& GetBatch() const { return *_batch; }

private:
    std::shared_ptr<CTexturedRectsList> _batch;
    uint8_t _dirty = 0;
    PrintfArg _arg_a;
    PrintfArg _arg_b;
    std::string _alias;
    CVector2 _position;
    TextStyle _style;
};
