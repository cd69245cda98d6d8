#pragma once
// The field's active bonuses as the field starts, asks, steps and clears them.
class IFieldBonusList {
public:
    // Creates and starts a bonus of the type at the cell; false when none
    // could be made or it failed to start.
    virtual bool AddBonus(int type, int cell, bool intensive) = 0;
    // A bonus of the type is running.
    virtual bool IsBonusActive(int type) const = 0;
    // Ends a running bonus of the type at once.
    virtual void FinishBonus(int type) = 0;
    // Steps every bonus and drops those that have ended.
    virtual void Update() = 0;
    virtual void Draw() = 0;
    virtual void Clear() = 0;

protected:
    ~IFieldBonusList() = default;
};
