#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "data_test_support.h"
#include "engine/dinput_manager.h"
#include "engine/hot_spot_cursor.h"
#include "engine/joystick.h"
#include "engine/keyboard.h"
#include "engine/logger.h"
#include "engine/mouse.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "test_user_folder.h"

using namespace plat;

namespace {

uint32_t g_now = 0;
uint32_t TestTicks() { return g_now; }

// The input devices over a window of their own, with a clock the test sets.
class InputTest : public ::testing::Test {
protected:
    void SetUp() override {
        UseTestUserFolder();
        window = Window::Create("input", 800, 600, false);
        ASSERT_TRUE(window);
        ASSERT_EQ(manager.Create(window.get()), kOk);
        ASSERT_EQ(manager.CreateKeyboard(), kOk);
        ASSERT_EQ(manager.CreateMouse(), kOk);
        manager.SetMouseBounds(0, 0, 0, 800, 600, -10000);
        manager.Acquire();
        manager.SetTickSource(&TestTicks);
        g_now = 1000;
        mouse.SetInputManager(&manager);
        keyboard.SetInputManager(&manager);
        joystick.SetInputManager(&manager);
        mouse.SetCursorKeeper(&cursor);
        joystick.SetCursorKeeper(&cursor);
    }
    void Poll() {
        manager.Poll();
        mouse.Poll();
        keyboard.Poll();
    }
    static std::string ReadLog() {
        std::ifstream in(UserFolderPath("all") + "log.html");
        std::stringstream ss;
        ss << in.rdbuf();
        return data_test::UnescapeHtml(ss.str());
    }

