#include "gui/control_factory.h"

#include <string>

#include "engine/logger.h"
#include "engine/xml_node.h"
#include "gui/menu_button.h"
#include "gui/menu_check_box.h"
#include "gui/menu_edit.h"
#include "gui/menu_image.h"
#include "gui/menu_label.h"
#include "gui/menu_list_box.h"
#include "gui/menu_page_control.h"
#include "gui/menu_panel.h"
#include "gui/menu_progress_bar.h"
#include "gui/menu_track_bar.h"

ControlType ControlTypeFromString(std::string_view text) {
    struct Entry {
        std::string_view name;
        ControlType type;
    };
    static constexpr Entry kTypes[] = {
        {"BUTTON", ctButton}, {"PANEL", ctPanel}, {"TRACKBAR", ctTrackBar}, {"LABEL", ctLabel},
        {"IMAGE", ctImage},   {"LISTBOX", ctListBox}, {"EDIT", ctEdit},   {"CHECK_BOX", ctCheckBox},
        {"PROGRESS_BAR", ctProgressBar}, {"PAGECONTROL", ctPageControl},
    };
    for (const Entry& e : kTypes)
        if (e.name == text) return e.type;
    return ctUnknown;
}

std::unique_ptr<CBaseControl> CreateControl(CEventHolder* owner, const CXMLNode& node) {
    if (!node.IsValid()) return nullptr;
    const std::string type = node.GetAttribute("type", "");
    std::unique_ptr<CBaseControl> control;
    switch (ControlTypeFromString(type)) {
        case ctButton: control = std::make_unique<CMenuButton>(owner); break;
        case ctPanel: control = std::make_unique<CMenuPanel>(owner); break;
        case ctLabel: control = std::make_unique<CMenuLabel>(owner); break;
        case ctImage: control = std::make_unique<CMenuImage>(owner); break;
        case ctEdit: control = std::make_unique<CMenuEdit>(owner); break;
        case ctCheckBox: control = std::make_unique<CMenuCheckBox>(owner); break;
        case ctTrackBar: control = std::make_unique<CMenuTrackBar>(owner); break;
        case ctListBox: control = std::make_unique<CMenuListBox>(owner); break;
        case ctProgressBar: control = std::make_unique<CMenuProgressBar>(owner); break;
        case ctPageControl: control = std::make_unique<CMenuPageControl>(owner); break;
        case ctUnknown:
        default:
            CLogger::Instance().Log(2, "Error: Unknown control '%s'!", type.c_str());
            return nullptr;
    }
    control->Load(node);
    return control;
}

int ParseOrientation(std::string_view text) {
    if (text == "VERTICAL") return 0;
    if (text == "HORIZONTAL") return 1;
    CLogger::Instance().Log(3, "Warning: unknown orientation '%s'!", std::string(text).c_str());
    return 1;
}
