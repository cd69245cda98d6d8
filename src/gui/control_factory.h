#pragma once
// The one factory of GUI controls: a "Control" node's "type" names the class.
#include <memory>
#include <string_view>

#include "gui/base_control.h"

class CEventHolder;
class CXMLNode;

// The exact, case-sensitive type names; ctUnknown for anything else.
ControlType ControlTypeFromString(std::string_view text);

// The control of the node's type, owned by `owner` and loaded from the node;
// null for an invalid node, or (logged) for an unknown type.
std::unique_ptr<CBaseControl> CreateControl(CEventHolder* owner, const CXMLNode& node);

// "VERTICAL" 0, "HORIZONTAL" 1; anything else is logged and reads horizontal.
int ParseOrientation(std::string_view text);
