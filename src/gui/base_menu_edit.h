#pragma once
// The behaviour of the text-entry box: while active and enabled it takes the
// text typed since the last frame, accepts letters, digits, the space (not as
// the first character), '-' and the apostrophe, each only when the font of its
// label has it, up to its length; drops the last character on Backspace and
// ends the entry on Enter. CMenuEdit draws it.
#include <cstdint>
#include <string>

#include "gui/base_control.h"

class CBaseMenuEdit : public CBaseControl {
public:
    static constexpr size_t kMaxText = 100;

    explicit CBaseMenuEdit(CEventHolder* owner);
    ~CBaseMenuEdit() override;

    void Update() override;
    bool Load(const CXMLNode& node) override;
    void Draw(bool skip_update) override;

    virtual void ClearText() { _text.clear(); }
    virtual void SetActive(bool active) { _active = active; }

    bool IsActive() const { return _active; }
    const std::string& GetText() const { return _text; }
    const std::string& GetLabel() const { return _label; }
    uint32_t GetMaxLength() const { return _max_length; }
    void SetDigitsOnly(bool on) { _digits_only = on; }
    bool IsDigitsOnly() const { return _digits_only; }

protected:
    std::string _label;
    std::string _text;
    bool _active = false;
    uint32_t _max_length = 12;
    bool _digits_only = false;

    // Whether the character would be appended to the text as it stands now.
    bool Accepts(char ch) const;

private:
    void AddChar(char ch);
    // The font that prints the label has a glyph for the character.
    bool FontHasChar(char ch) const;
};
