#pragma once
// Shared by the GUI tests: the real engine core (started once per process on
// SDL's dummy video driver) with a sound keeper that records what it is asked
// to load and play, input injected through the core's window and mouse, frames
// run through the core, and an event sink that writes down every event.
#include <gtest/gtest.h>
#include <png.h>

#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/data_test_support.h"
#include "engine/engine_core.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "graphics/font_keeper.h"
#include "gui/base_control.h"
#include "gui/control_kinds.h"
#include "gui/event_holder.h"
#include "gui/menu_button.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

namespace gui_test {

// An opaque white PNG.
inline void WriteWhitePng(const std::string& path, int w, int h) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4, 0xFF);
    png_image image {};
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(w);
    image.height = static_cast<png_uint_32>(h);
    image.format = PNG_FORMAT_RGBA;
    png_image_write_to_file(&image, path.c_str(), 0, pixels.data(), 0, nullptr);
}


// Remembers sample loads and plays; everything else is silent.
class RecordingSoundKeeper : public ISoundKeeper {
public:
    std::vector<std::string> loaded, played;
    std::vector<std::pair<int, int>> volume_sets;  // (music, samples) as set

    bool LoadSample(const std::string& name) override {
        loaded.push_back(name);
        return true;
    }
    bool FreeSample(const std::string&) override { return true; }
    uint32_t PlaySample(const std::string& name) override {
        played.push_back(name);
        return 1;
    }
    bool LoadMusic(const std::string&, const CMusicDesc&) override { return true; }
    bool FreeMusic(const std::string&) override { return true; }
    uint32_t PlayMusic(const std::string&, int) override { return 0; }
    bool StopMusic(const std::string&, int) override { return true; }
    bool SetMusicChannelVolume(const std::string&, int, int) override { return true; }
    int GetMusicChannelVolume(const std::string&, int) override { return 0; }
    int GetMusicTrackCount(const std::string&) override { return 0; }
    bool SetVolumes(int music, int samples) override {
        volume_sets.emplace_back(music, samples);
        return true;
    }
    bool GetVolumes(int*, int*) override { return true; }
    bool ResumeAll() override { return true; }
    bool PauseAll() override { return true; }
    void FreeAll() override {}
    bool GetChannelLevel(uint32_t, int*, int*) override { return false; }
    int GetChannelVolume(uint32_t) override { return 0; }
    bool SetChannelVolume(uint32_t, int) override { return false; }
    int GetChannelState(uint32_t) override { return 0; }
    void SetChannelPan(uint32_t, int) override {}
    void SetChannelPitch(uint32_t, float) override {}
    void PauseChannel(uint32_t) override {}
    void PlayChannel(uint32_t) override {}
    bool StopChannel(uint32_t) override { return false; }
    bool IsChannelPlaying(uint32_t) override { return false; }
    float GetChannelLength(uint32_t) override { return 0; }
    float GetChannelPosition(uint32_t) override { return 0; }
    void SetChannelPosition(uint32_t, float) override {}
    void SlideChannel(uint32_t, float, int, int, float) override {}
    bool IsChannelSliding(uint32_t) override { return false; }
};

// Writes every event down as "<event> <control id>" (with the argument where there is one).
class EventLog : public CEventHolder {
public:
    std::vector<std::string> events;
    uint32_t replace_key = 0;  // non-zero: OnEditKey hands this key back

    void OnMouseEnter(CBaseControl* c) override { Add("enter", c); }
    void OnMouseLeave(CBaseControl* c) override { Add("leave", c); }
    void OnClick(CBaseControl* c) override { Add("click", c); }
    void OnMouseDown(CBaseControl* c) override { Add("down", c); }
    void OnMouseUp(CBaseControl* c) override { Add("up", c); }
    void OnEditKey(CBaseControl* c, uint32_t* key) override {
        Add("key " + std::to_string(*key), c);
        if (replace_key) *key = replace_key;
    }
    void OnEditChar(CBaseControl* c, char ch) override { Add(std::string("char ") + ch, c); }
    void OnCustomDraw(CBaseControl* c, int row, int x, int y, const std::string& text, CStaticText*) override {
        Add("draw " + std::to_string(row) + " " + std::to_string(x) + "," + std::to_string(y) + " " + text, c);
    }
    void Clear() { events.clear(); }

private:
    void Add(const std::string& what, CBaseControl* c) { events.push_back(what + " " + (c ? c->GetId() : "?")); }
};

