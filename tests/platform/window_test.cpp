#include <gtest/gtest.h>

#include <SDL.h>

#include <utility>
#include <vector>

#include "platform/screen_fit.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"

using namespace plat;

namespace {

class WindowTest : public ::testing::Test {
protected:
    void SetUp() override {
        window = Window::Create("window", 800, 600, false);
        ASSERT_TRUE(window);
        window->SetWindowProc([this](Window&, const Message& m) {
            sent.push_back(m);
            return intptr_t {0};
        });
        Message m;
        while (window->PeekMessage(&m)) {}
        sent.clear();
    }

    // A key event; `sym` is the key's symbol in the active layout (unknown by default).
    void PushKey(SDL_Scancode sc, bool down, bool repeat = false, SDL_Keycode sym = SDLK_UNKNOWN) {
        SDL_Event e {};
        e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
        e.key.repeat = repeat ? 1 : 0;
        e.key.keysym.scancode = sc;
        e.key.keysym.sym = sym;
        SDL_PushEvent(&e);
    }

    std::vector<Message> Messages() {
        std::vector<Message> out;
        Message m;
        while (window->PeekMessage(&m)) out.push_back(m);
        return out;
    }

    std::unique_ptr<Window> window;
    std::vector<Message> sent;
};

TEST_F(WindowTest, KeysBecomeKeyDownWithVirtualKeyCodesAndRepeats) {
    PushKey(SDL_SCANCODE_A, true);
    PushKey(SDL_SCANCODE_A, true, true);
    PushKey(SDL_SCANCODE_A, false);
    PushKey(SDL_SCANCODE_F5, true);
    PushKey(SDL_SCANCODE_LSHIFT, true);
    PushKey(SDL_SCANCODE_PRINTSCREEN, true);
    auto msgs = Messages();
    ASSERT_EQ(msgs.size(), 6u);
    EXPECT_EQ(msgs[0].message, WM_KEYDOWN);
    EXPECT_EQ(msgs[0].wParam, 'A');
    EXPECT_EQ(msgs[0].lParam & (1 << 30), 0);
    EXPECT_EQ(msgs[1].message, WM_KEYDOWN) << "an auto-repeat is another key-down";
    EXPECT_NE(msgs[1].lParam & (1 << 30), 0);
    EXPECT_EQ(msgs[2].message, WM_KEYUP);
    EXPECT_EQ(msgs[3].wParam, static_cast<uintptr_t>(VK_F1 + 4));
    EXPECT_EQ(msgs[4].wParam, static_cast<uintptr_t>(VK_SHIFT)) << "messages carry the generic modifier code";
    EXPECT_TRUE(window->IsKeyDown(VK_LSHIFT));
    EXPECT_TRUE(window->IsKeyDown(VK_SHIFT));
    EXPECT_FALSE(window->IsKeyDown(VK_RSHIFT));
    EXPECT_EQ(msgs[5].wParam, static_cast<uintptr_t>(VK_SNAPSHOT));
}

// Letters and digits are what the layout prints on the key (German: Z and Y
// swapped; French: M beside L, digits shifted); other keys keep their place.
TEST_F(WindowTest, LettersAndDigitsFollowTheKeyboardLayout) {
    struct Case {
        SDL_Scancode scancode;
        SDL_Keycode sym;
        int vk;
    };
    const Case cases[] = {
        {SDL_SCANCODE_Y, SDLK_z, 'Z'},
        {SDL_SCANCODE_Z, SDLK_y, 'Y'},
        {SDL_SCANCODE_SEMICOLON, SDLK_m, 'M'},
        {SDL_SCANCODE_1, SDLK_AMPERSAND, '1'},           // a digit key whose symbol is no digit
        {SDL_SCANCODE_LEFTBRACKET, 0xFC, VK_OEM_4},      // a letter outside A-Z stays on its place
        {SDL_SCANCODE_KP_1, SDLK_KP_1, VK_NUMPAD0 + 1},  // the keypad keeps its codes
        {SDL_SCANCODE_RETURN, SDLK_RETURN, VK_RETURN},
    };
    for (const Case& c : cases) {
        PushKey(c.scancode, true, false, c.sym);
        auto msgs = Messages();
        ASSERT_EQ(msgs.size(), 1u) << c.scancode;
        EXPECT_EQ(msgs[0].wParam, static_cast<uintptr_t>(c.vk)) << c.scancode;
        EXPECT_TRUE(window->IsKeyDown(c.vk)) << c.scancode;
        PushKey(c.scancode, false, false, c.sym);
        Messages();
        EXPECT_FALSE(window->IsKeyDown(c.vk)) << c.scancode;
    }
}

TEST_F(WindowTest, KeysWhileAltIsHeldAreSystemKeys) {
    PushKey(SDL_SCANCODE_LALT, true);
    PushKey(SDL_SCANCODE_RETURN, true);
    auto msgs = Messages();
    ASSERT_EQ(msgs.size(), 2u);
    EXPECT_EQ(msgs[0].message, WM_SYSKEYDOWN);
    EXPECT_EQ(msgs[0].wParam, static_cast<uintptr_t>(VK_MENU));
    EXPECT_EQ(msgs[1].message, WM_SYSKEYDOWN);
    EXPECT_EQ(msgs[1].wParam, static_cast<uintptr_t>(VK_RETURN));
    EXPECT_TRUE(window->IsKeyDown(VK_MENU));
}

TEST_F(WindowTest, AsyncKeyStateHasTheDownBitAndThePressedSinceBit) {
    PushKey(SDL_SCANCODE_SPACE, true);
    Messages();
    EXPECT_EQ(window->GetAsyncKeyState(VK_SPACE) & 0xFFFF, 0x8001);
    EXPECT_EQ(window->GetAsyncKeyState(VK_SPACE) & 0xFFFF, 0x8000) << "the low bit is cleared by the query";
    PushKey(SDL_SCANCODE_SPACE, false);
    Messages();
    EXPECT_EQ(window->GetAsyncKeyState(VK_SPACE), 0);
}

TEST_F(WindowTest, MouseGoesToTheBufferedMouseAndTheCursorPosition) {
    SDL_Event e {};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 120;
    e.motion.y = 80;
    e.motion.xrel = 20;
    e.motion.yrel = -5;
    SDL_PushEvent(&e);
    SDL_Event b {};
    b.type = SDL_MOUSEBUTTONDOWN;
    b.button.button = SDL_BUTTON_RIGHT;
    b.button.state = SDL_PRESSED;
    b.button.x = 120;
    b.button.y = 80;
    SDL_PushEvent(&b);
    Messages();
    int x = 0, y = 0;
    window->GetCursorPos(&x, &y);
    EXPECT_EQ(x, 120);
    EXPECT_EQ(y, 80);
    EXPECT_TRUE(window->IsKeyDown(VK_RBUTTON));
    std::vector<MouseEvent> records;
    MouseEvent r;
    while (window->ReadMouseEvent(&r)) records.push_back(r);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].kind, MouseEvent::AxisX);
    EXPECT_EQ(records[0].value, 20);
    EXPECT_EQ(records[1].value, -5);
    EXPECT_EQ(records[2].kind, MouseEvent::Button);
    EXPECT_EQ(records[2].button, 1);
    EXPECT_EQ(records[2].value, 1);
}

