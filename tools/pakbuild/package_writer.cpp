#include "pakbuild/package_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "engine/file_opener.h"
#include "platform/file_handle.h"

namespace fs = std::filesystem;

namespace {

void PutU16(std::vector<uint8_t>& out, uint16_t v, uint8_t key = 0) {
    out.push_back(static_cast<uint8_t>((v & 0xFF) ^ key));
    out.push_back(static_cast<uint8_t>((v >> 8) ^ key));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v, uint8_t key) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(((v >> (8 * i)) & 0xFF) ^ key));
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return s;
}

}  // namespace

std::string CPackageWriter::StoredName(std::string_view name) {
    std::string s(name);
    std::replace(s.begin(), s.end(), '/', '\\');
    CFileOpener::NormalizeFileName(s);
    while (!s.empty() && s.front() == '\\') s.erase(s.begin());
    return s;
}

bool CPackageWriter::AddFile(std::string_view name, std::vector<uint8_t> contents) {
    std::string stored = StoredName(name);
    if (stored.empty() || stored.size() > CFileOpener::kMaxNameLength) return false;
    return _files.emplace(std::move(stored), std::move(contents)).second;
}

bool CPackageWriter::AddFolder(const std::string& folder, const std::vector<std::string>& extensions,
                               std::string* error) {
    std::error_code ec;
    fs::recursive_directory_iterator it(folder, ec), end;
    if (ec) {
        if (error) *error = "cannot read folder " + folder + ": " + ec.message();
        return false;
    }
    bool all_added = true;
    std::vector<fs::path> files;
    for (; it != end; it.increment(ec)) {
        if (ec) break;
        if (it->is_regular_file(ec)) files.push_back(it->path());
    }
    // A walk cut short would leave files out of the package unnoticed.
    if (ec) {
        if (error) *error += "cannot read all of folder " + folder + ": " + ec.message() + "\n";
        all_added = false;
    }
    std::sort(files.begin(), files.end());  // the same package from the same tree
    for (const fs::path& path : files) {
        if (!extensions.empty()) {
            std::string ext = LowerAscii(path.extension().string());
            bool wanted = std::any_of(extensions.begin(), extensions.end(),
                                      [&](const std::string& e) { return LowerAscii(e) == ext; });
            if (!wanted) continue;
        }
        if (LowerAscii(path.filename().string()) == "data.pak") continue;  // never a package in a package
        std::ifstream in(path, std::ios::binary);
        std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::string relative = fs::relative(path, folder, ec).generic_string();
        std::error_code size_ec;
        const auto expected = fs::file_size(path, size_ec);
        if (!in.is_open() || size_ec || bytes.size() != expected) {
            if (error) *error += "cannot read " + path.string() + "\n";
            all_added = false;
            continue;
        }
        if (!AddFile(relative, std::move(bytes))) {
            if (error) *error += "cannot store " + relative + " (name too long or taken)\n";
            all_added = false;
        }
    }
    return all_added;
}

bool CPackageWriter::Write(const std::string& path, std::string* error) const {
    const uint8_t key = CFileOpener::kPackageKey;
    uint64_t table_size = 6;
    for (const auto& [name, contents] : _files) table_size += 2 + name.size() + 8;
    uint64_t total = table_size;
    for (const auto& [name, contents] : _files) total += contents.size();
    if (total > 0xFFFFFFFFull) {
        if (error) *error = "the package would exceed 4 GiB";
        return false;
    }
    std::vector<uint8_t> table;
    table.reserve(static_cast<size_t>(table_size));
    PutU16(table, CFileOpener::kPackageVersion);
    PutU32(table, static_cast<uint32_t>(_files.size()), 0);
    uint32_t offset = static_cast<uint32_t>(table_size);
    for (const auto& [name, contents] : _files) {
        PutU16(table, static_cast<uint16_t>(name.size()));
        for (char c : name) table.push_back(static_cast<uint8_t>(static_cast<uint8_t>(c) ^ key));
        PutU32(table, offset, key);
        PutU32(table, static_cast<uint32_t>(contents.size()), key);
        offset += static_cast<uint32_t>(contents.size());
    }
    plat::UniqueFile f(std::fopen(path.c_str(), "wb"));
    if (!f) {
        if (error) *error = "cannot create " + path;
        return false;
    }
    bool ok = std::fwrite(table.data(), 1, table.size(), f.get()) == table.size();
    for (const auto& [name, contents] : _files)
        ok = ok && (contents.empty() || std::fwrite(contents.data(), 1, contents.size(), f.get()) == contents.size());
    ok = plat::CloseFile(f) && ok;
    if (!ok && error) *error = "cannot write " + path;
    return ok;
}
