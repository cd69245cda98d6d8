#include "engine/xml_file.h"

#include <cstdio>
#include <memory>
#include <stdexcept>

#include "engine/file_opener.h"
#include "engine/logger.h"
#include "engine/whole_file_saver.h"
#include "engine/xml_impl.h"
#include "platform/file_names.h"

namespace {

constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_declaration;

// Line number (from 1) and text of the line holding `offset`.
void LocateError(std::string_view text, size_t offset, int& line, std::string& source) {
    if (offset > text.size()) offset = text.size();
    line = 1;
    size_t line_start = 0;
    for (size_t i = 0; i < offset; ++i) {
        if (text[i] == '\n') {
            ++line;
            line_start = i + 1;
        }
    }
    size_t line_end = text.find_first_of("\r\n", line_start);
    if (line_end == std::string_view::npos) line_end = text.size();
    source.assign(text.substr(line_start, line_end - line_start));
}

void ParseInto(CXMLFile_Impl& impl, std::string_view text) {
    while (!text.empty() && text.back() == '\0') text.remove_suffix(1);
    // A byte-order mark is no text; the bytes after it pass as they are.
    if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    auto fresh = std::make_shared<XmlDocument>();
    pugi::xml_parse_result result =
        fresh->doc.load_buffer(text.data(), text.size(), kParseOptions, pugi::encoding_latin1);
    if (!result) {
        int line = 0;
        std::string source;
        LocateError(text, static_cast<size_t>(result.offset), line, source);
        std::string description = "File: " + impl._file_name + ", Line: " + std::to_string(line) +
                                  ", Source: " + source + ", Reason: " + result.description();
        CLogger::Instance().Log(2, "Error: Parse error - %s", description.c_str());
        throw CXMLParseError("XML parse error!");
    }
    // Handles taken from the old content keep it alive on their own.
    impl._doc = std::move(fresh);
}

}  // namespace

CXMLFile::CXMLFile() : _impl(std::make_shared<CXMLFile_Impl>()) {}

CXMLFile::CXMLFile(const std::string& file_name) : _impl(std::make_shared<CXMLFile_Impl>()) {
    _impl->_file_name = file_name;
    std::vector<uint8_t> bytes;
    if (!CFileOpener::Instance().ReadFile(file_name, bytes)) {
        CLogger::Instance().Log(2, "Error: Failed to open XML file '%s'!", file_name.c_str());
        throw std::runtime_error("Error opening xml!");
    }
    ParseInto(*_impl, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

CXMLFile::~CXMLFile() = default;

CXMLNode CXMLFile::SelectSingleNode(std::string_view path) const {
    pugi::xpath_node found = xml_text::SelectOne(_impl->_doc->doc, path);
    if (!found) return CXMLNode();
    return CXMLNode(std::make_shared<CXMLNode_Impl>(_impl->_doc, found.node(), found.attribute()));
}

CXMLNodeList CXMLFile::SelectNodes(std::string_view path) const {
    return CXMLNodeList(
        std::make_shared<CXMLNodeList_Impl>(_impl->_doc, xml_text::SelectAll(_impl->_doc->doc, path)));
}

bool CXMLFile::CreateRoot(std::string_view name) {
    XmlDocument& d = *_impl->_doc;
    if (!xml_text::IsValidName(name)) {
        std::string text(name);
        CLogger::Instance().Log(2, "Error: Creating root node %s", text.c_str());
        return false;
    }
    // A document holds one root element.
    for (pugi::xml_node child = d.doc.first_child(); child; child = child.next_sibling())
        if (child != d.staging && child.type() == pugi::node_element) return false;
    pugi::xml_node decl = d.staging ? d.doc.insert_child_before(pugi::node_declaration, d.staging)
                                    : d.doc.append_child(pugi::node_declaration);
    decl.append_attribute("version") = "1.0";
    pugi::xml_node root = d.staging ? d.doc.insert_child_before(pugi::node_element, d.staging)
                                    : d.doc.append_child(pugi::node_element);
    return root && root.set_name(xml_text::FromBytes(name).c_str());
}

CXMLNode CXMLFile::CreateNode(std::string_view name) {
    if (!xml_text::IsValidName(name)) {
        std::string text(name);
        CLogger::Instance().Log(2, "Error: Creating node %s", text.c_str());
        throw std::runtime_error("Creating node error!");
    }
    pugi::xml_node node = _impl->_doc->StagingNode().append_child(xml_text::FromBytes(name).c_str());
    return CXMLNode(std::make_shared<CXMLNode_Impl>(_impl->_doc, node));
}

bool CXMLFile::Save(const std::string& path, std::string* error) const {
    std::string target = plat::ResolveFileNameForWrite(path);
    if (target.empty()) {
        if (error) *error = "no folder for '" + path + "'";
        return false;
    }
    const std::string text = GetSavedText();
    return SaveWholeFile(target, text.data(), text.size(), error);
}

std::string CXMLFile::GetSavedText() const { return _impl->_doc->Write(true); }

bool CXMLFile::GetXML(std::string& out) const {
    out = _impl->_doc->Write(false);
    return true;
}

bool CXMLFile::GetXML(std::vector<uint8_t>& out) const {
    std::string text = _impl->_doc->Write(false);
    out.assign(text.begin(), text.end());
    out.push_back(0);
    return true;
}

bool CXMLFile::Parse(const std::vector<uint8_t>& buffer) {
    ParseInto(*_impl, std::string_view(reinterpret_cast<const char*>(buffer.data()), buffer.size()));
    return true;
}

bool CXMLFile::Parse(std::string_view text) {
    ParseInto(*_impl, text);
    return true;
}

const std::string& CXMLFile::GetFileName() const { return _impl->_file_name; }
