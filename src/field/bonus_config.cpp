#include "field/bonus_config.h"

#include <exception>
#include <string>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "field/field_globals.h"

std::shared_ptr<CXMLFile>& CBonusConfig::Document() {
    static std::shared_ptr<CXMLFile> document;
    return document;
}

bool& CBonusConfig::Loaded() {
    static bool loaded = false;
    return loaded;
}

CXMLNode CBonusConfig::GetBonusNode(std::string_view name) {
    if (!Loaded()) {
        // Marked loaded first: a broken file is reported once, not at every bonus.
        Loaded() = true;
        const std::string file_name = std::string("Settings\\") + kBonusFileName;
        try {
            Document() = std::make_shared<CXMLFile>(file_name);
        } catch (const std::exception& e) {
            CLogger::Instance().Log(2, "Error: Bonus configuration '%s' not loaded: %s", file_name.c_str(), e.what());
        }
    }
    if (!Document()) return CXMLNode();
    return Document()->SelectSingleNode("//Bonuses/" + std::string(name));
}

void CBonusConfig::Forget() {
    Document().reset();
    Loaded() = false;
}
