#include "engine/xml_impl.h"

#include "engine/logger.h"

namespace {

constexpr const char* kStagingName = "#created";

struct StringWriter : pugi::xml_writer {
    std::string out;
    void write(const void* data, size_t size) override { out.append(static_cast<const char*>(data), size); }
};

bool IsAscii(std::string_view s) {
    for (char c : s)
        if (static_cast<unsigned char>(c) >= 0x80) return false;
    return true;
}

}  // namespace

pugi::xml_node XmlDocument::StagingNode() {
    if (!staging) {
        staging = doc.append_child(pugi::node_element);
        staging.set_name(kStagingName);
    }
    return staging;
}

void XmlDocument::DropStagingIfEmpty() {
    if (staging && !staging.first_child()) {
        doc.remove_child(staging);
        staging = pugi::xml_node();
    }
}

std::string XmlDocument::Write(bool indent) const {
    StringWriter writer;
    unsigned flags = indent ? pugi::format_indent : pugi::format_raw;
    for (pugi::xml_node child = doc.first_child(); child; child = child.next_sibling()) {
        if (child == staging) continue;
        child.print(writer, "\t", flags, pugi::encoding_latin1);
    }
    return writer.out;
}

namespace xml_text {

std::string FromBytes(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    std::string out;
    out.reserve(bytes.size() + bytes.size() / 2);
    for (char ch : bytes) {
        unsigned char c = static_cast<unsigned char>(ch);
        if (c < 0x80) {
            out.push_back(ch);
        } else {
            out.push_back(static_cast<char>(0xC0 | (c >> 6)));
            out.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return out;
}

std::string ToBytes(const char* utf8) {
    std::string_view in(utf8 ? utf8 : "");
    if (IsAscii(in)) return std::string(in);
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size();) {
        unsigned char c = static_cast<unsigned char>(in[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
            ++i;
            continue;
        }
        size_t len = (c >= 0xF0) ? 4 : (c >= 0xE0) ? 3 : (c >= 0xC0) ? 2 : 1;
        if ((c == 0xC2 || c == 0xC3) && i + 1 < in.size()) {
            out.push_back(static_cast<char>(((c & 0x03) << 6) | (static_cast<unsigned char>(in[i + 1]) & 0x3F)));
        } else {
            out.push_back('?');
        }
        i += len;
    }
    return out;
}

bool IsValidName(std::string_view name) {
    if (name.empty()) return false;
    for (size_t i = 0; i < name.size(); ++i) {
        unsigned char c = static_cast<unsigned char>(name[i]);
        bool letter = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
        bool other = (c >= '0' && c <= '9') || c == '-' || c == '.';
        if (!letter && !(i > 0 && other)) return false;
    }
    return true;
}

pugi::xpath_node SelectOne(const pugi::xml_node& from, std::string_view path) {
    if (!from) return {};
    try {
        return from.select_node(FromBytes(path).c_str());
    } catch (const pugi::xpath_exception& e) {
        CLogger::Instance().Log(2, "Error: Invalid path expression '%.*s' (%s)", static_cast<int>(path.size()),
                                path.data(), e.what());
        return {};
    }
}

pugi::xpath_node_set SelectAll(const pugi::xml_node& from, std::string_view path) {
    if (!from) return {};
    try {
        return from.select_nodes(FromBytes(path).c_str());
    } catch (const pugi::xpath_exception& e) {
        CLogger::Instance().Log(2, "Error: Invalid path expression '%.*s' (%s)", static_cast<int>(path.size()),
                                path.data(), e.what());
        return {};
    }
}

}  // namespace xml_text
