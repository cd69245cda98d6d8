#pragma once
// The insides of the XML handles (engine only): a pugixml document shared by
// the document handle and every node and list taken from it.
//
// Text is kept inside as UTF-8 in which each 8-bit byte of the outside is one
// character U+0000..U+00FF, so every byte passes through unchanged.
#include <memory>
#include <string>
#include <string_view>

#include <pugixml.hpp>

struct XmlDocument {
    pugi::xml_document doc;
    // Elements made by CreateNode wait here, inside the same document, until they
    // are appended; the holder is left out when the document is written and is
    // removed once it is empty.
    pugi::xml_node staging;

    pugi::xml_node StagingNode();
    void DropStagingIfEmpty();
    // Every top-level node except the staging holder, written out.
    std::string Write(bool indent) const;
};

class CXMLFile_Impl {
public:
    std::string _file_name;
    std::shared_ptr<XmlDocument> _doc = std::make_shared<XmlDocument>();
};

class CXMLNode_Impl {
public:
    CXMLNode_Impl(std::shared_ptr<XmlDocument> doc, pugi::xml_node node, pugi::xml_attribute attr = {})
        : _doc(std::move(doc)), _node(node), _attr(attr) {}
    std::shared_ptr<XmlDocument> _doc;
    pugi::xml_node _node;
    pugi::xml_attribute _attr;  // set when a path selected an attribute
};

class CXMLNodeList_Impl {
public:
    CXMLNodeList_Impl(std::shared_ptr<XmlDocument> doc, pugi::xpath_node_set nodes)
        : _doc(std::move(doc)), _nodes(std::move(nodes)) {}
    std::shared_ptr<XmlDocument> _doc;
    pugi::xpath_node_set _nodes;
};

namespace xml_text {
// 8-bit outside text to the inside form, and back (characters above U+00FF,
// which only character references can make, come out as '?').
std::string FromBytes(std::string_view bytes);
std::string ToBytes(const char* utf8);
// Element and attribute names as the DOM accepts them.
bool IsValidName(std::string_view name);
// Runs a query, logging and returning nothing for a malformed one.
pugi::xpath_node SelectOne(const pugi::xml_node& from, std::string_view path);
pugi::xpath_node_set SelectAll(const pugi::xml_node& from, std::string_view path);
}  // namespace xml_text
