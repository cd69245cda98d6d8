#pragma once
// The common part of every bonus: the data source, the active and finished
// flags, the configuration loaded once per object from its node of
// Settings\bonus.xml, and the start sample.
#include <string>

#include "field/base_bonus.h"

class CBaseBonusImpl : public IBaseBonus {
public:
    CBaseBonusImpl(const char* name, int type) : _name(name), _type(type) {}

    void SetDataSource(IBonusDataSource* data_source) override { _data_source = data_source; }
    // Checks the cell, loads the configuration (once), plays the sample and
    // marks the bonus active.
    bool Activate(int cell) override;
    void Draw() override {}
    bool IsActive() const override { return _active; }
    int GetType() const override { return _type; }
    // Kills the ball at the cell.
    void Reactivate(int cell) override;
    void SetIntensive(bool) override {}
    void Finish() override { _finished = true; }
    bool IsFinished() const override { return _finished; }
    // Reads the common "sample" attribute.
    void LoadConfig(const CXMLNode& node) override;

protected:
    IBonusDataSource* GetDataSource() const { return _data_source; }
    void SetActive(bool active) { _active = active; }
    // Sets field flag 0: the board changed and is compressed and refilled.
    void RequestCompress();
    // The cell holds an ordinary ball: mortal, no bonus, idle and not locked.
    bool IsOrdinaryBall(int cell) const;

private:
    IBonusDataSource* _data_source = nullptr;
    bool _active = false;
    bool _config_loaded = false;
    std::string _name;
    int _type;
    std::string _sample_alias;
    bool _finished = false;
};
