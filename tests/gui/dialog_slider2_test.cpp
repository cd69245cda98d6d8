// The panel slider: its steps toward the target, the state changes that jump
// along the run, and the drawing origin it sets and restores.
#include <gtest/gtest.h>

#include <vector>

#include "engine/engine_core_interface.h"
#include "gui/dialog_slider2.h"

namespace {

// An engine core of 800x600 that writes down the world translations it is given.
class TransformRecorder : public IEngineCore {
public:
    std::vector<CVector2> translations;

    bool Init(bool) override { return true; }
    void Shutdown() override {}
    EngineCallback SetCallback(int, EngineCallback) override { return nullptr; }
    bool BeginFrame() override { return true; }
    bool Clear(uint32_t) override { return true; }
    bool EndFrame() override { return true; }
    void OnActivate(bool) override {}
    int GetScreenWidth() const override { return 800; }
    int GetScreenHeight() const override { return 600; }
    void SetGamma(int) override {}
    void SetWorldTransform(float angle, float x, float y) override {
        EXPECT_EQ(angle, 0);
        translations.emplace_back(x, y);
    }
    plat::Window* GetHWND() const override { return nullptr; }
    bool ToggleFullscreen() override { return false; }
    bool IsFullscreen() const override { return false; }
    CDirect3DHolder* GetDirect3DHolder() override { return nullptr; }
    CGraphicsDevice* GetGraphicsDevice() override { return nullptr; }
    ISoundKeeper* GetSoundKeeper() override { return nullptr; }
    IMouseController* GetMouse() override { return nullptr; }
    IKeyboardController* GetKeyboard() override { return nullptr; }
    IJoystickController* GetJoystick() override { return nullptr; }
    unsigned GetFrameCount() const override { return 0; }
    void ResetFrameStats() override {}
    void AddDrawCalls(unsigned) override {}
    void AddQuads(unsigned) override {}
    unsigned GetDrawCalls() const override { return 0; }
    unsigned GetQuads() const override { return 0; }
    float GetFrameTime() const override { return 0; }
    void SetFrameTime(float) override {}
    void DrawQuads(plat::VertexBuffer*, unsigned, unsigned) override {}
};

class SliderTest : public ::testing::Test {
protected:
    void SetUp() override {
        saved_ = g_EngineCore;
        g_EngineCore = &core;
    }
    void TearDown() override { g_EngineCore = saved_; }

    TransformRecorder core;

private:
    IEngineCore* saved_ = nullptr;
};

TEST_F(SliderTest, StepsByItsSpeedAndLandsOnTheTarget) {
    CDialogSlider2 s;
    EXPECT_EQ(s.GetState(), 0);
    EXPECT_EQ(s.GetSpeed(), 1.0f);
    s.Start(CVector2(-800, 0), CVector2(0, 0), 300);
    EXPECT_EQ(s.GetState(), 2);
    std::vector<float> xs;
    while (s.GetState() != 0 && xs.size() < 10) {
        s.Step();
        xs.push_back(s.GetCurrent().x);
    }
    EXPECT_EQ(xs, (std::vector<float> {-500, -200, 0}));
    s.Step();  // idle: nothing
    EXPECT_EQ(s.GetCurrent(), CVector2(0, 0));
}

TEST_F(SliderTest, EdgeRunsEndInOneStep) {
    struct Case {
        CVector2 from, to;
        float speed;
        int steps;
    };
    const Case cases[] = {
        {{0, 0}, {0, 600}, 600, 1},    // the distance equals the speed: snaps
        {{5, 5}, {5, 5}, 16, 1},       // from equal to to
        {{0, 0}, {0, 600}, 599, 2},
        {{0, 0}, {300, 400}, 100, 5},  // diagonal: 500 long
    };
    for (const Case& c : cases) {
        CDialogSlider2 s;
        s.Start(c.from, c.to, c.speed);
        int steps = 0;
        while (s.GetState() != 0 && steps < 100) {
            s.Step();
            ++steps;
        }
        EXPECT_EQ(steps, c.steps) << c.speed;
        EXPECT_EQ(s.GetCurrent(), c.to);
    }
    // A diagonal run moves along its line.
    CDialogSlider2 s;
    s.Start(CVector2(0, 0), CVector2(300, 400), 100);
    s.Step();
    EXPECT_FLOAT_EQ(s.GetCurrent().x, 60);
    EXPECT_FLOAT_EQ(s.GetCurrent().y, 80);
}

TEST_F(SliderTest, StateChangesJumpAlongTheRun) {
    CDialogSlider2 s;
    s.Start(CVector2(-800, 0), CVector2(0, 0), 100);
    s.Step();
    s.SetState(0);  // stop: on the end of the run toward `to`
    EXPECT_EQ(s.GetCurrent(), CVector2(0, 0));
    s.SetState(1);  // back toward `from`, starting at `to`
    EXPECT_EQ(s.GetCurrent(), CVector2(0, 0));
    s.Step();
    EXPECT_EQ(s.GetCurrent(), CVector2(-100, 0));
    s.SetState(0);
    EXPECT_EQ(s.GetCurrent(), CVector2(-800, 0));
    s.SetState(0);  // idle already: nothing moves
    EXPECT_EQ(s.GetCurrent(), CVector2(-800, 0));
    s.SetState(2);
    EXPECT_EQ(s.GetCurrent(), CVector2(-800, 0));
    EXPECT_EQ(s.GetState(), 2);
}

TEST_F(SliderTest, DrawsAtThePointReachedBeforeAndRestoresTheRestingOffset) {
    CDialogSlider2 s;
    EXPECT_EQ(s.GetOrigin(), CVector2(-400, -300));
    s.SetOrigin(CVector2(10, 20));
    EXPECT_EQ(s.GetOrigin(), CVector2(-390, -280));
    s.Start(CVector2(-800, 0), CVector2(0, 0), 400);
    s.BeginDraw();
    s.EndDraw();
    s.BeginDraw();
    s.EndDraw();
    s.BeginDraw();
    EXPECT_EQ(core.translations,
              (std::vector<CVector2> {{-1190, -280}, {-400, -300}, {-790, -280}, {-400, -300}, {-390, -280}}));
    EXPECT_EQ(s.GetState(), 0);
    // The resting offset comes back whatever was set before.
    core.SetWorldTransform(0, 123, 456);
    s.EndDraw();
    EXPECT_EQ(core.translations.back(), CVector2(-400, -300));
}

}  // namespace
