#pragma once
// The birds' fade: every value goes to all bird sprites.
#include "field/base_dissolver.h"
#include "field/birds_data_source.h"

class CBirdsDissolver : public CBaseDissolver {
public:
    // The owner outlives the dissolver.
    explicit CBirdsDissolver(IBirdsDataSource* owner) : _owner(owner) {}

protected:
    void OnValue(int value) override {
        if (_owner) _owner->SetAlpha(value);
    }

private:
    IBirdsDataSource* _owner;
};