    std::unique_ptr<Window> window;
    CDInputManager manager;
    CHotSpotCursor cursor;
    CMouse mouse;
    CKeyboard keyboard;
    CJoystick joystick;
};

TEST_F(InputTest, ButtonHeldOverThreePollsReadsPressedHeldHeldThenReleased) {
    window->InjectMouseButton(0, true);
    std::vector<int> states;
    for (int i = 0; i < 3; ++i) {
        Poll();
        states.push_back(mouse.GetButtonState(0));
        EXPECT_TRUE(mouse.IsButtonDown(0));
        EXPECT_TRUE(mouse.IsAnyButtonDown());
    }
    window->InjectMouseButton(0, false);
    Poll();
    states.push_back(mouse.GetButtonState(0));
    EXPECT_TRUE(mouse.IsButtonReleased(0));
    Poll();
    states.push_back(mouse.GetButtonState(0));
    EXPECT_EQ(states, (std::vector<int> {3, 1, 1, 2, 0}));
    EXPECT_FALSE(mouse.IsAnyButtonDown());
}

TEST_F(InputTest, DoubleClickCountsFromThePreviousRelease) {
    struct Case {
        uint32_t gap;
        bool double_click;
    };
    for (const Case c : {Case {150, true}, Case {250, false}, Case {199, true}, Case {200, false}}) {
        SCOPED_TRACE(c.gap);
        g_now += 1000;
        window->InjectMouseButton(0, true);
        Poll();
        EXPECT_FALSE(mouse.IsDoubleClick(0));
        g_now += 80;
        window->InjectMouseButton(0, false);
        Poll();
        g_now += c.gap;
        window->InjectMouseButton(0, true);
        Poll();
        EXPECT_EQ(mouse.IsDoubleClick(0), c.double_click);
        EXPECT_FALSE(mouse.IsDoubleClick(1));
        Poll();
        EXPECT_FALSE(mouse.IsDoubleClick(0)) << "only for the frame whose poll received the press";
        window->InjectMouseButton(0, false);
        Poll();
    }
}

// Every press and release between two polls is kept in order, where the
// pointer was; the second click of a pair is a double click also within one
// poll, and a burst of movement cannot crowd the clicks out of the buffer.
TEST_F(InputTest, ButtonRecordsKeepTheirOrderPlaceAndDoubleClicks) {
    for (int i = 1; i <= 200; ++i) window->InjectMouseMove(i % 7, 50 + i % 3);
    window->InjectMouseMove(100, 50);
    window->InjectMouseButton(0, true);
    window->InjectMouseButton(0, false);
    window->InjectMouseMove(300, 200);
    window->InjectMouseButton(0, true);
    window->InjectMouseButton(0, false);
    window->InjectMouseButton(1, true);
    Poll();
    struct Expect {
        int button;
        bool down;
        int x, y;
        bool double_click;
    };
    const Expect expected[] = {{0, true, 100, 50, false}, {0, false, 100, 50, false}, {0, true, 300, 200, true},
                               {0, false, 300, 200, false}, {1, true, 300, 200, false}};
    const std::vector<MouseButtonEvent> events = mouse.GetButtonEvents();
    ASSERT_EQ(events.size(), std::size(expected));
    for (size_t i = 0; i < events.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(events[i].button, expected[i].button);
        EXPECT_EQ(events[i].down, expected[i].down);
        EXPECT_EQ(events[i].x, expected[i].x);
        EXPECT_EQ(events[i].y, expected[i].y);
        EXPECT_EQ(events[i].double_click, expected[i].double_click);
        EXPECT_EQ(events[i].time, g_now);
    }
    EXPECT_TRUE(mouse.IsDoubleClick(0));
    EXPECT_FALSE(mouse.IsDoubleClick(1));
    EXPECT_EQ(mouse.GetX(), 300) << "the frame sees the pointer where it is, not where the cursor was drawn";
    EXPECT_EQ(mouse.GetY(), 200);
    mouse.ResetButtons();
    EXPECT_TRUE(mouse.GetButtonEvents().empty());
    Poll();
    EXPECT_TRUE(mouse.GetButtonEvents().empty()) << "records last one poll";
}

TEST_F(InputTest, MovementWheelAndSecondAxis) {
    window->InjectMouseMove(100, 50);
    window->InjectWheel(2);
    Poll();
    EXPECT_EQ(mouse.GetDeltaX(), 100);
    EXPECT_EQ(mouse.GetDeltaY(), 50);
    EXPECT_TRUE(mouse.IsMoved());
    EXPECT_EQ(mouse.GetWheel(), 240);
    EXPECT_EQ(mouse.GetAxis1(), 50);
    Poll();
    EXPECT_FALSE(mouse.IsMoved());
    EXPECT_EQ(mouse.GetWheel(), 0);
    // The buffered axes stay within the bounds.
    window->InjectMouseMove(100, 599);
    window->InjectMouseMove(100, 700);
    Poll();
    EXPECT_EQ(mouse.GetAxis1(), 600);
    // Setting the position moves the hot spot and counts as a move without delta.
    mouse.SetPosition(300, 200, 0);
    EXPECT_EQ(mouse.GetX(), 300);
    EXPECT_EQ(mouse.GetY(), 200);
    EXPECT_TRUE(mouse.IsMoved());
    EXPECT_EQ(mouse.GetDeltaX(), 0);
}

TEST_F(InputTest, KeysFollowTheFourStatesAndTheHighestNewKeyWins) {
    window->InjectKey('A', true);
    window->InjectKey('Q', true);
    Poll();
    int key = 0;
    EXPECT_TRUE(keyboard.GetPressedKey(&key));
    EXPECT_EQ(key, 'Q');
    EXPECT_TRUE(keyboard.IsKeyPressed('A'));
    Poll();
    EXPECT_FALSE(keyboard.GetPressedKey(nullptr));
    EXPECT_EQ(keyboard.GetKeyState('A'), 1);
    window->InjectKey('A', false);
    Poll();
    EXPECT_TRUE(keyboard.IsKeyReleased('A'));
    EXPECT_TRUE(keyboard.IsKeyDown('Q'));
    window->InjectKey('Q', false);
    EXPECT_FALSE(keyboard.IsKeyDown('Q'));
}

TEST_F(InputTest, GenericAndSidedModifierCodes) {
    window->InjectKey(VK_RSHIFT, true);
    Poll();
    EXPECT_TRUE(keyboard.IsKeyPressed(VK_RSHIFT));
    EXPECT_TRUE(keyboard.IsKeyPressed(VK_SHIFT));
    EXPECT_FALSE(keyboard.IsKeyDown(VK_LSHIFT));
    window->InjectKey(VK_LSHIFT, true);
    window->InjectKey(VK_RSHIFT, false);
    Poll();
    EXPECT_TRUE(keyboard.IsKeyDown(VK_SHIFT)) << "either side holds the generic code";
    window->InjectKey(VK_LSHIFT, false);
    Poll();
    EXPECT_TRUE(keyboard.IsKeyReleased(VK_SHIFT));
}

TEST_F(InputTest, PressedCharCountsModifiersHeldSinceAnEarlierPoll) {
    char ch = 0;
    int mods = -1;
    window->InjectKey(VK_LSHIFT, true);
    window->InjectKey('A', true);
    Poll();
    ASSERT_TRUE(keyboard.GetPressedChar(&ch, &mods));
    EXPECT_EQ(ch, 'A');
    EXPECT_EQ(mods, 0) << "Shift went down in the same poll";
    window->InjectKey(VK_RCONTROL, true);
    window->InjectKey(VK_LMENU, true);
    window->InjectKey('B', true);
    Poll();
    ASSERT_TRUE(keyboard.GetPressedChar(&ch, &mods));
    EXPECT_EQ(ch, 'B');
    EXPECT_EQ(mods, 2);
    window->InjectKey('C', true);
    Poll();
    ASSERT_TRUE(keyboard.GetPressedChar(&ch, &mods));
    EXPECT_EQ(mods, 2 | 8 | 4);
    Poll();
    EXPECT_FALSE(keyboard.GetPressedChar(&ch, &mods));
}

TEST_F(InputTest, OutOfRangeArgumentsLogAndGiveNeutralValues) {
    EXPECT_FALSE(mouse.IsButtonDown(3));
    EXPECT_FALSE(mouse.IsButtonPressed(-1));
    EXPECT_FALSE(keyboard.IsKeyPressed(256));
    EXPECT_FALSE(joystick.IsButtonPressed(300));
    EXPECT_FALSE(joystick.IsInputActive(5));
    const std::string log = ReadLog();
    for (const char* line : {"Assert failed: '(size_t)but < _btn_state.size()'",
                             "Assert failed: 'key_to_test < _key_state.size()'", "Assert failed: 'MAX_BUTTONS > but'",
                             "Error: invalid joystick axis 5 requested!"})
        EXPECT_NE(log.find(line), std::string::npos) << line;
}

TEST_F(InputTest, JoystickDirectionsButtonsAndMovement) {
    EXPECT_FALSE(joystick.IsInputActive(12));
    JoystickState st;
    st.x = -1000;
    st.y = 400;
    st.buttons[2] = 0x80;
    manager.ApplyJoystickState(st);
    EXPECT_TRUE(joystick.IsInputActive(0));   // left
    EXPECT_FALSE(joystick.IsInputActive(1));  // right
    EXPECT_FALSE(joystick.IsInputActive(2));  // up
    EXPECT_TRUE(joystick.IsInputActive(3));   // down
    EXPECT_TRUE(joystick.IsInputActive(12));  // button 2
    EXPECT_EQ(joystick.GetAxisX(), -5);
    EXPECT_EQ(joystick.GetAxisY(), 2);
    EXPECT_TRUE(joystick.IsMoved());
    EXPECT_FALSE(joystick.IsButtonPressed(12)) << "nothing steps the joystick's input states";
    joystick.SetPosition(40, 30);
    EXPECT_EQ(joystick.GetX(), 40);
    EXPECT_EQ(cursor.GetY(), 30);
    EXPECT_EQ(JoystickDevice::ScaleAxis(32767), 1000);
    EXPECT_EQ(JoystickDevice::ScaleAxis(-16000), 0) << "inside the dead zone";
    EXPECT_EQ(JoystickDevice::ScaleAxis(-32768), -1000);
}

TEST_F(InputTest, MouseSpeedIsCappedAtTwentyAndRestored) {
    const int before = mouse.GetSpeed();
    {
        CMouse other;
        EXPECT_TRUE(other.SetSpeed(25));
        EXPECT_EQ(other.GetSpeed(), 20);
        EXPECT_NE(ReadLog().find("Assert failed: 'value <= 20'"), std::string::npos);
    }
    EXPECT_EQ(mouse.GetSpeed(), before) << "the destructor puts the saved speed back";
}

}  // namespace

