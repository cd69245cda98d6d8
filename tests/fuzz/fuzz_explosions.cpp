// An explosions file: read by a new explosion manager, every described
// explosion started and played for a few frames.
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "fuzz_support.h"
#include "graphics/explosion.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    static const bool fixtures = [] {
        fuzz::WriteText("anim.xml",
                        "<Animation speed='1' animate_once='1'><Frame tex_rect='0 0 8 8'/><Frame tex_rect='8 0 16 8'/></Animation>");
        return true;
    }();
    (void)fixtures;
    fuzz::WriteInput("Settings/Explosions_Fuzz.xml", data, size);
    static uint32_t now = 0;
    CExplosion manager("Settings\\Explosions_Fuzz.xml", [] { return now; });
    fuzz::Tolerating([&] {
        CXMLFile file("Settings\\Explosions_Fuzz.xml");
        const CXMLNodeList nodes = file.SelectNodes("//Explosions/Explosion");
        for (int i = 0; i < nodes.GetLength() && i < 16; ++i)
            fuzz::Tolerating([&] { manager.StartExplosion(nodes.GetItem(i).GetAttribute("alias", ""), 50.5f, 60.5f); });
    });
    for (int frame = 0; frame < 4; ++frame) {
        now += 16;
        manager.Update();
    }
    return 0;
}
