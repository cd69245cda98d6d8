#pragma once
// The life-lost dialog's banner: "Last life!" with one life left, else
// "%d lives left", growing to its height and staying drawn until cleared.
#include <cstdint>

#include "engine/vector2.h"
#include "game/game_message.h"

class CRemainsLivesMessage : public CGameMessage {
public:
    void Draw() override;

    using CGameMessage::Show;
    // Zooming, drawn after it finished; at `position` (the screen centre with flag 4).
    void Show(int32_t lives, const CVector2& position);

    int32_t GetLives() const { return _lives; }
    const CVector2& GetPosition() const { return _position; }

private:
    int32_t _lives = 0;
    CVector2 _position;
};
