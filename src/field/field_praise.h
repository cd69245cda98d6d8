#pragma once
// The score popups and praise labels as the field hands them on.
class IFieldPraise {
public:
    // A popup of `points` with the label at the screen point; `flag` 0 for
    // the plain match score, 1 for bonus scores.
    virtual void ShowScore(float x, float y, int points, const char* label, int flag) = 0;
    virtual void Clear() = 0;
    // Draws (and steps) the popups.
    virtual void Render() = 0;

protected:
    ~IFieldPraise() = default;
};
