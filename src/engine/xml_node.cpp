#include "engine/xml_node.h"

#include "engine/helpers.h"
#include "engine/xml_impl.h"
#include "engine/xml_node_list.h"

namespace {

// Walks the subtree in document order without recursion, so that a deeply
// nested (damaged) document cannot exhaust the stack.
void CollectText(const pugi::xml_node& root, std::string& out) {
    pugi::xml_node node = root.first_child();
    while (node) {
        if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) out += node.value();
        if (node.type() == pugi::node_element && node.first_child()) {
            node = node.first_child();
            continue;
        }
        while (node && !node.next_sibling() && node != root) node = node.parent();
        if (!node || node == root) break;
        node = node.next_sibling();
    }
}

}  // namespace

CXMLNode::CXMLNode() = default;

CXMLNode::CXMLNode(std::shared_ptr<CXMLNode_Impl> impl) : _impl(std::move(impl)) {}

bool CXMLNode::IsValid() const { return _impl && (_impl->_node || _impl->_attr); }

CXMLNode CXMLNode::SelectSingleNode(std::string_view path) const {
    if (!IsValid() || _impl->_attr) return CXMLNode();
    pugi::xpath_node found = xml_text::SelectOne(_impl->_node, path);
    if (!found) return CXMLNode();
    return CXMLNode(std::make_shared<CXMLNode_Impl>(_impl->_doc, found.node(), found.attribute()));
}

CXMLNodeList CXMLNode::SelectNodes(std::string_view path) const {
    if (!IsValid() || _impl->_attr) return CXMLNodeList();
    return CXMLNodeList(std::make_shared<CXMLNodeList_Impl>(_impl->_doc, xml_text::SelectAll(_impl->_node, path)));
}

std::string CXMLNode::GetAttribute(std::string_view name, std::string_view def) const {
    if (!IsValid() || _impl->_attr) return std::string(def);
    pugi::xml_attribute attr = _impl->_node.attribute(xml_text::FromBytes(name).c_str());
    if (!attr) return std::string(def);
    return xml_text::ToBytes(attr.value());
}

int CXMLNode::GetAttributeInt(std::string_view name, int def) const {
    return StrToInt(GetAttribute(name, IntToStr(def)));
}

bool CXMLNode::GetAttributeBool(std::string_view name, bool def) const {
    return StrToInt(GetAttribute(name, def ? "1" : "0")) != 0;
}

float CXMLNode::GetAttributeFloat(std::string_view name, float def) const {
    // A missing attribute gives the default itself, not its six-decimal text.
    if (!IsValid() || _impl->_attr) return def;
    pugi::xml_attribute attr = _impl->_node.attribute(xml_text::FromBytes(name).c_str());
    if (!attr) return def;
    return static_cast<float>(StrToFloat(attr.value()));
}

bool CXMLNode::SetAttribute(std::string_view name, std::string_view value) {
    if (!IsValid() || _impl->_attr || _impl->_node.type() != pugi::node_element) return false;
    if (!xml_text::IsValidName(name)) return false;
    std::string inside_name = xml_text::FromBytes(name);
    pugi::xml_attribute attr = _impl->_node.attribute(inside_name.c_str());
    if (!attr) attr = _impl->_node.append_attribute(inside_name.c_str());
    return attr && attr.set_value(xml_text::FromBytes(value).c_str());
}

bool CXMLNode::SetAttributeInt(std::string_view name, int value) { return SetAttribute(name, IntToStr(value)); }

bool CXMLNode::SetAttributeBool(std::string_view name, bool value) { return SetAttribute(name, value ? "1" : "0"); }

bool CXMLNode::SetAttributeFloat(std::string_view name, float value) {
    return SetAttribute(name, FloatToStr(value));
}

bool CXMLNode::AppendChild(const CXMLNode& child) {
    if (!IsValid() || _impl->_attr || !child.IsValid() || child._impl->_attr) return false;
    CXMLNode_Impl& c = *child._impl;
    if (c._doc == _impl->_doc) {
        pugi::xml_node moved = _impl->_node.append_move(c._node);
        _impl->_doc->DropStagingIfEmpty();
        return static_cast<bool>(moved);
    }
    // From another document: copy it over and point the child's handles at the copy.
    pugi::xml_node copy = _impl->_node.append_copy(c._node);
    if (!copy) return false;
    std::shared_ptr<XmlDocument> old_doc = c._doc;
    pugi::xml_node old_node = c._node;
    c._doc = _impl->_doc;
    c._node = copy;
    if (old_node.parent() == old_doc->staging) {
        old_doc->staging.remove_child(old_node);
        old_doc->DropStagingIfEmpty();
    }
    return true;
}

std::string CXMLNode::GetValue() const {
    if (!IsValid()) return {};
    if (_impl->_attr) return xml_text::ToBytes(_impl->_attr.value());
    const pugi::xml_node& node = _impl->_node;
    if (node.type() != pugi::node_element && node.type() != pugi::node_document) return xml_text::ToBytes(node.value());
    std::string text;
    CollectText(node, text);
    return xml_text::ToBytes(text.c_str());
}

std::string CXMLNode::GetName() const {
    if (!IsValid()) return {};
    return xml_text::ToBytes(_impl->_attr ? _impl->_attr.name() : _impl->_node.name());
}
