#include "game/remains_lives_message.h"

#include "graphics/font_keeper.h"

void CRemainsLivesMessage::Show(int32_t lives, const CVector2& position) {
    CGameMessage::Show(lives == 1 ? "LastLive" : "LivesLeft", kZoom | kDrawHidden);
    _lives = lives;
    _position = position;
}

void CRemainsLivesMessage::Draw() {
    const bool centre = (_flags & kCentre) != 0;
    CFontKeeper::Instance().PrintLabel(centre ? CentreX() : _position.x, centre ? CentreY() : _position.y, _label_alias,
                                       _lives);
}
