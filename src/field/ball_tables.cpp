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

void LoadBallSubstrates() {
    std::vector<SubstrateDesc>& table = *g_BallSubstrates;
    // Emptied first, so that a level after a level does not add a second copy.
    table.clear();
    try {
        const CXMLFile document(kBallSubstratesFile);
        const CXMLNodeList nodes = document.SelectNodes("//Bonuses/Substrates/Substrate");
        for (int i = 0; i < nodes.GetLength(); ++i) {
            const CXMLNode node = nodes.GetItem(i);
            SubstrateDesc desc;
            desc.id = node.GetAttributeInt("id", 0);
            desc.plume = node.GetAttribute("plume", "");
            if (desc.plume.empty()) desc.graphics = ParseGraphics(node);
            table.push_back(std::move(desc));
        }
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: The ball substrates could not be read from '%s': %s", kBallSubstratesFile,
                                e.what());
    }
}

void LoadBallLockSolidity() {
    std::vector<CGraphicsDesc>& _solidity_graphics = *g_BallLockGraphics;
    _solidity_graphics.clear();
    try {
        const CXMLFile document(kBallLockFile);
        const CXMLNodeList nodes = document.SelectNodes("//BallLock/Solidity");
        for (int i = 0; i < nodes.GetLength(); ++i) _solidity_graphics.push_back(ParseGraphics(nodes.GetItem(i)));
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: The ball locks could not be read from '%s': %s", kBallLockFile, e.what());
    }
    ASSERT_THROW_IF_FAILED(!_solidity_graphics.empty());
}

const SubstrateDesc* FindBallSubstrate(int id) {
    for (const SubstrateDesc& desc : *g_BallSubstrates)
        if (desc.id == id) return &desc;
    return nullptr;
}
