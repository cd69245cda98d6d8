#pragma once
// What the balls' fade (and the balls' helpers) need of the balls field.
class IBallsDataSource {
public:
    // True when the cell holds no ball; a cell past the field fails a check
    // (logged, then thrown).
    virtual bool IsCellEmpty(int cell) const = 0;
    // Every ball.
    virtual void SetAlpha(int alpha) = 0;

protected:
    ~IBallsDataSource() = default;
};
