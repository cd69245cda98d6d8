#include "game/level_start_message.h"

#include <exception>

#include "engine/xml_file.h"
#include "graphics/font_keeper.h"

void CLevelStartMessage::Init() {
    int x = static_cast<int>(CentreX()), y = static_cast<int>(CentreY());
    try {
        CXMLFile file("Settings\\GameCFG.xml");
        const CXMLNode node = file.SelectSingleNode("//GameCFG/StartLevelMessage");
        x = node.GetAttributeInt("pos_x", x);
        y = node.GetAttributeInt("pos_y", y);
    } catch (const std::exception&) {
        // Logged by the XML layer; the banner stays at the screen's centre.
    }
    _position = CVector2(static_cast<float>(x), static_cast<float>(y));
    CGameMessage::Init();
}

void CLevelStartMessage::Show(const std::string& alias, int32_t number, const std::string& second_alias) {
    CGameMessage::Show(alias, kFade);
    _number = number;
    _second_alias = second_alias;
    _second_style = CFontKeeper::Instance().GetLabel(second_alias);
}

void CLevelStartMessage::Draw() {
    CFontKeeper& fonts = CFontKeeper::Instance();
    fonts.PrintLabel(_position.x, _position.y, _label_alias, _number);
    // The second line fades with the first.
    _second_style.style.color = _style.style.color;
    fonts.SetLabelStyle(_second_style.style);
    fonts.PrintLabel(_position.x, _position.y + _style.style.height / 2, _second_alias);
}
