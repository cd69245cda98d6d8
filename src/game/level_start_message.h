#pragma once
// The level-start banner: "Level %d" with the episode's name below it, fading
// in and out at the place "//GameCFG/StartLevelMessage" of "GameCFG.xml" gives.
#include <cstdint>
#include <string>

#include "engine/vector2.h"
#include "game/game_message.h"

class CLevelStartMessage : public CGameMessage {
public:
    // Reads the position (the game screen's centre by default), then the base Init.
    void Init() override;
    void Draw() override;

    using CGameMessage::Show;
    // The first label with `number` as its argument, the second below it; fading.
    void Show(const std::string& alias, int32_t number, const std::string& second_alias);

    const CVector2& GetPosition() const { return _position; }
    int32_t GetNumber() const { return _number; }
    const std::string& GetSecondAlias() const { return _second_alias; }

private:
    int32_t _number = 0;
    std::string _second_alias;
    LabelDesc _second_style;
    CVector2 _position;
};
