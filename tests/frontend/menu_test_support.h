#pragma once
// Shared by the tests of the menu's dialogs, the splash screens and the
// game-complete panel: a real profile store and the player's settings in a
// temporary folder (as the profile tests make them), the shipped data tree as
// the current directory, the engine core started once per process with a
// sound keeper that records what it is asked, input injected through the
// core's window and frames run through the core.
#include <gtest/gtest.h>
#include <png.h>

#include "shot_png.h"

#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/data_test_support.h"
#include "engine/engine_core.h"
#include "engine/xml_file.h"
#include "graphics/font_keeper.h"
#include "gui/base_dialog.h"
#include "gui/control_kinds.h"
#include "gui/gui_test_support.h"
#include "gui/menu_button.h"
#include "gui/menu_track_bar.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "profiles/difficulty_table.h"
#include "profiles/game_settings.h"
#include "profiles/profile_fixture.h"
#include "profiles/user_profiles.h"

namespace menu_test {

// Records samples like the GUI tests' keeper, and the volumes set.
class MenuSoundKeeper : public gui_test::RecordingSoundKeeper {
public:
    std::vector<std::pair<int, int>> volume_sets;  // (music, samples)

    bool SetVolumes(int music, int samples) override {
        volume_sets.emplace_back(music, samples);
        return true;
    }
    std::pair<int, int> LastVolumes() const { return volume_sets.empty() ? std::pair(-1, -1) : volume_sets.back(); }
};

class MenuTest : public ::testing::Test, public gui_test::CoreDriver {
protected:
    void SetUp() override {
        folder_ = std::make_unique<ProfileFixture>();
        store.OpenProfiles();
        std::filesystem::current_path(VOVARO_DATA_DIR);
        CGameSettings::Instance().Invalidate();
        static const bool started = CEngineCore::Instance().Init(true);
        ASSERT_TRUE(started);
        auto keeper = std::make_unique<MenuSoundKeeper>();
        sounds = keeper.get();
        core().SetSoundKeeper(std::move(keeper));
        static const bool ready = [] {
            g_DifficultyTable->LoadDifficulty();
            LoadControlKinds();
            CMenuButton::LoadButtonKinds();
            CMenuTrackBar::LoadTrackBarKinds();
            return true;
        }();
        (void)ready;
        SelectLanguage(0);
        core().SetGamma(0);
        ReleaseInput();
        log_mark_ = data_test::ReadLog().size();
    }
    void TearDown() override {
        SelectLanguage(0);
        core().SetGamma(0);
        CGameSettings::Instance().Invalidate();
        docs_.clear();
        folder_.reset();
    }

    static CEngineCore& core() { return CEngineCore::Instance(); }
    static void SelectLanguage(int index) {
        if (CFontKeeper::Instance().GetSelectedLanguage() != index) CFontKeeper::Instance().SelectLanguage(index);
    }

    // The node of the shipped "Settings\Dialogs.xml".
    CXMLNode DialogNode(const std::string& name) {
        docs_.push_back(std::make_unique<CXMLFile>("Settings\\Dialogs.xml"));
        return docs_.back()->SelectSingleNode("//Dialogs/" + name);
    }
    // A node of an XML text that the test keeps alive.
    CXMLNode Node(const std::string& xml, const std::string& path) {
        docs_.push_back(std::make_unique<CXMLFile>());
        docs_.back()->Parse(xml);
        return docs_.back()->SelectSingleNode(path);
    }
    template <typename T>
    static T* Control(const CBaseDialog& d, const std::string& id) {
        return dynamic_cast<T*>(d.FindControl(id));
    }
    static void Click(CBaseDialog& d, const std::string& id) { d.OnClick(d.FindControl(id)); }

    // The settings file of the temporary user folder.
    std::filesystem::path ConfigPath() const { return folder_->User() / "Config.xml"; }
    // What the log received since the test began.
    std::string NewLog() const { return data_test::ReadLog().substr(log_mark_); }

    // A key pressed in one frame and released in the next, the dialog drawn in both.
    static void Type(CBaseDialog& d, int vk) {
        Key(vk, true);
        Frame([&] { d.Draw(false); });
        Key(vk, false);
        Frame([&] { d.Draw(false); });
    }
    static void ReleaseInput() {
        window()->InjectMouseButton(0, false);
        for (int vk : {plat::VK_RETURN, plat::VK_ESCAPE, plat::VK_MENU}) window()->InjectKey(vk, false);
        Drain();
        Frame();
        Frame();
    }

    std::vector<uint32_t> ReadBack() {
        std::vector<uint32_t> pixels;
        uint32_t h = 0;
        core().GetGraphicsDevice()->GetDevice()->ReadBackBuffer(&pixels, &width_, &h);
        return pixels;
    }
    uint32_t At(const std::vector<uint32_t>& px, int x, int y) const {
        return px[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)];
    }
    // Saved into the shots folder "menu" for a person to look at.
    static void SavePng(const std::vector<uint32_t>& px, const std::string& name) {
        test_shots::SaveFramePng(px, 800, 600, test_shots::ShotsDir("menu") / name);
    }

    CUserProfiles store;
    MenuSoundKeeper* sounds = nullptr;
    uint32_t width_ = 800;

private:
    std::unique_ptr<ProfileFixture> folder_;
    std::vector<std::unique_ptr<CXMLFile>> docs_;
    size_t log_mark_ = 0;
};

}  // namespace menu_test
