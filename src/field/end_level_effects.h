#pragma once
// The effects that close a won level once its fragment has left: they start
// on the birds' columns and report when they are over.
#include <vector>

class IEndLevelEffects {
public:
    // A new level: nothing started.
    virtual void Reset() = 0;
    // Starts on the columns of the birds still working (ascending).
    virtual void Start(const std::vector<int>& bird_columns) = 0;
    virtual bool IsStarted() const = 0;
    virtual bool IsFinished() const = 0;
    virtual void Update() = 0;
    virtual void Render() = 0;

protected:
    ~IEndLevelEffects() = default;
};
