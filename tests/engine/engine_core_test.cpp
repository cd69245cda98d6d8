#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <utility>

#include "engine/base_app.h"
#include "engine/engine_core.h"
#include "engine/logger.h"
#include "platform/virtual_keys.h"
#include "test_user_folder.h"

namespace fs = std::filesystem;
using namespace plat;

namespace {

// The engine core is one per process: it is initialised once (windowed, on
// SDL's dummy video driver) for every test of this file.
class EngineCoreTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        UseTestUserFolder();
        static bool ok = CEngineCore::Instance().Init(true);
        ASSERT_TRUE(ok);
    }
    void SetUp() override {
        UseTestUserFolder();
        for (const auto& e : fs::directory_iterator(UserFolderPath("all")))
            if (e.path().extension() == ".tga") fs::remove(e.path());
        core().GetGraphicsDevice()->ApplyGammaRamp(0);
        ReleaseAllKeys();
    }
    void TearDown() override { ReleaseAllKeys(); }

    static CEngineCore& core() { return CEngineCore::Instance(); }
    static Window* window() { return core().GetHWND(); }

    static void Drain() {
        Message m;
        while (window()->PeekMessage(&m)) {}
    }
    static void ReleaseAllKeys() {
        for (int vk : {VK_SNAPSHOT, VK_RETURN, VK_LMENU}) window()->InjectKey(vk, false);
        Drain();
        Frame();  // the keyboard sees them up
    }
    static bool Frame(uint32_t clear = 0xFF000000) {
        core().BeginFrame();
        core().Clear(clear);
        return core().EndFrame();
    }
    static int CountScreenshots() {
        int n = 0;
        for (const auto& e : fs::directory_iterator(UserFolderPath("all"))) n += e.path().extension() == ".tga";
        return n;
    }
    static std::string ReadLog() {
        std::ifstream in(UserFolderPath("all") + "log.html");
        std::stringstream ss;
        ss << in.rdbuf();
        return ss.str();
    }
    static uint32_t BackPixel(int x, int y) {
        std::vector<uint32_t> px;
        uint32_t w = 0, h = 0;
        core().GetGraphicsDevice()->GetDevice()->ReadBackBuffer(&px, &w, &h);
        return px[y * w + x];
    }

    // n sprite quads of 2x2 pixels side by side from (x, y), corners at -0.5.
    std::unique_ptr<VertexBuffer> MakeQuads(unsigned n, float x, float y, uint32_t color) {
        std::unique_ptr<VertexBuffer> vb;
        EXPECT_EQ(core().GetGraphicsDevice()->GetDevice()->CreateVertexBuffer(n * 4 * sizeof(Vertex), &vb), kOk);
        void* p = nullptr;
        vb->Lock(0, 0, &p);
        auto* v = static_cast<Vertex*>(p);
        for (unsigned k = 0; k < n; ++k) {
            float l = x + 4.0f * k - 0.5f, t = y - 0.5f;
            v[4 * k + 0] = {l, t, 0, color, 0, 0};
            v[4 * k + 1] = {l + 2, t, 0, color, 1, 0};
            v[4 * k + 2] = {l, t + 2, 0, color, 0, 1};
            v[4 * k + 3] = {l + 2, t + 2, 0, color, 1, 1};
        }
        vb->Unlock();
        return vb;
    }
};

int g_calls_before = 0, g_calls_after = 0, g_calls_toggled = 0;
std::string g_order;
void Before() { ++g_calls_before; g_order += "0"; }
void After() { ++g_calls_after; g_order += "1"; }
void Toggled() { ++g_calls_toggled; g_order += "2"; }

TEST_F(EngineCoreTest, GlobalPointerAndScreen) {
    EXPECT_EQ(g_EngineCore, static_cast<IEngineCore*>(&core()));
    EXPECT_EQ(core().GetScreenWidth(), 800);
    EXPECT_EQ(core().GetScreenHeight(), 600);
    EXPECT_FALSE(core().IsFullscreen());
    EXPECT_NE(window(), nullptr);
    // Start-up reports: adapter, device and input, in order.
    const std::string log = ReadLog();
    size_t pos = 0;
    for (const char* line : {"<B>D3D Info</B>", "Video Adapter : ", "Driver : ", "Version : ",
                             "Max Texture Width = ", "D3DDevice initialization.", "<B>D3DDevice Info</B>",
                             "Available Texture Memory : ", "DirectInput initialization."}) {
        size_t at = log.find(line, pos);
        EXPECT_NE(at, std::string::npos) << line;
        if (at != std::string::npos) pos = at;
    }
}