// A click or a key tap whose press and release both fall between two polls
// still shows as pressed at the next poll and released at the one after.
TEST_F(InputTest, PressAndReleaseBetweenTwoPollsAreKept) {
    Poll();
    window->InjectMouseButton(0, true);
    window->InjectMouseButton(0, false);
    window->InjectKey(VK_RETURN, true);
    window->InjectKey(VK_RETURN, false);
    Poll();
    EXPECT_TRUE(mouse.IsButtonPressed(0));
    EXPECT_TRUE(keyboard.IsKeyPressed(VK_RETURN));
    int key = 0;
    EXPECT_TRUE(keyboard.GetPressedKey(&key));
    EXPECT_EQ(key, VK_RETURN);
    EXPECT_FALSE(keyboard.IsKeyPressed(VK_LBUTTON)) << "the mouse's press is the mouse's";
    Poll();
    EXPECT_TRUE(mouse.IsButtonReleased(0));
    EXPECT_TRUE(keyboard.IsKeyReleased(VK_RETURN));
    Poll();
    EXPECT_EQ(mouse.GetButtonState(0), 0);
    EXPECT_EQ(keyboard.GetKeyState(VK_RETURN), 0);

    // Released and pressed again while held: a new press.
    window->InjectMouseButton(0, true);
    Poll();
    Poll();
    ASSERT_EQ(mouse.GetButtonState(0), 1);
    window->InjectMouseButton(0, false);
    window->InjectMouseButton(0, true);
    Poll();
    EXPECT_TRUE(mouse.IsButtonPressed(0));
    window->InjectMouseButton(0, false);
    Poll();
}
