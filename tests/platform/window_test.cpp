#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

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

}  // namespace
