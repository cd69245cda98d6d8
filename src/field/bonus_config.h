#pragma once
// The bonuses' configuration file (Settings\bonus.xml), parsed at the first
// request and kept, so that starting a bonus never reads the disk again.
#include <memory>
#include <string_view>

#include "engine/xml_node.h"

class CXMLFile;

class CBonusConfig {
public:
    // The node "//Bonuses/<name>"; an empty handle when the file or the node
    // is missing (the bonus then keeps its defaults).
    static CXMLNode GetBonusNode(std::string_view name);
    // Drops the parsed file; the next request parses it again (a new data
    // tree, or a test that wrote its own file).
    static void Forget();

private:
    static std::shared_ptr<CXMLFile>& Document();
    static bool& Loaded();
};