TEST_F(EngineCoreTest, DrawQuadsSharesOneIndexBufferThatOnlyGrows) {
    core().ResetFrameStats();
    core().BeginFrame();
    core().Clear(0xFF000000);
    core().GetGraphicsDevice()->GetDevice()->SetTexture(0, nullptr);
    auto two = MakeQuads(2, 10, 10, 0xFFFF0000);
    core().DrawQuads(two.get(), 2, sizeof(Vertex));
    EXPECT_EQ(core().GetQuadCapacity(), 2u);
    auto one = MakeQuads(1, 10, 20, 0xFF00FF00);
    core().DrawQuads(one.get(), 1, sizeof(Vertex));
    EXPECT_EQ(core().GetQuadCapacity(), 2u) << "never rebuilt for a smaller batch";
    auto three = MakeQuads(3, 10, 30, 0xFF0000FF);
    core().DrawQuads(three.get(), 3, sizeof(Vertex));
    EXPECT_EQ(core().GetQuadCapacity(), 3u);
    EXPECT_EQ(core().GetDrawCalls(), 3u);
    EXPECT_EQ(core().GetQuads(), 6u);
    // Every quad covers its own 2x2 pixels.
    for (int k = 0; k < 2; ++k) EXPECT_EQ(BackPixel(10 + 4 * k + 1, 11), 0xFFFF0000u);
    EXPECT_EQ(BackPixel(12, 10), 0xFF000000u);
    EXPECT_EQ(BackPixel(11, 21), 0xFF00FF00u);
    for (int k = 0; k < 3; ++k) EXPECT_EQ(BackPixel(10 + 4 * k, 30), 0xFF0000FFu);
    core().EndFrame();
    core().ResetFrameStats();
    EXPECT_EQ(core().GetDrawCalls(), 0u);
    EXPECT_EQ(core().GetQuads(), 0u);
}

TEST_F(EngineCoreTest, LostDeviceIsResetInBeginFrameAndTheIndexBufferBoundAgain) {
    auto big = MakeQuads(4, 0, 0, 0xFFFFFFFF);
    Frame();
    core().BeginFrame();
    core().DrawQuads(big.get(), 4, sizeof(Vertex));
    core().EndFrame();
    const unsigned capacity = core().GetQuadCapacity();

    g_order.clear();
    core().SetCallback(0, Before);
    core().SetCallback(1, After);
    core().GetGraphicsDevice()->GetDevice()->LoseDevice();
    ASSERT_TRUE(core().BeginFrame());
    EXPECT_EQ(g_order, "01");
    std::string log = ReadLog();
    EXPECT_NE(log.find("*********   Device lost... *************"), std::string::npos);
    EXPECT_NE(log.find("********* Device restored *************"), std::string::npos);
    // The reset unbound the indices; a smaller batch binds them again without a rebuild.
    core().Clear(0xFF000000);
    core().GetGraphicsDevice()->GetDevice()->SetTexture(0, nullptr);
    auto small = MakeQuads(1, 100, 100, 0xFF00FF00);
    core().DrawQuads(small.get(), 1, sizeof(Vertex));
    EXPECT_EQ(core().GetQuadCapacity(), capacity);
    EXPECT_EQ(BackPixel(100, 100), 0xFF00FF00u);
    core().EndFrame();
    core().SetCallback(0, nullptr);
    core().SetCallback(1, nullptr);
}

TEST_F(EngineCoreTest, SetCallbackReturnsThePreviousFunction) {
    EXPECT_EQ(core().SetCallback(5, Before), nullptr);
    EXPECT_EQ(core().SetCallback(5, After), &Before);
    EXPECT_EQ(core().SetCallback(5, nullptr), &After);
}

