#pragma once
// The field's score popups: each award of points shows a label with the
// points at the screen point, moving along a path made when it is added: a
// thrown arc (kind 0), a straight rise (1), a pause in place (2) or a
// grow-hold-shrink of its letters (3). The moving kinds fade out over the
// last third of their path.
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "engine/float_rect.h"
#include "engine/vector2.h"
#include "field/field_praise.h"

class CStaticText;

class CPraise : public IFieldPraise {
public:
    enum Kind : int { pkArc = 0, pkRise = 1, pkStay = 2, pkZoom = 3 };

    struct Entry {
        int kind = pkArc;
        int remaining = 0;  // frames left; removed at 0
        std::shared_ptr<CStaticText> text;
        // One element per frame: a move (kinds 0 to 2) or the letter height in y (kind 3).
        std::vector<CVector2> path;
        uint32_t path_pos = 0;
    };

    CPraise();
    ~CPraise();
    CPraise(const CPraise&) = delete;
    CPraise& operator=(const CPraise&) = delete;

    // A popup of the label with `points` as its argument; nothing for 0 points.
    // A kind outside 0 to 3 is logged and thrown as a failed assertion.
    void Add(const CVector2& position, int points, const std::string& label, int kind);
    // Draws every entry, then steps them.
    void Render() override;
    // Steps every entry one frame and drops the finished ones.
    void Update();

    // IFieldPraise: the field's flag is the kind (0 plain match, 1 bonus).
    void ShowScore(float x, float y, int points, const char* label, int flag) override;
    // Drops every entry at once, without fading.
    void Clear() override { _entries.clear(); }

    const std::list<Entry>& GetEntries() const { return _entries; }

    // The screen area the texts stay in (clear of the heads-up panels): a new
    // text that would stand out of it is moved in, and the moves of the
    // moving kinds stop at its edges. All zero (the default): no limit.
    void SetArea(const CFloatRect& area) { _area = area; }
    const CFloatRect& GetArea() const { return _area; }

    // The speed of a new entry, drawn from the program's generator: 1.6 to 2.4.
    static float DrawSpeed();
    // The per-frame path of each kind for a text of letter height `height`
    // at `start`; `speed` as DrawSpeed gives it.
    static void BuildPath(int kind, const CVector2& start, float height, float speed, std::vector<CVector2>& path);

private:
    // Moves a new text into the area, and its moves (kinds 0 and 1) along it.
    void KeepInArea(CStaticText& text, Entry& entry, CVector2& position, const std::string& label) const;
    // Kinds 0 and 1: the alpha of the first glyph goes down by 4 a frame.
    static void Fade(CStaticText& text);
    static void StepEntry(Entry& entry);

    std::list<Entry> _entries;
    CFloatRect _area;
};
