#pragma once
// The control-kinds file and the kinds read at start-up. Each control class
// keeps its own table; buttons, track bars and progress bars read theirs when
// their first control is built, the four below are read by LoadControlKinds,
// which the start-up code calls once before any dialog is made.
#include <functional>
#include <string>

#include "engine/float_rect.h"
#include "engine/graphics_desc.h"
#include "gui/frame_skin.h"

// The kinds file's name, joined to "Settings\" where it is opened.
extern const char* const g_ControlsFileName;
// "Settings\controls.xml".
std::string ControlsFilePath();

class CXMLNode;

// Calls `each` for every node of `xpath` in the kinds file, in document order.
// A file that cannot be read or parsed is logged with `what` ("Button", ...).
void ForEachKindNode(const char* what, const char* xpath, const std::function<void(const CXMLNode&)>& each);
// "Error: No <what> kinds in '<file>', an empty kind is used!"
void LogNoKinds(const char* what);

// The one skin of all panels and the sample played when a panel is activated.
struct PanelKind {
    FrameSkin skin;
    std::string activate_sample;
};

// The box and the check mark of every check box.
struct CheckBoxKind {
    CGraphicsDesc box;
    CGraphicsDesc check;
};

// All list boxes: an optional scroll bar (a track-bar kind) placed relative to
// the list's top-left corner, and the offset of the rows' text.
struct ListBoxKind {
    CFloatRect scroll_bar_rect;
    int scroll_bar_kind = 0;
    int item_dis_x = 0;
    int item_dis_y = 0;
    bool has_scroll_bar = false;
};

// All page controls: whether they show a row of page buttons, and their size.
struct PageControlKind {
    bool has_page_buttons = false;
    int button_width = 0;
    int button_height = 0;
};

// Reads, each from the file anew, the panel, list-box, check-box and
// page-control kinds, in that order. A missing or broken file logs and leaves
// the empty kinds (nothing is drawn).
void LoadControlKinds();
void LoadPanelKind();
void LoadListBoxKind();
void LoadCheckBoxKind();
void LoadPageControlKind();

const PanelKind& GetPanelKind();
const ListBoxKind& GetListBoxKind();
const CheckBoxKind& GetCheckBoxKind();
const PageControlKind& GetPageControlKind();
