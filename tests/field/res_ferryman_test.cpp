// Tool credits: the gates of a credit (episode, hammer in hand, tool already
// available), the carriers that fly a credit to its bar and fill it, and the
// flying particles' list.
#include <gtest/gtest.h>

#include "fake_bonus_data_source.h"
#include "fake_game_scene_link.h"
#include "field/field_flags.h"
#include "field/fly_particles.h"
#include "field/res_ferryman.h"
#include "field_test_support.h"
#include "graphics/core_test_support.h"
#include "graphics/explosion.h"
#include "graphics/plume_library.h"
#include "gui/sample_queue.h"

namespace {

using field_test::XmlNode;

class ResFerrymanTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        globals_ = std::make_unique<field_test::FieldGlobalsScope>();
        globals_->LoadGameConfig(
            R"(<GameCFG first_episode_for_hammer="0" first_episode_for_feather="1" first_episode_for_egg="2"/>)");
        g_SampleQueue.Clear();
    }
    void TearDown() override {
        g_SampleQueue.Clear();
        globals_.reset();
        CoreTest::TearDown();
    }
    // Credits applied at once: no emitters configured.
    CResFerryman AtOnce() { return CResFerryman(&data_, XmlNode("<ResFerryman/>")); }
    bool Queued(const std::string& alias) const { return g_SampleQueue.GetAliases().count(alias) != 0; }

    std::unique_ptr<field_test::FieldGlobalsScope> globals_;
    field_test::FakeBonusDataSource data_;
    field_test::FakeGameSceneLink scene_;
    field_test::ScopedExplosionRecorder explosions_;
};

