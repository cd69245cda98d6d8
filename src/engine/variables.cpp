#include "engine/variables.h"

#include <stdexcept>

#include "engine/logger.h"
#include "engine/xml_node.h"

namespace {

[[noreturn]] void NotRegistered(std::string_view name) {
    std::string text = "Variable " + std::string(name) + " not registered!";
    CLogger::Instance().Log(2, "%s", text.c_str());
    throw std::runtime_error(text);
}

}  // namespace

void CVariables::Register(std::string_view name, int value) { _vars.emplace(std::string(name), value); }
void CVariables::Register(std::string_view name, float value) { _vars.emplace(std::string(name), value); }
void CVariables::Register(std::string_view name, bool value) { _vars.emplace(std::string(name), value); }
void CVariables::Register(std::string_view name, std::string value) {
    _vars.emplace(std::string(name), std::move(value));
}

const std::any& CVariables::FindVariable(std::string_view name) const {
    auto it = _vars.find(name);
    if (it == _vars.end()) NotRegistered(name);
    return it->second;
}

std::any& CVariables::Find(std::string_view name) {
    auto it = _vars.find(name);
    if (it == _vars.end()) NotRegistered(name);
    return it->second;
}

void CVariables::Store(std::string_view name, std::any value) {
    std::any& slot = Find(name);
    if (slot.type() != value.type()) throw std::bad_any_cast();
    slot = std::move(value);
}

void CVariables::LoadFromXml(const CXMLNode& element) {
    if (!element.IsValid()) return;
    for (auto& [name, value] : _vars) {
        if (value.type() == typeid(int))
            value = element.GetAttributeInt(name, std::any_cast<int>(value));
        else if (value.type() == typeid(float))
            value = element.GetAttributeFloat(name, std::any_cast<float>(value));
        else if (value.type() == typeid(bool))
            value = element.GetAttributeBool(name, std::any_cast<bool>(value));
        else if (value.type() == typeid(std::string))
            value = element.GetAttribute(name, std::any_cast<const std::string&>(value));
    }
}

int CVariables::GetInt(std::string_view name, int* out) const {
    int value = std::any_cast<int>(FindVariable(name));
    if (out) *out = value;
    return value;
}

float CVariables::GetFloat(std::string_view name) const { return std::any_cast<float>(FindVariable(name)); }
bool CVariables::GetBool(std::string_view name) const { return std::any_cast<bool>(FindVariable(name)); }
std::string CVariables::GetString(std::string_view name) const {
    return std::any_cast<const std::string&>(FindVariable(name));
}

void CVariables::Set(std::string_view name, int value) { Store(name, value); }
void CVariables::Set(std::string_view name, float value) { Store(name, value); }
void CVariables::Set(std::string_view name, bool value) { Store(name, value); }
void CVariables::Set(std::string_view name, std::string value) { Store(name, std::move(value)); }
