#include "field/ball_tables.h"

#include <exception>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"

CFieldGlobal<std::vector<SubstrateDesc>> g_BallSubstrates("g_BallSubstrates");
CFieldGlobal<std::vector<CGraphicsDesc>> g_BallLockGraphics("g_BallLockGraphics");
CFieldGlobal<CRendererKeeper> g_BallLockKeeper("g_BallLockKeeper");

const char* const kBallSubstratesFile = "Settings\\Bonus.xml";
const char* const kBallLockFile = "Settings\\GameCFG.xml";

namespace {

// Hands every node at `path` of `file` to `on_node`; a file that cannot be
// read is logged as the `what` of the balls.
template <class OnNode>
void ForEachNode(const char* file, const char* path, const char* what, OnNode on_node) {
    try {
        const CXMLFile document(file);
        const CXMLNodeList nodes = document.SelectNodes(path);
        for (int i = 0; i < nodes.GetLength(); ++i) on_node(nodes.GetItem(i));
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: The ball %s could not be read from '%s': %s", what, file, e.what());
    }
}

}  // namespace

void LoadBallSubstrates() {
    std::vector<SubstrateDesc>& table = *g_BallSubstrates;
    // Emptied first, so that a level after a level does not add a second copy.
    table.clear();
    ForEachNode(kBallSubstratesFile, "//Bonuses/Substrates/Substrate", "substrates", [&table](const CXMLNode& node) {
        SubstrateDesc desc;
        desc.id = node.GetAttributeInt("id", 0);
        desc.plume = node.GetAttribute("plume", "");
        if (desc.plume.empty()) desc.graphics = ParseGraphics(node);
        table.push_back(std::move(desc));
    });
}

void LoadBallLockSolidity() {
    std::vector<CGraphicsDesc>& _solidity_graphics = *g_BallLockGraphics;
    _solidity_graphics.clear();
    ForEachNode(kBallLockFile, "//BallLock/Solidity", "locks",
                [&_solidity_graphics](const CXMLNode& node) { _solidity_graphics.push_back(ParseGraphics(node)); });
    ASSERT_THROW_IF_FAILED(!_solidity_graphics.empty());
}

const SubstrateDesc* FindBallSubstrate(int id) {
    for (const SubstrateDesc& desc : *g_BallSubstrates)
        if (desc.id == id) return &desc;
    return nullptr;
}
