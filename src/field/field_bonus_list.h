#pragma once
// The field's active bonuses as the field starts them.
class IFieldBonusList {
public:
    // Creates and starts a bonus of the type at the cell.
    virtual void AddBonus(int type, int cell, bool intensive) = 0;

protected:
    ~IFieldBonusList() = default;
};