// Input injected through the engine core's window and whole frames through
// the core: for the fixtures that drive dialogs frame by frame.
struct CoreDriver {
    static plat::Window* window() { return CEngineCore::Instance().GetHWND(); }
    static void MoveTo(int x, int y) { CEngineCore::Instance().GetMouse()->SetPosition(x, y, 0); }
    static void Button(bool down) { window()->InjectMouseButton(0, down); }
    static void Key(int vk, bool down) {
        window()->InjectKey(vk, down);
        Drain();
    }
    static void Drain() {
        plat::Message m;
        while (window()->PeekMessage(&m)) {}
    }
    // One frame: input polled, the screen cleared, `draw` run, the frame shown.
    static void Frame(const std::function<void()>& draw = {}, uint32_t clear = 0xFF000000) {
        CEngineCore& core = CEngineCore::Instance();
        core.BeginFrame();
        core.Clear(clear);
        if (draw) draw();
        core.EndFrame();
    }
    // The frame last shown, its width into `width`.
    static std::vector<uint32_t> ReadFrame(uint32_t* width) {
        std::vector<uint32_t> pixels;
        uint32_t h = 0;
        CEngineCore::Instance().GetGraphicsDevice()->GetDevice()->ReadBackBuffer(&pixels, width, &h);
        return pixels;
    }
};

class GuiTest : public data_test::ScratchTest, public CoreDriver {
protected:
    void SetUp() override {
        ScratchTest::SetUp();
        static const bool started = CEngineCore::Instance().Init(true);
        ASSERT_TRUE(started);
        static RecordingSoundKeeper* keeper = [] {
            auto k = std::make_unique<RecordingSoundKeeper>();
            RecordingSoundKeeper* raw = k.get();
            CEngineCore::Instance().SetSoundKeeper(std::move(k));
            return raw;
        }();
        sounds = keeper;
        UseDataTree();
        static const bool language = [] {
            CFontKeeper::Instance().SelectLanguage(0);
            return true;
        }();
        (void)language;
        LoadControlKinds();
        CMenuButton::LoadButtonKinds();
        ReleaseAll();
        sounds->loaded.clear();
        sounds->played.clear();
        log_mark_ = data_test::ReadLog().size();
    }
    void TearDown() override {
        ReleaseAll();
        ScratchTest::TearDown();
    }

    static CEngineCore& core() { return CEngineCore::Instance(); }

    // The shipped data tree is the current directory (the default).
    void UseDataTree() { std::filesystem::current_path(VOVARO_DATA_DIR); }
    // The test's own empty folder.
    void UseScratch() { std::filesystem::current_path(dir_); }

    static void ReleaseAll() {
        Button(false);
        for (int vk : {plat::VK_RETURN, plat::VK_BACK, int('A'), int('B'), int('C'), int('7'), plat::VK_SPACE}) window()->InjectKey(vk, false);
        Drain();
        MoveTo(0, 0);
        Frame();
        Frame();
    }

    // A node of an XML text that the test keeps alive.
    CXMLNode Node(const std::string& xml, const std::string& path) {
        docs_.push_back(std::make_unique<CXMLFile>());
        docs_.back()->Parse(xml);
        return docs_.back()->SelectSingleNode(path);
    }

    std::vector<uint32_t> ReadBack() { return ReadFrame(&width_); }
    uint32_t At(const std::vector<uint32_t>& px, int x, int y) const {
        return px[static_cast<size_t>(y) * width_ + static_cast<size_t>(x)];
    }

    RecordingSoundKeeper* sounds = nullptr;
    EventLog events;
    uint32_t width_ = 800;

private:
    std::vector<std::unique_ptr<CXMLFile>> docs_;
};

}  // namespace gui_test
