#pragma once
// A bonus: a short-lived actor that works on the field from one cell. The
// field's bonus list starts, updates, draws and drops them; they reach the
// field only through IBonusDataSource. The operations keep the slot order.
class IBonusDataSource;
class CXMLNode;

class IBaseBonus {
public:
    virtual ~IBaseBonus() = default;
    virtual void SetDataSource(IBonusDataSource* data_source) = 0;
    // Starts the bonus at a cell; false (and the bonus stays inactive) on failure.
    virtual bool Activate(int cell) = 0;
    virtual void Update() = 0;
    virtual void Draw() = 0;
    virtual bool IsActive() const = 0;
    virtual int GetType() const = 0;
    // A second start while active.
    virtual void Reactivate(int cell) = 0;
    virtual void SetIntensive(bool intensive) = 0;
    // Asks the bonus to wind down at its next update.
    virtual void Finish() = 0;
    virtual bool IsFinished() const = 0;
    virtual void LoadConfig(const CXMLNode& node) = 0;
};
