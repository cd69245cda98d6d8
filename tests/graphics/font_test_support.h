#pragma once
// A scratch data tree with two small languages for the font tests: font 0 has
// letters 10 pixels high ("A" and "B" 10 wide, digits 5 wide, "$" 5 wide),
// font 1 an "A" 40 wide and 20 high.
#include <png.h>

#include <string>
#include <vector>

#include "engine/data_test_support.h"
#include "graphics/font_keeper.h"
#include "graphics/textured_rects_list.h"

namespace font_test {

inline void WriteWhitePng(const std::string& path, int w, int h) {
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4, 0xFF);
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr);
}

inline const char* kTestFonts =
    "<Fonts>"
    "<Font texture='Textures\\t0.png'><Line y_top='0' y_bottom='10' x_right='55'>"
    "<Letter char='A' pos_x='0'/><Letter char='B' pos_x='10'/><Letter char='0' pos_x='20'/>"
    "<Letter char='1' pos_x='25'/><Letter char='2' pos_x='30'/><Letter char='3' pos_x='35'/>"
    "<Letter char='4' pos_x='40'/><Letter char='5' pos_x='45'/><Letter char='$' pos_x='50'/>"
    "</Line></Font>"
    "<Font texture='Textures\\t1.png'><Line y_top='0' y_bottom='20' x_right='40'>"
    "<Letter char='A' pos_x='0'/></Line></Font>"
    "</Fonts>";

inline std::string TestLabels(const std::string& hello) {
    const std::string common = " height='10' spacing='0'";
    return "<labels>"
           "<label alias='hello'" + common + ">" + hello + "</label>"
           "<label alias='two'" + common + ">AB|%d</label>"
           "<label alias='gap'" + common + ">A||B</label>"
           "<label alias='trail'" + common + ">B|</label>"
           "<label alias='empty'" + common + "></label>"
           "<label alias='number'" + common + ">%d</label>"
           "<label alias='name'" + common + ">%s</label>"
           "<label alias='shadowed' color='FF00FF00' shadow='1' shadow_color='80000000' shadow_offset='2 3'" +
           common + ">A</label>"
           "<label alias='big' font_id='1'" + common + ">A</label>"
           "<label alias='badfont' font_id='9'" + common + ">A</label>"
           "</labels>";
}

// The two test languages with their fonts, labels and (white) font pages,
// written into the current folder.
inline void WriteTestData() {
    data_test::WriteBytes("Settings/Languages.xml",
                          "<Languages>"
                          "<Language name='First' primary_id='9' fonts_file='Fonts.xml' labels_file='L1.xml'/>"
                          "<Language name='Second' primary_id='7' fonts_file='Fonts.xml' labels_file='L2.xml'/>"
                          "</Languages>");
    data_test::WriteBytes("Settings/Fonts.xml", kTestFonts);
    data_test::WriteBytes("Settings/L1.xml", TestLabels("Hello"));
    data_test::WriteBytes("Settings/L2.xml", TestLabels("Servus"));
    std::filesystem::create_directories("Textures");
    WriteWhitePng("Textures/t0.png", 64, 16);
    WriteWhitePng("Textures/t1.png", 64, 32);
}

class KeeperTest : public data_test::ScratchTest {
protected:
    void WriteTestLanguages() { WriteTestData(); }
    void SelectTestLanguage(int index = 0) {
        WriteTestData();
        keeper.SelectLanguage(index);
    }

    CFontKeeper keeper;
    CTexturedRectsList batch;
};

}  // namespace font_test
