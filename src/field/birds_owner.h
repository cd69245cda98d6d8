#pragma once
// The field as its birds see it: its data source, and the little more the
// birds need of it: the generator cells they sit on and how far the level's
// end has got.
#include <vector>

#include "field/bonus_data_source.h"

class IBirdsOwner : public IBonusDataSource {
public:
    // The tiles field's generator cells, in level-file order (appended).
    virtual void GetGeneratorCells(std::vector<int>& cells) = 0;
    // The generator cells whose delay is at least `delay`, the delays compared
    // as unsigned numbers (appended, in level-file order).
    virtual void GetGeneratorCellsWithDelay(std::vector<int>& cells, int delay) = 0;
    // The level end's stage: 0 playing, 1 the fragment is in the field, 2 the
    // end-level effects run, 3 waiting for the birds.
    virtual int GetLevelEndStage() = 0;

protected:
    ~IBirdsOwner() = default;
};
