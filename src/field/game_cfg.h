#pragma once
// The game's tuning values: a registry of named typed values filled from the
// element "GameCFG" of Settings\GameCFG.xml and read by name where they are
// needed. The cell and ball sizes, read many times per frame, are also cached
// as plain floats at the end of every load (zero before the first one).
#include <string>
#include <string_view>

#include "engine/variables.h"
#include "field/field_global.h"

class CXMLFile;

class CGameCfg : public CVariables {
public:
    static constexpr const char* kFileName = "Settings\\GameCFG.xml";

    // Registers every key with its default.
    CGameCfg();

    // Reads kFileName through the XML layer, whose failure (a missing or
    // broken file) is thrown on to the caller.
    void LoadGameConfig();
    // The same from a document already in memory.
    void LoadGameConfig(const CXMLFile& document);

    float GetCellWidth() const { return _cell_w; }
    float GetCellHeight() const { return _cell_h; }
    float GetBallWidth() const { return _ball_w; }
    float GetBallHeight() const { return _ball_h; }
    // The shortest run of like balls that counts as a match; not a key.
    float GetMatchLength() const { return 3.0f; }

private:
    float _cell_w = 0;
    float _cell_h = 0;
    float _ball_w = 0;
    float _ball_h = 0;
};

extern CFieldGlobal<CGameCfg> g_GameCFG;

// The integer key of g_GameCFG into `out`; an unregistered name logs and
// throws (out then keeps its value).
void GetGameCfgInt(std::string_view name, int& out);
