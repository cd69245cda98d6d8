#pragma once
// A registry of named tuning values. The owner declares each variable once with
// a typed default (int, float, bool or text; the type never changes), a data
// file overrides them by same-named attributes of one element, and the game
// reads them by name.
//
// Reading or setting a name that was never declared logs
// "Variable <name> not registered!" and throws std::runtime_error with that text;
// reading or setting with another type than the declared one throws
// std::bad_any_cast.
#include <any>
#include <functional>
#include <map>
#include <string>
#include <string_view>

class CXMLNode;

class CVariables {
public:
    // A name already declared keeps its first declaration (silently).
    void Register(std::string_view name, int value);
    void Register(std::string_view name, float value);
    void Register(std::string_view name, double value) { Register(name, static_cast<float>(value)); }
    void Register(std::string_view name, bool value);
    void Register(std::string_view name, std::string value);
    void Register(std::string_view name, const char* value) { Register(name, std::string(value)); }

    // Every declared variable takes the element's attribute of its name, read as
    // its type with its current value as the default; undeclared attributes are
    // ignored; an empty handle changes nothing. Loads add up: nothing is reset.
    void LoadFromXml(const CXMLNode& element);

    bool IsRegistered(std::string_view name) const { return _vars.find(name) != _vars.end(); }
    const std::any& FindVariable(std::string_view name) const;

    // The value as its declared type; the int form also stores it in `out`.
    int GetInt(std::string_view name, int* out = nullptr) const;
    float GetFloat(std::string_view name) const;
    bool GetBool(std::string_view name) const;
    std::string GetString(std::string_view name) const;

    // Replaces the value of a declared variable with one of the same type.
    void Set(std::string_view name, int value);
    void Set(std::string_view name, float value);
    void Set(std::string_view name, double value) { Set(name, static_cast<float>(value)); }
    void Set(std::string_view name, bool value);
    void Set(std::string_view name, std::string value);
    void Set(std::string_view name, const char* value) { Set(name, std::string(value)); }

private:
    std::any& Find(std::string_view name);
    void Store(std::string_view name, std::any value);

    std::map<std::string, std::any, std::less<>> _vars;
};
