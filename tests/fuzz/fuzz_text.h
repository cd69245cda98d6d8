#pragma once
// The small fonts and labels that the text harnesses print with: letters of
// two fonts and labels that use them, written once into the scratch folder.
#include "engine/printf_arg.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "fuzz_support.h"
#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"

namespace fuzz {

inline void WriteTextFixtures() {
    static const bool done = [] {
        WriteText("Settings/Fonts.xml",
                  "<Fonts><Font texture='Textures\\t0.png'><Line y_top='0' y_bottom='10' x_right='55'>"
                  "<Letter char='A' pos_x='0'/><Letter char='B' pos_x='10'/><Letter char='1' pos_x='20'/>"
                  "<Letter char='$' pos_x='50'/></Line></Font>"
                  "<Font texture='Textures\\t1.png'><Line y_top='0' y_bottom='20' x_right='40'>"
                  "<Letter ascii='65' pos_x='0'/></Line></Font></Fonts>");
        WriteText("Settings/Labels.xml",
                  "<labels><label alias='a' height='10'>AB|%d</label>"
                  "<label alias='b' font_id='1' height='20' align='CENTER' shadow='1'>%s</label>"
                  "<label alias='c' font_id='2' align='RIGHT'>A||B|</label></labels>");
        WriteText("Settings/Languages.xml",
                  "<Languages><Language name='One' primary_id='9' fonts_file='Fonts.xml' labels_file='Labels.xml'/>"
                  "</Languages>");
        return true;
    }();
    (void)done;
}

// The start of every text harness: the scratch folder with the fixtures,
// and the input written as `relative`.
inline void TextInput(const std::string& relative, const uint8_t* data, size_t size) {
    Scratch();
    LimitLog();
    WriteTextFixtures();
    WriteInput(relative, data, size);
}

// Lays out up to 16 labels named in `labels_file` with two sets of arguments.
inline void LayOutLabels(CFontKeeper& keeper, const std::string& labels_file) {
    CTexturedRectsList batch;
    Tolerating([&] {
        CXMLFile file(labels_file);
        const CXMLNodeList nodes = file.SelectNodes("//labels/label");
        for (int i = 0; i < nodes.GetLength() && i < 16; ++i) {
            const std::string alias = nodes.GetItem(i).GetAttribute("alias", "");
            keeper.LayoutLabelArgs(&batch, 10, 20, alias, PrintfArg(120), PrintfArg::MakeString("x|y"));
            keeper.LayoutLabelArgs(&batch, 10, 20, alias, PrintfArg::MakeFloat(2.5f), PrintfArg());
        }
    });
}

}  // namespace fuzz
