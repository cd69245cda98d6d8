#include "field/graph_obj_manager.h"

#include "engine/engine_core_interface.h"
#include "engine/logger.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "field/field_services.h"
#include "field/string_to_point.h"

CFieldGlobal<CGraphObjManager> g_BallsGraphBase("g_BallsGraphBase");
CFieldGlobal<CGraphObjManager> g_TilesGraphBase("g_TilesGraphBase");

void CGraphObjManager::Load(const std::string& path) {
    _types.clear();
    CXMLFile document(path);
    Load(document);
}

void CGraphObjManager::Load(const CXMLFile& document) {
    _types.clear();
    const CXMLNode base = document.SelectSingleNode("Base");
    if (!base.IsValid()) return;
    const CXMLNodeList objects = base.SelectNodes("GraphObj");
    for (int i = 0; i < objects.GetLength(); ++i) {
        const CXMLNode object = objects.GetItem(i);
        const int graph_type = object.GetAttributeInt("graph_type", 0);
        CGraphTypeDesc type_desc;
        const CXMLNodeList states = object.SelectNodes("State");
        for (int k = 0; k < states.GetLength(); ++k) {
            const CXMLNode state_node = states.GetItem(k);
            // Parsed first: its samples are loaded even when the state is dropped.
            CGraphStateDesc state = ParseState(state_node);
            const int id = StateIdFromName(state_node.GetAttribute("name", ""));
            if (id != -1) type_desc.SetState(id, std::move(state));
        }
        if (graph_type != 0) _types[graph_type] = std::move(type_desc);
    }
}

CGraphStateDesc CGraphObjManager::ParseState(const CXMLNode& state_node) {
    CGraphStateDesc state;
    state.explosion = state_node.GetAttribute("explosion", "");
    const CXMLNodeList layers = state_node.SelectNodes("Layer");
    for (int i = 0; i < layers.GetLength(); ++i) {
        const CXMLNode layer_node = layers.GetItem(i);
        CLayerDesc layer;
        layer.graphics = ParseGraphics(layer_node);
        layer.offset = StringToPoint(layer_node.GetAttribute("offset", ""));
        state.layers.push_back(std::move(layer));
    }
    const CXMLNodeList sounds = state_node.SelectNodes("sound");
    for (int i = 0; i < sounds.GetLength(); ++i) {
        std::string file = sounds.GetItem(i).GetAttribute("file", "");
        if (!file.empty()) state.sounds.push_back(std::move(file));
    }
    if (ISoundKeeper* keeper = field::SoundKeeper())
        for (const std::string& sound : state.sounds) keeper->LoadSample(sound);
    return state;
}

int CGraphObjManager::StateIdFromName(std::string_view name) {
    if (name == "DEFAULT") return CGraphTypeDesc::gsDefault;
    if (name == "MOVE") return CGraphTypeDesc::gsMove;
    if (name == "DEAD") return CGraphTypeDesc::gsDead;
    return -1;
}

const CGraphTypeDesc* CGraphObjManager::FindType(int graph_type) const {
    auto it = _types.find(graph_type);
    if (it != _types.end()) return &it->second;
    CLogger::Instance().Log(3, "CGraphObjManager: No find graph type %d", graph_type);
    return nullptr;
}

bool CGraphObjManager::GetStateDesc(int graph_type, int state, CGraphStateDesc& out) const {
    const CGraphTypeDesc* type_desc = FindType(graph_type);
    return type_desc && type_desc->GetState(state, out);
}

const CGraphStateDesc* CGraphObjManager::FindStateDesc(int graph_type, int state) const {
    const CGraphTypeDesc* type_desc = FindType(graph_type);
    return type_desc ? type_desc->FindState(state) : nullptr;
}

bool CGraphObjManager::FindGraphType(int graph_type, CGraphTypeDesc& out) const {
    const CGraphTypeDesc* type_desc = FindType(graph_type);
    if (!type_desc) return false;
    out = *type_desc;
    return true;
}
