#include "gui/control_kinds.h"

#include <cctype>
#include <exception>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"

const char* const g_ControlsFileName = "controls.xml";

std::string ControlsFilePath() { return std::string("Settings\\") + g_ControlsFileName; }

namespace {

PanelKind& PanelKindStore() {
    static PanelKind kind;
    return kind;
}
ListBoxKind& ListBoxKindStore() {
    static ListBoxKind kind;
    return kind;
}
CheckBoxKind& CheckBoxKindStore() {
    static CheckBoxKind kind;
    return kind;
}
PageControlKind& PageControlKindStore() {
    static PageControlKind kind;
    return kind;
}

// Opens the kinds file and hands it to `read`; a file that cannot be read or
// parsed is logged and the kind keeps its empty value.
void WithKindsFile(const char* what, const std::function<void(const CXMLFile&)>& read) {
    try {
        CXMLFile file(ControlsFilePath());
        read(file);
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: %s kinds not loaded from '%s': %s", what, ControlsFilePath().c_str(),
                                e.what());
    }
}

}  // namespace

void ForEachKindNode(const char* what, const char* xpath, const std::function<void(const CXMLNode&)>& each) {
    WithKindsFile(what, [&](const CXMLFile& file) {
        const CXMLNodeList nodes = file.SelectNodes(xpath);
        for (int i = 0; i < nodes.GetLength(); ++i) each(nodes.GetItem(i));
    });
}

void LogNoKinds(const char* what) {
    // "Track bar" reads as "track bar" inside the sentence.
    std::string name(what);
    if (!name.empty()) name[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(name[0])));
    CLogger::Instance().Log(2, "Error: No %s kinds in '%s', an empty kind is used!", name.c_str(),
                            ControlsFilePath().c_str());
}

void LoadPanelKind() {
    PanelKindStore() = PanelKind {};
    WithKindsFile("Panel", [](const CXMLFile& file) {
        const CXMLNode node = file.SelectSingleNode("//Controls/Panels/Panel");
        if (!node.IsValid()) return;
        PanelKind& kind = PanelKindStore();
        kind.skin = LoadFrameSkin(node);
        kind.activate_sample = node.GetAttribute("activate_sample", "");
    });
}

void LoadListBoxKind() {
    ListBoxKindStore() = ListBoxKind {};
    WithKindsFile("List box", [](const CXMLFile& file) {
        ListBoxKind& kind = ListBoxKindStore();
        const CXMLNode list = file.SelectSingleNode("//Controls/ListBoxes/ListBox");
        kind.item_dis_x = list.GetAttributeInt("item_dis_x", 0);
        kind.item_dis_y = list.GetAttributeInt("item_dis_y", 0);
        const CXMLNode bar = file.SelectSingleNode("//Controls/ListBoxes/ListBox/ScrollBar");
        kind.has_scroll_bar = bar.IsValid();
        const float left = static_cast<float>(bar.GetAttributeInt("left", 0));
        const float top = static_cast<float>(bar.GetAttributeInt("top", 0));
        kind.scroll_bar_rect = CFloatRect(left, top, left + static_cast<float>(bar.GetAttributeInt("width", 0)),
                                          top + static_cast<float>(bar.GetAttributeInt("height", 0)));
        kind.scroll_bar_kind = bar.GetAttributeInt("kind", 0);
    });
}

void LoadCheckBoxKind() {
    CheckBoxKindStore() = CheckBoxKind {};
    WithKindsFile("Check box", [](const CXMLFile& file) {
        CheckBoxKind& kind = CheckBoxKindStore();
        kind.box = ParseGraphics(file.SelectSingleNode("//Controls/CheckBoxes/CheckBox/Box"));
        kind.check = ParseGraphics(file.SelectSingleNode("//Controls/CheckBoxes/CheckBox/Check"));
    });
}

void LoadPageControlKind() {
    PageControlKindStore() = PageControlKind {};
    WithKindsFile("Page control", [](const CXMLFile& file) {
        PageControlKind& kind = PageControlKindStore();
        const CXMLNode button = file.SelectSingleNode("//Controls/PageControls/PageControl/PageButton");
        kind.has_page_buttons = button.IsValid();
        kind.button_width = button.GetAttributeInt("width", 0);
        kind.button_height = button.GetAttributeInt("height", 0);
    });
}

void LoadControlKinds() {
    LoadPanelKind();
    LoadListBoxKind();
    LoadCheckBoxKind();
    LoadPageControlKind();
}

const PanelKind& GetPanelKind() { return PanelKindStore(); }
const ListBoxKind& GetListBoxKind() { return ListBoxKindStore(); }
const CheckBoxKind& GetCheckBoxKind() { return CheckBoxKindStore(); }
const PageControlKind& GetPageControlKind() { return PageControlKindStore(); }