TEST_F(EngineCoreTest, PrintScreenSavesTheFinishedFrameOncePerPress) {
    window()->InjectKey(VK_SNAPSHOT, true);
    Drain();
    Frame(0xFF336699);
    Frame(0xFF336699);
    Frame(0xFF336699);
    EXPECT_EQ(CountScreenshots(), 1) << "a held key takes one screenshot";
    window()->InjectKey(VK_SNAPSHOT, false);
    Frame();
    // A tap between two frames still counts.
    window()->InjectKey(VK_SNAPSHOT, true);
    window()->InjectKey(VK_SNAPSHOT, false);
    Frame();
    Frame();
    EXPECT_EQ(CountScreenshots(), 2);
    // The first file holds the frame as drawn (no gamma), bottom row first.
    std::ifstream in(UserFolderPath("all") + "00000000.tga", std::ios::binary);
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    ASSERT_EQ(bytes.size(), 18u + 800u * 600u * 4u);
    EXPECT_EQ(bytes[16], 32);
    EXPECT_EQ(bytes[17], 0) << "a 32-bit back buffer without alpha says 0 alpha bits";
    EXPECT_EQ(bytes[18], 0x99);
    EXPECT_EQ(bytes[19], 0x66);
    EXPECT_EQ(bytes[20], 0x33);
    EXPECT_TRUE(fs::exists(UserFolderPath("all") + "00000001.tga"));
}

TEST_F(EngineCoreTest, AltEnterTogglesOncePerPress) {
    g_order.clear();
    g_calls_toggled = 0;
    core().SetCallback(2, Toggled);
    const bool was_fullscreen = core().IsFullscreen();
    window()->InjectKey(VK_LMENU, true);
    window()->InjectKey(VK_RETURN, true);
    Drain();
    Frame();
    EXPECT_NE(core().IsFullscreen(), was_fullscreen);
    Frame();
    Frame();
    EXPECT_NE(core().IsFullscreen(), was_fullscreen) << "a held pair toggles once";
    EXPECT_EQ(g_calls_toggled, 1);
    EXPECT_NE(ReadLog().find("Toggling to fullscreen mode..."), std::string::npos);
    // Enter pressed again while Alt stays held: another toggle; a tap of the pair
    // between frames: one more.
    window()->InjectKey(VK_RETURN, false);
    window()->InjectKey(VK_RETURN, true);
    Frame();
    EXPECT_EQ(core().IsFullscreen(), was_fullscreen);
    window()->InjectKey(VK_RETURN, false);
    window()->InjectKey(VK_LMENU, false);
    window()->InjectKey(VK_LMENU, true);
    window()->InjectKey(VK_RETURN, true);
    window()->InjectKey(VK_RETURN, false);
    window()->InjectKey(VK_LMENU, false);
    Drain();
    Frame();
    Frame();
    EXPECT_NE(core().IsFullscreen(), was_fullscreen);
    EXPECT_EQ(g_calls_toggled, 3);
    // Enter alone does nothing.
    window()->InjectKey(VK_RETURN, true);
    Frame();
    EXPECT_EQ(g_calls_toggled, 3);
    // Back to windowed for the other tests.
    EXPECT_TRUE(core().ToggleFullscreen());
    EXPECT_EQ(core().IsFullscreen(), was_fullscreen);
    EXPECT_EQ(g_calls_toggled, 4);
    core().SetCallback(2, nullptr);
    // Frames still draw after the toggles.
    EXPECT_TRUE(Frame(0xFF123456));
    EXPECT_EQ(BackPixel(5, 5), 0xFF123456u);
}

// A display that cannot take full screen: the toggle fails, the device and the
// window stay windowed, and the window-mode callback (which saves the
// "windowed" setting) is not called.
TEST_F(EngineCoreTest, AFailedSwitchKeepsTheWindowMode) {
    g_calls_toggled = 0;
    core().SetCallback(2, Toggled);
    ASSERT_FALSE(core().IsFullscreen());
    window()->RefuseModeSwitches(true);
    EXPECT_FALSE(core().ToggleFullscreen());
    window()->RefuseModeSwitches(false);
    core().SetCallback(2, nullptr);
    EXPECT_FALSE(core().IsFullscreen());
    EXPECT_FALSE(window()->IsFullscreen());
    EXPECT_TRUE(core().GetGraphicsDevice()->GetDevice()->IsWindowed());
    EXPECT_EQ(g_calls_toggled, 0);
    EXPECT_NE(ReadLog().find("Error: Failed to switch to fullscreen mode! Error code: 0x8876086A"), std::string::npos);
    EXPECT_TRUE(Frame(0xFF123456));
    EXPECT_EQ(BackPixel(5, 5), 0xFF123456u);
}

