#include "frontend/menu_background.h"

#include "engine/logger.h"
#include "engine/random.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "game/background.h"
#include "game/background_desc.h"

std::shared_ptr<CBackground> CreateMenuBackground(const CXMLNode& menu_node) {
    CLogger::Instance().Log(0, "Creating dynamic background...");
    std::shared_ptr<CBackground> back = CreateBackground();
    if (!back) {
        LogFailedCheck("Assert", "_back.get()", __FILE__, __LINE__);
        return nullptr;
    }
    const CXMLNodeList back_list = menu_node.SelectNodes("Background");
    if (back_list.GetLength() <= 0) {
        LogFailedCheck("Assert", "back_list.GetLength() > 0", __FILE__, __LINE__);
        CLogger::Instance().Log(2, "Error: the menu has no background to show; it runs without one.");
        return nullptr;
    }
    CBackgroundDesc desc;
    PARSERS::ParseBackground(back_list.GetItem(fx::rand() % back_list.GetLength()), desc);
    back->Load(desc, 0);
    return back;
}
