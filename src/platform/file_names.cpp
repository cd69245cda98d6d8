#include "platform/file_names.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace plat {

namespace {

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        char ca = a[i], cb = b[i];
        if (ca >= 'A' && ca <= 'Z') ca = static_cast<char>(ca - 'A' + 'a');
        if (cb >= 'A' && cb <= 'Z') cb = static_cast<char>(cb - 'A' + 'a');
        if (ca != cb) return false;
    }
    return true;
}

std::string Join(const std::string& base, const std::string& part) {
    if (base.empty()) return part;
    if (base == "/") return "/" + part;
    return base + "/" + part;
}

// The entry of `folder` (the current directory when empty) that matches `part`,
// or "" when none does.
std::string FindEntry(const std::string& folder, const std::string& part) {
    std::string exact = Join(folder, part);
    if (Exists(exact)) return part;
    std::error_code ec;
    fs::directory_iterator it(folder.empty() ? fs::path(".") : fs::path(folder), ec);
    if (ec) return {};
    std::vector<std::string> matches;
    for (const auto& entry : it) {
        std::string name = entry.path().filename().string();
        if (SameIgnoringCase(name, part)) matches.push_back(std::move(name));
    }
    if (matches.empty()) return {};
    std::sort(matches.begin(), matches.end());
    return matches.front();
}

std::vector<std::string> SplitParts(const std::string& native) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= native.size()) {
        size_t end = native.find('/', start);
        if (end == std::string::npos) end = native.size();
        if (end > start) parts.push_back(native.substr(start, end - start));
        start = end + 1;
    }
    return parts;
}

// Resolves all parts but the last `keep_last` ones; false when a folder is missing.
bool ResolveParts(const std::string& native, size_t unresolved_tail, std::string& out,
                  std::vector<std::string>& tail) {
    std::vector<std::string> parts = SplitParts(native);
    out.assign((!native.empty() && native[0] == '/') ? 1 : 0, '/');
    size_t resolve_count = parts.size() >= unresolved_tail ? parts.size() - unresolved_tail : 0;
    for (size_t i = 0; i < resolve_count; ++i) {
        const std::string& part = parts[i];
        std::string found = (part == "." || part == "..") ? part : FindEntry(out, part);
        if (found.empty()) return false;
        out = Join(out, found);
    }
    tail.assign(parts.begin() + static_cast<std::ptrdiff_t>(resolve_count), parts.end());
    return true;
}

}  // namespace

std::string ToNativeSeparators(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (char c : name) {
        if (c == '\\') c = '/';
        if (c == '/' && !out.empty() && out.back() == '/') continue;
        out.push_back(c);
    }
    return out;
}

std::string ResolveFileName(std::string_view name) {
    if (name.empty()) return {};
    std::string given(name);
    if (Exists(given)) return given;
    std::string native = ToNativeSeparators(name);
    if (native != given && Exists(native)) return native;
    std::string out;
    std::vector<std::string> tail;
    if (!ResolveParts(native, 0, out, tail) || out.empty() || out == "/") return {};
    return out;
}

std::string ResolveFileNameForWrite(std::string_view name) {
    if (name.empty()) return {};
    std::string existing = ResolveFileName(name);
    if (!existing.empty()) return existing;
    std::string native = ToNativeSeparators(name);
    std::string out;
    std::vector<std::string> tail;
    if (!ResolveParts(native, 1, out, tail) || tail.empty()) return {};
    return Join(out, tail.front());
}

}  // namespace plat
