#pragma once
// The elements that a path expression selected, in document order (a handle;
// copies share the list).
#include <memory>

#include "engine/xml_node.h"

class CXMLNodeList_Impl;

class CXMLNodeList {
public:
    CXMLNodeList();
    explicit CXMLNodeList(std::shared_ptr<CXMLNodeList_Impl> impl);

    bool IsValid() const;
    // The number of elements; 0 for an empty handle.
    int GetLength() const;
    // The element at `index` (from 0); an empty handle past either end or for an
    // empty list handle.
    CXMLNode GetItem(int index) const;
    CXMLNode operator[](int index) const { return GetItem(index); }

private:
    std::shared_ptr<CXMLNodeList_Impl> _impl;
};