TEST_F(WindowTest, FocusIsSentAsActivationAndLosingItReleasesKeys) {
    window->InjectKey('Z', true);
    Messages();
    window->InjectFocus(false);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message, WM_ACTIVATE);
    EXPECT_EQ(LoWord(sent[0].wParam), WA_INACTIVE);
    EXPECT_FALSE(window->IsKeyDown('Z'));
    window->InjectFocus(true);
    EXPECT_EQ(LoWord(sent[1].wParam), WA_ACTIVE);
    EXPECT_EQ(HiWord(sent[1].wParam), 0u);
}

TEST_F(WindowTest, CloseAndTerminationEndThroughQuit) {
    SDL_Event q {};
    q.type = SDL_QUIT;
    SDL_PushEvent(&q);
    Messages();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].message, WM_DESTROY) << "the window procedure posts the quit";

    Window::RequestQuit();
    Message m;
    ASSERT_TRUE(window->PeekMessage(&m));
    EXPECT_EQ(m.message, WM_QUIT);
    EXPECT_FALSE(window->PeekMessage(&m));

    window->PostQuitMessage(0);
    window->GetMessage(&m);
    EXPECT_EQ(m.message, WM_QUIT);
}

// The 800x600 screen in windows of other sizes: scaled with its proportions
// kept and centred; the pointer maps back onto it, the black bars onto its edge.
TEST(ScreenFitTest, MapsWindowPointsOntoTheScreen) {
    struct Case {
        int window_w, window_h;
        int x, y, w, h;            // where the screen shows
        int wx, wy, sx, sy;        // a window point and its screen point
    };
    const Case cases[] = {
        {800, 600, 0, 0, 800, 600, 799, 599, 799, 599},
        {1024, 768, 0, 0, 1024, 768, 512, 384, 400, 300},
        {1024, 768, 0, 0, 1024, 768, 1023, 767, 799, 599},
        {1280, 768, 128, 0, 1024, 768, 128, 0, 0, 0},
        {1280, 768, 128, 0, 1024, 768, 20, 700, 0, 547},      // the left bar
        {1280, 768, 128, 0, 1024, 768, 1279, 767, 799, 599},  // the right bar
        {1024, 1024, 0, 128, 1024, 768, 100, 10, 78, 0},      // bars above and below
        {400, 300, 0, 0, 400, 300, 399, 299, 799, 599},
    };
    for (const Case& c : cases) {
        const ScreenFit fit(800, 600, c.window_w, c.window_h);
        EXPECT_EQ(fit.X(), c.x) << c.window_w << "x" << c.window_h;
        EXPECT_EQ(fit.Y(), c.y) << c.window_w << "x" << c.window_h;
        EXPECT_EQ(fit.Width(), c.w) << c.window_w << "x" << c.window_h;
        EXPECT_EQ(fit.Height(), c.h) << c.window_w << "x" << c.window_h;
        int x = c.wx, y = c.wy;
        fit.ToScreen(&x, &y);
        EXPECT_EQ(x, c.sx) << c.window_w << "x" << c.window_h << " at " << c.wx << "," << c.wy;
        EXPECT_EQ(y, c.sy) << c.window_w << "x" << c.window_h << " at " << c.wx << "," << c.wy;
        // A screen point sent to a window at least as large comes back as itself.
        if (c.window_w < 800 || c.window_h < 600) continue;
        for (int p : {0, 1, 333, 599}) {
            int px = p, py = p;
            fit.ToWindow(&px, &py);
            fit.ToScreen(&px, &py);
            EXPECT_EQ(px, p) << c.window_w << "x" << c.window_h;
            EXPECT_EQ(py, p) << c.window_w << "x" << c.window_h;
        }
    }
}

