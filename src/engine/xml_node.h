#pragma once
// An element of an XML document (a handle; copies share the element). A handle
// may be empty: queries on it give empty results and getters their defaults.
//
// All text crossing the layer is 8-bit: bytes 0x80..0xFF pass through unchanged.
// Numbers are written and read in the C locale.
#include <memory>
#include <string>
#include <string_view>

class CXMLNode_Impl;
class CXMLNodeList;

class CXMLNode {
public:
    CXMLNode();
    explicit CXMLNode(std::shared_ptr<CXMLNode_Impl> impl);

    bool IsValid() const;

    // Path expressions (XPath 1.0) relative to this element: "Child", "A/B", "*";
    // rooted ones ("//Music/File") search the whole document. Never throw.
    CXMLNode SelectSingleNode(std::string_view path) const;
    CXMLNodeList SelectNodes(std::string_view path) const;

    // The attribute's value; `def` when the handle is empty or the attribute is
    // absent. An attribute present with an empty value gives "".
    std::string GetAttribute(std::string_view name, std::string_view def) const;
    // StrToInt of the attribute: "0x" anywhere means hexadecimal, else decimal
    // from the leading sign and digits; text that is no number gives 0.
    int GetAttributeInt(std::string_view name, int def) const;
    // The attribute read as an integer; non-zero is true ("true" reads as false).
    bool GetAttributeBool(std::string_view name, bool def) const;
    // The leading decimal number of the attribute (0 when there is none).
    float GetAttributeFloat(std::string_view name, float def) const;

    // Setters report false for an empty handle or an invalid attribute name.
    bool SetAttribute(std::string_view name, std::string_view value);
    bool SetAttributeInt(std::string_view name, int value);      // decimal text
    bool SetAttributeBool(std::string_view name, bool value);    // "1" or "0"
    bool SetAttributeFloat(std::string_view name, float value);  // six decimals, "2.500000"

    // Appends `child` (an element made by CXMLFile::CreateNode, or one already in
    // a tree, which then moves) under this element; the child's handles follow it.
    bool AppendChild(const CXMLNode& child);

    // The text of the element (all text below it, in document order); "" for an
    // empty handle. For a selected attribute, its value.
    std::string GetValue() const;
    // The element's (or selected attribute's) name; "" for an empty handle.
    std::string GetName() const;

    const std::shared_ptr<CXMLNode_Impl>& Impl() const { return _impl; }

private:
    std::shared_ptr<CXMLNode_Impl> _impl;
};
