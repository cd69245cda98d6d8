#pragma once
// Shared by the tests of the heads-up panel, the rings, the life indicator
// and the backgrounds: the game tests' core fixture with XML nodes from
// strings, scratch textures, frames drawn through the core and PNG snapshots.
#include <gtest/gtest.h>
#include <png.h>

#include "shot_png.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "game_test_support.h"
#include "graphics/font_keeper.h"
#include "gui/control_kinds.h"
#include "graphics/graphics_test_support.h"

namespace hud_test {

class HudTest : public game_test::GameTest {
protected:
    void SetUp() override {
        GameTest::SetUp();
        if (HasFatalFailure()) return;
        // The game's fonts and control kinds, read once from the data tree.
        static const bool ready = [] {
            CFontKeeper::Instance().SelectLanguage(0);
            LoadControlKinds();
            return true;
        }();
        (void)ready;
        // The fonts stay loaded for the whole run: count from here.
        textures_before_ = CTextureManager::Instance().GetCount();
    }

    // The test's own folder as the current directory (the fixture starts in the data tree).
    void UseScratch() { std::filesystem::current_path(dir_); }

    // A node of an XML text that the test keeps alive.
    CXMLNode Node(const std::string& xml, const std::string& path) {
        docs_.push_back(std::make_unique<CXMLFile>());
        docs_.back()->Parse(xml);
        return docs_.back()->SelectSingleNode(path);
    }
    // An opaque one-colour texture in the scratch folder; returns its game name.
    std::string SolidTexture(const std::string& base, int w, int h, uint32_t argb = 0xFFFFFFFF) {
        return TextureFile(base, gfx_test::SolidTga(static_cast<uint16_t>(w), static_cast<uint16_t>(h), argb));
    }

    // One frame through the core: input polled, cleared, `draw` run, shown.
    void Frame(const std::function<void()>& draw, uint32_t clear = 0xFF000000) {
        core().BeginFrame();
        core().Clear(clear);
        if (draw) draw();
        core().EndFrame();
    }
    std::vector<uint32_t> FramePixels() {
        std::vector<uint32_t> pixels;
        uint32_t w = 0, h = 0;
        core().GetGraphicsDevice()->GetDevice()->ReadBackBuffer(&pixels, &w, &h);
        width_ = w;
        return pixels;
    }
    // Saved into the shots folder "hud" for a person to look at.
    static void SavePng(const std::vector<uint32_t>& px, const std::string& name) {
        test_shots::SaveFramePng(px, 800, 600, test_shots::ShotsDir("hud") / name);
    }

private:
    std::vector<std::unique_ptr<CXMLFile>> docs_;
};

}  // namespace hud_test
