#pragma once
// The field as its helpers and the bonuses see it. Implemented by the game
// field; the balls field, the compress-and-fall pass, the generators, the
// birds and every bonus reach the field through it. The order of the
// operations is the field's slot order and is kept.

class CBallsField;
class CTilesField;
class CFieldFlags;

class IBonusDataSource {
public:
    virtual void SetBallState(int cell, int state) = 0;
    // False when the cell is invalid or empty.
    virtual bool GetBallState(int cell, int& state) = 0;
    // Restarts the row countdown at its last start value; rows and generators
    // then rest for `value` frames.
    virtual void RestartRowsFallCountdown(int value) = 0;
    // The ball's bonus type; 0 for an empty cell.
    virtual int GetBallBonusType(int cell) = 0;
    // Creates and starts a bonus (not intensive) at the cell.
    virtual void AddBonus(int type, int cell) = 0;
    // The cell is valid and belongs to the playing field.
    virtual bool IsVovaroCell(int cell) = 0;
    // Puts the ball into bsDYING or bsDEAD with its kill effects.
    virtual void KillBall(int cell, int state) = 0;
    // Weakens a lock, kills the ball and damages the tile under it.
    virtual void HitCell(int cell, int kind) = 0;
    // Score with its popup at a screen point.
    virtual void AddScoreAtPos(float x, float y, int points, const char* label, int flag) = 0;
    virtual void ScaleOutBall(int cell) = 0;
    virtual bool IsAnyBallBusy() = 0;
    // The slow-down: free birds rest (true) or wake (false).
    virtual void SetFreeBirdsState(bool flag) = 0;
    virtual CBallsField* GetBallsField() = 0;
    virtual CTilesField* GetTilesField() = 0;
    virtual CFieldFlags* GetFieldFlags() = 0;

protected:
    ~IBonusDataSource() = default;
};
