#include "gui/base_menu_edit.h"

#include "engine/keyboard_controller_interface.h"
#include "engine/xml_node.h"
#include "gui/event_holder.h"
#include "gui/gui_services.h"
#include "platform/virtual_keys.h"

namespace {
constexpr int kBackspaceKey = 8;
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

void CBaseMenuEdit::AddChar(char ch) {
    const bool letter = (ch >= 'a' && ch <= 'z') || (ch >= '0' && ch <= 'Z');
    const bool accepted = letter && _text.size() < _max_length && _text.size() < kMaxText &&
                          (!_digits_only || (ch >= '0' && ch <= '9'));
    if (!accepted) return;
    _text.push_back(ch);
    if (_owner) _owner->OnEditChar(this, ch);
}

void CBaseMenuEdit::Draw(bool skip_update) {
    if (!skip_update) Update();
}
