#pragma once
// The balls' fade: every value goes to all balls.
#include "field/balls_data_source.h"
#include "field/base_dissolver.h"

class CBallsDissolver : public CBaseDissolver {
public:
    // The owner outlives the dissolver.
    explicit CBallsDissolver(IBallsDataSource* owner) : _owner(owner) {}

protected:
    void OnValue(int value) override {
        if (_owner) _owner->SetAlpha(value);
    }

private:
    IBallsDataSource* _owner;
};
