#pragma once
// What a label is: its look, its alias, its text (a printf format whose "|"
// start new lines), the font it is printed in and its alignment.
#include <string>

#include "graphics/text_style.h"

struct LabelDesc {
    TextStyle style;
    std::string alias;
    std::string text;
    int font_id = 0;
    int alignment = 0;  // 0 left, 1 right, 2 centred
    int reserved = 0;
};
