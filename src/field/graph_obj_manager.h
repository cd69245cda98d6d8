#pragma once
// A base of graph types: how every numbered kind of ball (or tile) is drawn
// in each of its states, read once from a base file:
//   <Base>
//     <GraphObj graph_type="3">
//       <State name="DEFAULT" explosion="ball_burst">
//         <Layer offset="0 0"><graphics texture="..." .../></Layer>
//         <sound file="bll_dead"/>
//       </State>
//     </GraphObj>
//   </Base>
// Graph type 0 never exists; state names other than DEFAULT, MOVE and DEAD
// are skipped; a later GraphObj (or State) of the same number replaces an
// earlier one. The samples a state names are loaded through the sound
// keeper as the state is read, whether or not the state is kept.
#include <map>
#include <string>
#include <string_view>

#include "field/field_global.h"
#include "field/graph_type_desc.h"

class CXMLFile;
class CXMLNode;

class CGraphObjManager {
public:
    // Empties the table and reads the file; the XML layer's failure (a missing
    // or broken file) is thrown on. A file without "Base" leaves it empty.
    void Load(const std::string& path);
    // The same from a document already in memory.
    void Load(const CXMLFile& document);

    // Copies the description of the graph type's state; false when either is
    // missing (an absent graph type is also logged).
    bool GetStateDesc(int graph_type, int state, CGraphStateDesc& out) const;
    // The same without a copy: null when either is missing.
    const CGraphStateDesc* FindStateDesc(int graph_type, int state) const;
    // Copies the graph type's description; an absent one logs and gives false.
    bool FindGraphType(int graph_type, CGraphTypeDesc& out) const;
    // Without logging.
    bool HasGraphType(int graph_type) const { return _types.count(graph_type) != 0; }
    size_t GetGraphTypeCount() const { return _types.size(); }

    // The state id of a State's "name": 0, 2 or 4, else -1 (not stored).
    static int StateIdFromName(std::string_view name);

private:
    const CGraphTypeDesc* FindType(int graph_type) const;
    static CGraphStateDesc ParseState(const CXMLNode& state_node);

    std::map<int, CGraphTypeDesc> _types;
};

// The bases of the balls and of the tiles, loaded at the field's start-up.
extern CFieldGlobal<CGraphObjManager> g_BallsGraphBase;
extern CFieldGlobal<CGraphObjManager> g_TilesGraphBase;
