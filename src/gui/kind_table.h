#pragma once
// The kinds of one control class (buttons, track bars, progress bars): one
// entry per node of the class's path in the control-kinds file, in document
// order, read when the first control of the class is built. A control names
// its kind by index.
#include <cstddef>
#include <vector>

#include "gui/control_kinds.h"

class CXMLNode;

template <typename Kind>
class CKindTable {
public:
    using Reader = Kind (*)(const CXMLNode& node);

    // `what` names the class in log lines ("Button", "Track bar", ...).
    constexpr CKindTable(const char* what, const char* xpath, Reader read) : _what(what), _xpath(xpath), _read(read) {}

    // False until the first Load: the first control of the class reads the table.
    bool IsLoaded() const { return _loaded; }
    void LoadOnce() {
        if (!_loaded) Load();
    }
    // Reads it anew. A file that cannot be read is logged and leaves the kinds
    // read before the fault.
    void Load() {
        _loaded = true;
        _kinds.clear();
        ForEachKindNode(_what, _xpath, [this](const CXMLNode& node) { _kinds.push_back(_read(node)); });
    }

    const std::vector<Kind>& Kinds() const { return _kinds; }
    size_t size() const { return _kinds.size(); }
    bool empty() const { return _kinds.empty(); }
    const Kind& operator[](size_t index) const { return _kinds[index]; }

    // What a control takes when its own index was refused (the caller logged
    // it): kind 0, or an empty kind, logged, when the table has none.
    Kind FirstOrEmpty() const {
        if (!_kinds.empty()) return _kinds.front();
        LogNoKinds(_what);
        return Kind {};
    }

private:
    const char* _what;
    const char* _xpath;
    Reader _read;
    bool _loaded = false;
    std::vector<Kind> _kinds;
};
