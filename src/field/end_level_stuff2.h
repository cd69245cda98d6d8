#pragma once
// The column bonus of a won level: walking down each listed column, every
// empty cell of the playing field above the first ball blows up, one every
// second tick, and the column pays 10 points per exploded row; then the
// first free bird standing in that column is sent off. The explosion is
// "//GameCFG/EndLevelStuff" "expl" of Settings\GameCFG.xml.
#include <string>
#include <vector>

#include "engine/vector2.h"
#include "field/countdown.h"
#include "field/end_level_effects.h"

class CBirds;
class CXMLNode;
class IBonusDataSource;

class CEndLevelStuff2 : public IEndLevelEffects {
public:
    static constexpr const char* kConfigFile = "Settings\\GameCFG.xml";
    static constexpr const char* kConfigPath = "//GameCFG/EndLevelStuff";
    static constexpr int kPointsPerRow = 10;
    static constexpr int kTicksPerCell = 2;
    static constexpr int kNoRow = -999;

    // Reads the configuration file (a missing one is logged: no explosion).
    CEndLevelStuff2(IBonusDataSource* data_source, CBirds* birds);
    // The same with the configuration node given.
    CEndLevelStuff2(IBonusDataSource* data_source, CBirds* birds, const CXMLNode& config);

    // Walks the columns (one entry per walk; a column may repeat).
    void Start(const std::vector<int>& columns) override;
    // One tick of the walk.
    void Update() override;
    // The blasts are the explosion manager's to draw.
    void Render() override {}
    bool IsRunning() const { return _running; }
    // Start has run since the last Reset.
    bool IsStarted() const override { return _started; }
    // Started, and every column has been walked and paid.
    bool IsFinished() const override { return _started && !_running; }
    // Idle and not started (level set-up).
    void Reset() override;
    const std::string& GetExplosion() const { return _expl; }

private:
    void LoadConfig(const CXMLNode& config);
    void VisitCell();
    void FinishColumn();

    IBonusDataSource* _data_source;
    CBirds* _birds;
    bool _running = false;
    bool _started = false;
    size_t _column = 0;
    int _row = 0;
    CCountdown _countdown;
    std::string _expl;
    int _first_row = kNoRow;
    int _last_row = kNoRow;
    CVector2 _position;  // of the last explosion; kept from column to column
    std::vector<int> _columns;
};
