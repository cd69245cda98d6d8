#include "field/game_cfg.h"

#include "engine/logger.h"
#include "engine/xml_file.h"

CFieldGlobal<CGameCfg> g_GameCFG("g_GameCFG");

CGameCfg::CGameCfg() {
    Register("cell_w", 36.0f);
    Register("cell_h", 36.0f);
    Register("ball_w", 36.0f);
    Register("ball_h", 36.0f);
    Register("enable_empty_swap", false);
    Register("score_for_life", 50000);
    Register("start_lives", 3);
    Register("ball_explosion", "");
    Register("vovaro_explosion", "");
    Register("hammer_explosion", "");
    Register("m_panel_speed", 16.0f);
    Register("special_graph_type", 0);
    Register("first_episode_for_hammer", 0);
    Register("first_episode_for_egg", 0);
    Register("first_episode_for_feather", 0);
    Register("hammer_mismatch_immortal", "");
    Register("delay_fall", 0);
    Register("ball_speed", 1.0f);
    Register("hint_delay", 5000);
}

void CGameCfg::LoadGameConfig() {
    CXMLFile document(kFileName);
    LoadGameConfig(document);
}

void CGameCfg::LoadGameConfig(const CXMLFile& document) {
    const CXMLNode config_node = document.SelectSingleNode("//GameCFG");
    ASSERT(config_node.IsValid());
    LoadFromXml(config_node);
    _cell_w = GetFloat("cell_w");
    _cell_h = GetFloat("cell_h");
    _ball_w = GetFloat("ball_w");
    _ball_h = GetFloat("ball_h");
}

void GetGameCfgInt(std::string_view name, int& out) { g_GameCFG->GetInt(name, &out); }
