#pragma once
// The puzzle layers' entrance at level start: after a pause the base tiles
// and their fire fade in, then the puzzle cells come up one per tick from the
// highest cell number down, each fading in on its own.
#include <cstdint>
#include <vector>

#include "field/countdown.h"
#include "field/tiles_data_source.h"

class CTilesAppearer {
public:
    // The source outlives the appearer.
    explicit CTilesAppearer(ITilesDataSource* source) : _source(source) {}

    // Hides every puzzle cell of the level (cells of g_LevelCFG), sets the
    // base tiles to alpha 0 and starts the pause.
    void Start();
    // One tick of the entrance.
    void Update();
    // Ends the entrance at once: everything shown at alpha 255.
    void Finish();
    bool IsRunning() const { return _running; }
    int GetStage() const { return _stage; }

    static constexpr uint32_t kPauseTicks = 50;
    static constexpr int kBaseStep = 5;
    static constexpr int kCellStep = 20;

private:
    void UpdateBaseFade();
    void UpdateCells();

    ITilesDataSource* _source;
    bool _running = false;
    int _stage = 0;
    int _alpha = 0;
    std::vector<int> _cells;   // highest cell number first
    std::vector<int> _alphas;  // the next alpha of each cell
    CCountdown _countdown;
    uint32_t _shown = 0;
};
