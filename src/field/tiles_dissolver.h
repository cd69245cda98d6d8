#pragma once
// The tiles' fade: every value goes to each puzzle cell still on the field
// (cells of the current level, g_LevelCFG), then to the base tiles and their
// fire.
#include "field/base_dissolver.h"
#include "field/tiles_data_source.h"

class CTilesDissolver : public CBaseDissolver {
public:
    // The owner outlives the dissolver.
    explicit CTilesDissolver(ITilesDataSource* owner) : _owner(owner) {}

protected:
    void OnValue(int value) override;

private:
    ITilesDataSource* _owner;
};