// Without a window manager nobody carries a mode switch out: the window puts
// itself over the whole display, maps the pointer from there onto the
// 800x600 screen, and goes back to its own size and place.
TEST_F(WindowTest, WithoutAWindowManagerFullScreenFillsTheDisplayAndComesBack) {
    window->Show();
    window->ActWithoutWindowManager(true);
    SDL_Rect bounds;
    ASSERT_EQ(SDL_GetDisplayBounds(0, &bounds), 0);
    ASSERT_GT(bounds.w, 800);
    auto move_to = [&](int x, int y) {
        SDL_Event e {};
        e.type = SDL_MOUSEMOTION;
        e.motion.x = x;
        e.motion.y = y;
        SDL_PushEvent(&e);
        Messages();
        int cx = -1, cy = -1;
        window->GetCursorPos(&cx, &cy);
        return std::pair {cx, cy};
    };
    ASSERT_TRUE(window->SetFullscreen(true));
    int w = 0, h = 0;
    window->GetShownSize(&w, &h);
    EXPECT_EQ(w, bounds.w);
    EXPECT_EQ(h, bounds.h);
    const ScreenFit fit(800, 600, bounds.w, bounds.h);
    EXPECT_EQ(move_to(bounds.w - 1, bounds.h - 1), std::pair(799, 599)) << "the bottom right corner";
    EXPECT_EQ(move_to(fit.X() + fit.Width() / 2, fit.Y() + fit.Height() / 2), std::pair(400, 300)) << "the middle";

    ASSERT_TRUE(window->SetFullscreen(false));
    window->GetShownSize(&w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    SDL_GetWindowSize(window->Native(), &w, &h);
    EXPECT_EQ(w, 800);
    EXPECT_EQ(h, 600);
    EXPECT_EQ(move_to(799, 599), std::pair(799, 599)) << "windowed again";
}

}  // namespace