TEST_F(EngineCoreTest, ToggleInsideAFrameEndsAndReopensIt) {
    core().BeginFrame();
    ASSERT_TRUE(core().IsInFrame());
    const unsigned frames = core().GetFrameCount();
    core().ToggleFullscreen();
    EXPECT_TRUE(core().IsInFrame());
    EXPECT_EQ(core().GetFrameCount(), frames + 1);
    core().EndFrame();
    core().ToggleFullscreen();  // outside a frame: neither ends nor opens one
    EXPECT_FALSE(core().IsInFrame());
    EXPECT_EQ(core().GetFrameCount(), frames + 2);
    EXPECT_FALSE(core().IsFullscreen());
}

TEST_F(EngineCoreTest, GammaLiftsTheShownFrameAndFollowsActivation) {
    auto shown = [] {
        std::vector<uint32_t> px;
        uint32_t w = 0, h = 0;
        core().GetGraphicsDevice()->GetDevice()->ReadPresentedFrame(&px, &w, &h);
        return px[0];
    };
    core().SetGamma(3);
    Frame(0xFF1020F0);
    EXPECT_EQ(shown(), 0xFF2E3EFFu) << "each channel lifted by 30, saturating";
    core().OnActivate(false);
    Frame(0xFF1020F0);
    EXPECT_EQ(shown(), 0xFF1020F0u) << "inactive: the saved ramp";
    EXPECT_EQ(core().GetGraphicsDevice()->GetGammaLevel(), 3);
    core().OnActivate(true);
    Frame(0xFF1020F0);
    EXPECT_EQ(shown(), 0xFF2E3EFFu);
    core().SetGamma(0);
}

TEST_F(EngineCoreTest, WindowProcedurePostsActivationAndHidesTheSystemCursor) {
    CGraphicsDevice& gd = *core().GetGraphicsDevice();
    Window& w = *window();
    Drain();
    Message m;
    // Activated while minimized: no message at all.
    gd.MainWndProc(w, Message {WM_ACTIVATE, WA_ACTIVE | 0x10000u, 0});
    EXPECT_FALSE(w.PeekMessage(&m));
    gd.MainWndProc(w, Message {WM_ACTIVATE, WA_CLICKACTIVE, 0});
    ASSERT_TRUE(w.PeekMessage(&m));
    EXPECT_EQ(m.message, CGraphicsDevice::kActivateMessage);
    EXPECT_EQ(m.wParam, 1u);
    gd.MainWndProc(w, Message {WM_SETCURSOR, 0, HTCLIENT});
    EXPECT_TRUE(w.IsSystemCursorShown()) << "no drawing cursor keeper yet: the pointer stays visible";
    CHotSpotCursor drawing_keeper;
    core().SetCursorKeeper(&drawing_keeper);
    gd.MainWndProc(w, Message {WM_SETCURSOR, 0, HTCLIENT});
    EXPECT_FALSE(w.IsSystemCursorShown()) << "the game draws its own cursor over the client area";
    gd.MainWndProc(w, Message {WM_SETCURSOR, 0, 2});
    EXPECT_TRUE(w.IsSystemCursorShown());
    gd.MainWndProc(w, Message {WM_ACTIVATE, WA_INACTIVE, 0});
    ASSERT_TRUE(w.PeekMessage(&m));
    EXPECT_EQ(m.wParam, 0u);
    gd.MainWndProc(w, Message {WM_SETCURSOR, 0, HTCLIENT});
    EXPECT_TRUE(w.IsSystemCursorShown()) << "inactive: the system cursor shows";
    core().SetCursorKeeper(nullptr);
    gd.MainWndProc(w, Message {WM_DESTROY, 0, 0});
    ASSERT_TRUE(w.PeekMessage(&m));
    EXPECT_EQ(m.message, WM_QUIT);
}

