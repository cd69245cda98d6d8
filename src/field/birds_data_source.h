#pragma once
// What the birds' fade needs of the birds.
class IBirdsDataSource {
public:
    // Every bird sprite, all corners.
    virtual void SetAlpha(int alpha) = 0;

protected:
    ~IBirdsDataSource() = default;
};
