#pragma once
// What the tiles' fade and appearance need of the tiles field.
class ITilesDataSource {
public:
    // True when the cell has no base tile; the cell must be valid.
    virtual bool IsCellEmpty(int cell) const = 0;
    // True when the cell is a puzzle cell still on the field.
    virtual bool HasCell(int cell) const = 0;
    // Every base tile and the tiles' fire; puzzle layers are not touched.
    virtual void SetAlpha(int alpha) = 0;
    // The puzzle layer of a puzzle cell.
    virtual void SetVisible(int cell, bool visible) = 0;
    virtual void SetCellAlpha(int cell, int alpha) = 0;

protected:
    ~ITilesDataSource() = default;
};
