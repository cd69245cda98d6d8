#include "engine/xml_node_list.h"

#include "engine/xml_impl.h"

CXMLNodeList::CXMLNodeList() = default;

CXMLNodeList::CXMLNodeList(std::shared_ptr<CXMLNodeList_Impl> impl) : _impl(std::move(impl)) {}

bool CXMLNodeList::IsValid() const { return static_cast<bool>(_impl); }

int CXMLNodeList::GetLength() const { return _impl ? static_cast<int>(_impl->_nodes.size()) : 0; }

CXMLNode CXMLNodeList::GetItem(int index) const {
    if (!_impl || index < 0 || static_cast<size_t>(index) >= _impl->_nodes.size()) return CXMLNode();
    const pugi::xpath_node& item = _impl->_nodes[static_cast<size_t>(index)];
    return CXMLNode(std::make_shared<CXMLNode_Impl>(_impl->_doc, item.node(), item.attribute()));
}
