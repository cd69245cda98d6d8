#include "gui/base_menu_edit.h"

#include "engine/keyboard_controller_interface.h"
#include "engine/xml_node.h"
#include "graphics/bitmap_font.h"
#include "graphics/font_keeper.h"
#include "gui/event_holder.h"
#include "gui/gui_services.h"
#include "platform/virtual_keys.h"

namespace {
constexpr int kBackspaceKey = 8;

bool IsNameChar(char ch) {
    return (ch >= 'a' && ch <= 'z') || (ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9') || ch == ' ' ||
           ch == '-' || ch == '\'';
}
}  // namespace

CBaseMenuEdit::CBaseMenuEdit(CEventHolder* owner) : CBaseControl(owner) {}

CBaseMenuEdit::~CBaseMenuEdit() = default;

bool CBaseMenuEdit::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    _max_length = static_cast<uint32_t>(node.GetAttributeInt("max_text_length", 12));
    _label = node.GetAttribute("text", "");
    _digits_only = false;
    _text.clear();
    return true;
}

void CBaseMenuEdit::Update() {
    if (!_active || !_enabled) return;
    IKeyboardController* keyboard = gui::Keyboard();
    if (!keyboard) return;
    int pressed = 0;
    if (keyboard->GetPressedKey(&pressed)) {
        uint32_t key = static_cast<uint32_t>(pressed);
        if (_owner) _owner->OnEditKey(this, &key);
        if (key == plat::VK_RETURN) {
            SetActive(false);
            return;
        }
        if (key == kBackspaceKey) {
            if (!_text.empty()) _text.pop_back();
            return;
        }
    }
    // The characters come from the typed text, so the player gets what the
    // layout, Shift and Caps Lock make of the keys.
    for (char ch : keyboard->GetTypedText()) AddChar(ch);
}

bool CBaseMenuEdit::FontHasChar(char ch) const {
    const CFontKeeper& keeper = CFontKeeper::Instance();
    const CBitmapFont* font = keeper.GetFont();
    // Without a font or a label to print with there is nothing to ask.
    if (!font || !keeper.HasLabel(_label)) return true;
    const int font_id = keeper.GetLabel(_label).font_id;
    if (font_id < 0 || font_id >= font->GetFontCount()) return true;
    // A character the font lacks would print as another one.
    return font->GetGlyph(font_id, static_cast<uint8_t>(ch)).present != 0;
}

bool CBaseMenuEdit::Accepts(char ch) const {
    if (_text.size() >= _max_length || _text.size() >= kMaxText) return false;
    if (_digits_only) return ch >= '0' && ch <= '9';
    if (!IsNameChar(ch)) return false;
    // A text never starts with a blank: a name of spaces would look empty.
    if (ch == ' ' && _text.empty()) return false;
    return FontHasChar(ch);
}

void CBaseMenuEdit::AddChar(char ch) {
    if (!Accepts(ch)) return;
    _text.push_back(ch);
    if (_owner) _owner->OnEditChar(this, ch);
}

void CBaseMenuEdit::Draw(bool skip_update) {
    if (!skip_update) Update();
}
