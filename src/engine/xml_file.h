#pragma once
// An XML document: loaded whole through the file opener (the data package
// first, then the disk) or from text, queried by path expressions, built and
// saved. Node and list handles taken from it keep the document alive.
//
// Failures: a file that cannot be read logs "Error: Failed to open XML file '%s'!"
// and throws std::runtime_error("Error opening xml!"); text that does not parse
// logs "Error: Parse error - %s" and throws CXMLParseError("XML parse error!"), a
// std::runtime_error.
//
// Text is 8-bit whatever encoding the document declares: bytes 0x80..0xFF are
// characters U+0080..U+00FF inside and come back out unchanged (attributes, text,
// saved files, GetXML).
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/noncopyable.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"

class CXMLFile_Impl;

// Text that is no well-formed XML (told apart from a file that cannot be read).
class CXMLParseError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

class CXMLFile : NonCopyable {
public:
    // An empty document, for building one in memory.
    CXMLFile();
    // Loads `file_name` (Windows-style names work: "Settings\Samples.xml").
    explicit CXMLFile(const std::string& file_name);
    ~CXMLFile();

    CXMLNode SelectSingleNode(std::string_view path) const;
    CXMLNodeList SelectNodes(std::string_view path) const;

    // Adds the declaration <?xml version="1.0"?> and the root element; false (with
    // "Error: Creating root node %s" for a bad name) when no root could be added.
    bool CreateRoot(std::string_view name);
    // A new element, not yet in the tree: append it with CXMLNode::AppendChild.
    // A bad name logs "Error: Creating node %s" and throws "Creating node error!".
    CXMLNode CreateNode(std::string_view name);

    // Writes the document to `path` (folders resolved without regard to case)
    // beside the old file and renames it over that, so a failed save keeps the
    // old file; false with the reason in *error when it failed. A folder that
    // cannot be synced after the rename is logged, and the save stands.
    bool Save(const std::string& path, std::string* error = nullptr) const;
    // The text Save writes: the whole document indented, as 8-bit text.
    std::string GetSavedText() const;
    // The whole document as 8-bit text followed by one zero byte.
    bool GetXML(std::vector<uint8_t>& out) const;
    // The same without the zero byte.
    bool GetXML(std::string& out) const;
    // Replaces the content by the text in `buffer` (trailing zero bytes ignored).
    bool Parse(const std::vector<uint8_t>& buffer);
    bool Parse(std::string_view text);

    const std::string& GetFileName() const;

private:
    std::shared_ptr<CXMLFile_Impl> _impl;
};