TEST_F(EngineCoreTest, WorldTransformTranslatesThenRotatesUntilTheStatesAreSetUpAgain) {
    auto quad = MakeQuads(1, 10, 0, 0xFF00FF00);
    core().BeginFrame();
    core().Clear(0xFF000000);
    core().GetGraphicsDevice()->GetDevice()->SetTexture(0, nullptr);
    // (x, y) + (100, 50), turned by 90 degrees about the origin, which now lies at
    // the screen's centre: the quad at (10..11, 0..1) lands on (349..350, 410..411).
    core().SetWorldTransform(90, 100, 50);
    core().DrawQuads(quad.get(), 1, sizeof(Vertex));
    for (auto [x, y] : {std::pair {349, 410}, {350, 410}, {349, 411}, {350, 411}}) EXPECT_EQ(BackPixel(x, y), 0xFF00FF00u);
    EXPECT_EQ(BackPixel(348, 410), 0xFF000000u);
    EXPECT_EQ(BackPixel(351, 411), 0xFF000000u);
    EXPECT_EQ(BackPixel(350, 412), 0xFF000000u);
    EXPECT_EQ(BackPixel(10, 0), 0xFF000000u);
    core().GetGraphicsDevice()->SetupRenderStates();
    core().DrawQuads(quad.get(), 1, sizeof(Vertex));
    EXPECT_EQ(BackPixel(11, 1), 0xFF00FF00u);
    core().EndFrame();
}

TEST_F(EngineCoreTest, ClearKeepsTheStoredClearColour) {
    core().GetGraphicsDevice()->SetClearColor(0xFF000010);
    core().BeginFrame();
    core().Clear(0xFF808080);
    EXPECT_EQ(BackPixel(0, 0), 0xFF808080u);
    EXPECT_EQ(core().GetGraphicsDevice()->GetClearColor(), 0xFF000010u);
    core().EndFrame();
    core().GetGraphicsDevice()->SetClearColor(0xFF000000);
}

// The window's picture as the display holds it.
std::vector<uint32_t> WindowPicture(Window& w) {
    SDL_Surface* surface = SDL_GetWindowSurface(w.Native());
    std::vector<uint32_t> pixels;
    if (!surface) return pixels;
    for (int y = 0; y < surface->h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
        pixels.insert(pixels.end(), row, row + surface->w);
    }
    return pixels;
}

// An application that only counts its updates.
class CountingApp : public ABaseApp {
public:
    int updates = 0;
    void Render() override {}
    bool Update() override { return ++updates < 1000; }
    void OnKeyDown(uint16_t) override {}
    void Init() override {}
    void Exit() override {}
};

// Another window moved over the inactive game and away: the loop, waiting for
// messages, shows the last frame again without running a frame.
TEST_F(EngineCoreTest, AnUncoveredInactiveWindowShowsItsLastFrameAgain) {
    Frame(0xFF3366AA);
    const std::vector<uint32_t> shown = WindowPicture(*window());
    ASSERT_FALSE(shown.empty());
    CountingApp app;
    app.SetEngineCore(&core());
    app.OnActivate(false);
    const unsigned frames = core().GetFrameCount();

    SDL_Surface* surface = SDL_GetWindowSurface(window()->Native());
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 255, 0, 255));  // the other window's picture
    SDL_Event e {};
    e.type = SDL_WINDOWEVENT;
    e.window.windowID = SDL_GetWindowID(window()->Native());
    e.window.event = SDL_WINDOWEVENT_EXPOSED;
    SDL_PushEvent(&e);
    SDL_Event quit {};
    quit.type = SDL_QUIT;
    SDL_PushEvent(&quit);
    app.Run();
    core().OnActivate(true);

    EXPECT_EQ(app.updates, 0);
    EXPECT_EQ(core().GetFrameCount(), frames);
    EXPECT_TRUE(WindowPicture(*window()) == shown) << "the frame is shown again";
}

}  // namespace