TEST_F(ResFerrymanTest, CreditGates) {
    struct Case {
        const char* what;
        int episode;
        int tool;
        bool hammer_in_hand;
        bool flags_absent;
        int expected_progress;
    };
    const Case cases[] = {
        {"egg below its first episode", 1, 3, false, false, 0},
        {"egg from its first episode", 2, 3, false, false, 5},
        {"feather below its first episode", 0, 2, false, false, 0},
        {"hammer while in the hand", 3, 1, true, false, 0},
        {"hammer without flags counts as in the hand", 3, 1, false, true, 0},
        {"hammer in the panel", 3, 1, false, false, 5},
        {"no tool", 3, 0, false, false, 0},
        {"unknown tool", 3, 7, false, false, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        scene_.progress.clear();
        scene_.episode = c.episode;
        data_.flags.ResetAll();
        if (c.hammer_in_hand) data_.flags.Set(CFieldFlags::ffHammerTaken, 1);
        CResFerryman ferryman(c.flags_absent ? nullptr : &data_, XmlNode("<ResFerryman/>"));
        ferryman.OnCredit(ResCredit {c.tool, 5}, CVector2(10, 10), CVector2(100, 10));
        EXPECT_EQ(scene_.progress[c.tool], c.expected_progress);
        EXPECT_TRUE(scene_.calls.empty());
    }
}

TEST_F(ResFerrymanTest, TheCreditThatFillsTheBarEnablesTheToolOnce) {
    scene_.episode = 2;
    scene_.tool_max = 10;
    CResFerryman ferryman = AtOnce();
    ferryman.OnCredit(ResCredit {3, 6}, CVector2(), CVector2());
    EXPECT_FALSE(Queued("egg_appear"));
    ferryman.OnCredit(ResCredit {3, 6}, CVector2(), CVector2());
    EXPECT_TRUE(Queued("egg_appear"));
    EXPECT_EQ(scene_.calls, std::vector<std::string> {"EnableTool 3 1"});
    // Available now: later credits are ignored.
    scene_.available[3] = true;
    g_SampleQueue.Clear();
    ferryman.OnCredit(ResCredit {3, 6}, CVector2(), CVector2());
    EXPECT_EQ(scene_.progress[3], 12);
    EXPECT_TRUE(g_SampleQueue.IsEmpty());
    EXPECT_EQ(scene_.calls.size(), 1u);
}

TEST_F(ResFerrymanTest, CarrierFliesToTheBarAndFillsItOnArrival) {
    scene_.tool_max = 4;
    CResFerryman ferryman(&data_, XmlNode(R"(<ResFerryman emitter_hammer="carrier_hammer" speed="10"/>)"));
    EXPECT_TRUE(ferryman.IsIdle());
    const CVector2 ball(100, 300), bar(400, 300);
    ferryman.OnCredit(ResCredit {1, 4}, ball, bar);
    ASSERT_EQ(ferryman.GetCarriers().size(), 1u);
    EXPECT_FALSE(ferryman.IsIdle());
    EXPECT_EQ(scene_.progress[1], 0);
    ASSERT_EQ(explosions_->emitters.size(), 1u);
    EXPECT_EQ(explosions_->emitters[0].name, "carrier_hammer");
    const uint32_t id = explosions_->emitters[0].id;

    // 300 pixels at 10 a frame: about 30 frames on the way.
    const int points = ferryman.GetCarriers().front().path->GetPathPointCount();
    EXPECT_NEAR(points, 31, 2);
    for (int frame = 0; frame < points; ++frame) ferryman.Update();
    EXPECT_FALSE(ferryman.IsIdle());
    EXPECT_NEAR(explosions_->running[id].x, bar.x, 0.5f);
    EXPECT_NEAR(explosions_->running[id].y, bar.y, 0.5f);
    ferryman.Render();
    EXPECT_EQ(explosions_->renders[id], 1);

    ferryman.Update();
    EXPECT_TRUE(ferryman.IsIdle());
    EXPECT_FALSE(explosions_->HasEmitter(id));
    EXPECT_EQ(scene_.progress[1], 4);
    EXPECT_TRUE(Queued("hammer_appear"));
    EXPECT_EQ(scene_.calls, std::vector<std::string> {"EnableTool 1 1"});
}

// A carrier's emitter that the effect library lacks, or an effects file that
// is damaged or missing, never leaves a credit hanging in the air: the credit
// is applied at once and nothing is in flight.
TEST_F(ResFerrymanTest, ACarrierWithoutItsEmitterDeliversAtOnce) {
    data_test::WriteBytes("Damaged.plume", "not an effect library");
    const struct {
        const char* what;
        std::string library;
        const char* emitter;
    } cases[] = {
        {"library without the emitter", std::string(VOVARO_DATA_DIR) + "/Textures/Plume/Effects.plume",
         "no_such_carrier"},
        {"damaged library", "Damaged.plume", "carrier_hammer"},
        {"missing library", "None.plume", "carrier_hammer"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        scene_.progress.clear();
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        CPlume loader;
        loader.LoadLibrary(c.library);
        explosion::SetExplosionManager(std::make_unique<CExplosion>("Settings\\None.xml"));
        CResFerryman ferryman(&data_, XmlNode(std::string("<ResFerryman emitter_hammer='") + c.emitter +
                                              "' speed='10'/>"));
        ferryman.OnCredit(ResCredit {1, 4}, CVector2(100, 300), CVector2(400, 300));
        ferryman.OnCredit(ResCredit {1, 4}, CVector2(100, 300), CVector2(400, 300));
        EXPECT_TRUE(ferryman.IsIdle());
        EXPECT_EQ(scene_.progress[1], 8);
        explosion::ReleaseExplosionManager();
    }
    if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
}

TEST_F(ResFerrymanTest, CarriersAreDeliveredDroppedOrStopped) {
    CResFerryman ferryman(&data_, XmlNode(R"(<ResFerryman emitter_hammer="carrier_hammer" speed="10"/>)"));
    ferryman.Send(1, 2, CVector2(0, 0), CVector2(200, 0));
    ferryman.Send(1, 3, CVector2(0, 0), CVector2(200, 0));
    ferryman.DeliverAll();
    EXPECT_TRUE(ferryman.IsIdle());
    EXPECT_EQ(scene_.progress[1], 5);
    EXPECT_TRUE(explosions_->running.empty());

    // Dropped at set-up and at teardown: credits lost, emitters stopped.
    ferryman.Send(1, 2, CVector2(0, 0), CVector2(200, 0));
    ferryman.Reset();
    EXPECT_TRUE(ferryman.IsIdle());
    EXPECT_TRUE(explosions_->running.empty());
    ferryman.Send(1, 2, CVector2(0, 0), CVector2(200, 0));
    ferryman.StopEmitters();
    EXPECT_TRUE(ferryman.IsIdle());
    EXPECT_TRUE(explosions_->running.empty());
    EXPECT_EQ(scene_.progress[1], 5);
}

TEST_F(ResFerrymanTest, CreditThatCannotCountIsNotFlown) {
    scene_.episode = 0;
    CResFerryman ferryman(&data_, XmlNode(R"(<ResFerryman emitter_egg="carrier_egg" speed="10"/>)"));
    ferryman.OnCredit(ResCredit {3, 2}, CVector2(0, 0), CVector2(200, 0));
    EXPECT_TRUE(ferryman.IsIdle());
    EXPECT_TRUE(explosions_->emitters.empty());
}

TEST_F(ResFerrymanTest, FlyParticlesSettleOnTheirTargetAndAddUp) {
    CFlyParticles particles;
    EXPECT_TRUE(particles.IsEmpty());
    particles.Add("carrier_egg", CVector2(0, 0), CVector2(20, 0), 3);
    particles.Add("carrier_egg", CVector2(0, 0), CVector2(6, 0), 4);
    particles.Update();  // the second is within a step
    EXPECT_EQ(particles.GetTotal(), 4);
    ASSERT_EQ(particles.GetParticles().size(), 1u);
    EXPECT_FLOAT_EQ(particles.GetParticles()[0].position.x, 8);
    particles.Update();
    particles.Update();  // 16, then within 8 of 20
    EXPECT_TRUE(particles.IsEmpty());
    EXPECT_EQ(particles.GetTotal(), 7);
    EXPECT_TRUE(explosions_->running.empty());

    particles.Add("carrier_egg", CVector2(0, 0), CVector2(200, 0), 3);
    particles.Clear();
    EXPECT_TRUE(particles.IsEmpty());
    EXPECT_EQ(particles.GetTotal(), 0);
    EXPECT_TRUE(explosions_->running.empty());
}

TEST_F(ResFerrymanTest, FlyingParticlesHoldTheFerrymanBusyUntilTheyLand) {
    CFlyParticles particles;
    CResFerryman ferryman = AtOnce();
    ferryman.SetFlyParticles(&particles);
    particles.Add("carrier_egg", CVector2(0, 0), CVector2(10, 0), 1);
    EXPECT_FALSE(ferryman.IsIdle());
    ferryman.Update();
    ferryman.Update();
    EXPECT_TRUE(ferryman.IsIdle());
    particles.Add("carrier_egg", CVector2(0, 0), CVector2(100, 0), 1);
    ferryman.StopEmitters();
    EXPECT_TRUE(ferryman.IsIdle());
    EXPECT_EQ(particles.GetTotal(), 0);
}

}  // namespace
