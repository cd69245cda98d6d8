// The explosion manager: descriptions, sprite explosions (sizes, angles,
// retirement) and particle explosions, drawn through the real engine core.
#include <cmath>
#include <set>

#include "core_test_support.h"
#include "graphics/explosion.h"
#include "engine/xml_file.h"
#include "graphics/object_2d.h"
#include "plume_test_support.h"

using namespace plume_test;

namespace {

class ExplosionTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        texture_ = TextureFile("white.tga", gfx_test::SolidTga(8, 8, 0xFFFFFFFF));
        WriteFile(dir_ / "Anim/one.xml", R"(<Animation start_frame="0"><Frame tex_rect="0 0 8 8"/></Animation>)");
        WriteFile(dir_ / "Anim/three.xml", R"(<Animation speed="1" animate_once="1" start_frame="0">
            <Frame tex_rect="0 0 8 8"/><Frame tex_rect="0 0 8 8"/><Frame tex_rect="0 0 8 8"/></Animation>)");
        auto sprite = [this](const char* alias, const char* extra, int w, int h, const char* anim) {
            return std::string("<Explosion alias=\"") + alias + "\" " + extra + "><graphics texture=\"" + texture_ +
                   "\" width=\"" + std::to_string(w) + "\" height=\"" + std::to_string(h) +
                   "\"><animation file=\"" + anim + "\"/></graphics></Explosion>\n";
        };
        WriteFile(dir_ / "Settings/Explosions.xml",
                  "<Explosions>\n" + sprite("orig", "original=\"1\"", 33, 21, "Anim\\three.xml") +
                      sprite("varied", "", 40, 50, "Anim\\three.xml") +
                      sprite("flash", "original=\"1\"", 10, 10, "Anim\\one.xml") +
                      sprite("orig", "original=\"1\"", 99, 99, "Anim\\one.xml") +
                      "<Explosion alias=\"pfx\" is_plume=\"1\"/>\n<Explosion alias=\"ghost\" is_plume=\"1\"/>\n"
                      "</Explosions>\n");
        WriteFile(dir_ / "effects.txt", "emitter pfx\n type dot\n  burst 1\n  life 0 5\n end\nend\n");
        const std::string cmd = std::string("\"") + VOVARO_BINARY_DIR + "/tools/plumec/plumec\" effects.txt \"" +
                                VOVARO_DATA_DIR + "\" Effects.plume > plumec.out 2>&1";
        ASSERT_EQ(std::system(cmd.c_str()), 0);
        loader_ = std::make_unique<CPlume>();
        ASSERT_TRUE(loader_->LoadLibrary("Effects.plume"));
    }
    void TearDown() override {
        explosion::ReleaseExplosionManager();
        loader_.reset();
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        CoreTest::TearDown();
    }
    std::string texture_;
    std::unique_ptr<CPlume> loader_;
    ManualClock clock_;
};

TEST_F(ExplosionTest, OriginalSpriteKeepsItsSizeAndIsCentred) {
    CExplosion ex("Settings\\Explosions.xml", clock_.Get());
    ex.StartExplosion("orig", 100, 200);
    ASSERT_EQ(ex.RunningSprites().size(), 1u);
    const C2DObject& s = *ex.RunningSprites().front();
    EXPECT_FLOAT_EQ(s.GetWidth(), 33) << "the first of two descriptions with one alias stays";
    EXPECT_FLOAT_EQ(s.GetHeight(), 21);
    EXPECT_FLOAT_EQ(s.GetLeft(), 84);  // the odd pixel lies right and below
    EXPECT_FLOAT_EQ(s.GetTop(), 190);
    EXPECT_FLOAT_EQ(s.GetAngle(), 0);
    ex.StartExplosion("orig", 100.5f, 200.25f);  // a sprite is not moved to whole pixels
    EXPECT_FLOAT_EQ(ex.RunningSprites().back()->GetLeft(), 84.5f);
    EXPECT_FLOAT_EQ(ex.RunningSprites().back()->GetTop(), 190.25f);
    EXPECT_NE(NewLog().find("Error: Explosion 'ghost': the effect library has no emitter"), std::string::npos)
        << "a particle explosion without emitter shows at load";
    EXPECT_EQ(NewLog().find("'pfx'"), std::string::npos);
}

TEST_F(ExplosionTest, VariedSpritesScaleOneSideAndTurnByWholeDegrees) {
    CExplosion ex("Settings\\Explosions.xml", clock_.Get());
    std::set<int> angles;
    int wider = 0, taller = 0;
    for (int i = 0; i < 40; ++i) {
        ex.StartExplosion("varied", 300, 300);
        const C2DObject& s = *ex.RunningSprites().back();
        const int w = static_cast<int>(s.GetWidth()), h = static_cast<int>(s.GetHeight());
        if (h == 50 && w != 40) {
            EXPECT_GE(w, 32);
            EXPECT_LE(w, 48);
            ++wider;
        } else if (w == 40 && h != 50) {
            EXPECT_GE(h, 40);
            EXPECT_LE(h, 60);
            ++taller;
        } else {
            EXPECT_TRUE(w == 40 && h == 50) << w << "x" << h << ": at most one side changes";
        }
        EXPECT_FLOAT_EQ(s.GetLeft(), static_cast<float>(300 - w / 2));
        const float a = s.GetAngle();
        EXPECT_FLOAT_EQ(a, std::floor(a));
        EXPECT_GE(a, 0);
        EXPECT_LT(a, 360);
        angles.insert(static_cast<int>(a));
    }
    EXPECT_GT(wider, 0);
    EXPECT_GT(taller, 0);
    EXPECT_GT(angles.size(), 10u);
    ex.Clear();
    EXPECT_TRUE(ex.RunningSprites().empty());
}

TEST_F(ExplosionTest, OneFrameSpriteIsDrawnOnceAndRetiredInTheSameUpdate) {
    CExplosion ex("Settings\\Explosions.xml", clock_.Get());
    ex.StartExplosion("flash", 50, 60);
    BeginDraw();
    ex.Update();
    const std::vector<uint32_t> px = ReadBack();
    EXPECT_TRUE(ex.RunningSprites().empty());
    EXPECT_EQ(At(px, 50, 60), 0xFFFFFFFFu) << "drawn by that update";

    ex.StartExplosion("orig", 50, 60);  // three frames of one tick each
    ex.Update();
    EXPECT_EQ(ex.RunningSprites().size(), 1u) << "on frame 1";
    ex.Update();
    EXPECT_TRUE(ex.RunningSprites().empty()) << "retired on its last frame";
}

TEST_F(ExplosionTest, UnknownAndEmptyAliases) {
    CExplosion ex("Settings\\Explosions.xml", clock_.Get());
    ex.StartExplosion("", 1, 1);
    ex.StartExplosion("nope", 1, 1);
    EXPECT_TRUE(ex.RunningSprites().empty());
    EXPECT_TRUE(ex.RunningEmitters().empty());
    const std::string log = NewLog();
    EXPECT_NE(log.find("Explosion alias not found: 'nope'"), std::string::npos);
    EXPECT_EQ(log.find("Explosion alias not found: ''"), std::string::npos);
    EXPECT_THROW(ex.StartExplosion("ghost", 1, 1), std::runtime_error) << "the player's error passes on";
}

TEST_F(ExplosionTest, ParticleExplosionsRunUntilTheirEmitterEnds) {
    CExplosion ex("Settings\\Explosions.xml", clock_.Get());
    ex.StartExplosion("pfx", 10.7f, 20.2f);
    ASSERT_EQ(ex.RunningEmitters().size(), 1u);
    const uint32_t id = ex.RunningEmitters().front();
    float x = 0, y = 0;
    ASSERT_TRUE(ex.GetEmitterPos(id, &x, &y));
    EXPECT_FLOAT_EQ(x, 10);
    EXPECT_FLOAT_EQ(y, 20);
    int frames = 0;
    for (; frames < 100 && !ex.RunningEmitters().empty(); ++frames) {
        clock_.Advance(16);
        ex.Update();
    }
    EXPECT_TRUE(ex.RunningEmitters().empty());
    EXPECT_FALSE(ex.HasEmitter(id));
    EXPECT_GE(frames, 18);  // 0.1 s of particle, then 0.2 s without
    EXPECT_LE(frames, 21);

    const uint32_t direct = ex.StartEmitter("pfx", 10.7f, 20.2f);
    ASSERT_TRUE(ex.GetEmitterPos(direct, &x, &y));
    EXPECT_FLOAT_EQ(x, 10);
    EXPECT_FLOAT_EQ(y, 20);
    ex.MoveEmitter(direct, 5, 5);
    ex.SetEmitterPos(direct + 1, 0, 0);
    ASSERT_TRUE(ex.GetEmitterPos(direct, &x, &y));
    EXPECT_FLOAT_EQ(x, 15);
    ex.StopEmitter(direct);
    EXPECT_FALSE(ex.HasEmitter(direct));
}

TEST_F(ExplosionTest, TheManagerIsMadeOnFirstUseAndStartsAfreshAfterRelease) {
    explosion::IExplosionManager* m = explosion::GetExplosionManager();
    EXPECT_EQ(explosion::GetExplosionManager(), m);
    EXPECT_EQ(m->StartEmitter("pfx", 0, 0), 0u);
    EXPECT_EQ(m->StartEmitter("pfx", 0, 0), 1u);
    explosion::ReleaseExplosionManager();
    m = explosion::GetExplosionManager();
    EXPECT_EQ(m->StartEmitter("pfx", 0, 0), 0u) << "a new manager starts ids at 0";
    EXPECT_FALSE(m->HasEmitter(1));
    m->StartExplosion("orig", 10, 10);
    BeginDraw();
    m->Update();
    ReadBack();
}

// A library that failed to load leaves particle explosions out, each with
// its own log line, instead of an exception per explosion.
TEST_F(ExplosionTest, ParticleExplosionsAreSkippedWhenTheLibraryFailedToLoad) {
    WriteFile(dir_ / "Damaged.plume", "not an effect library");
    EXPECT_FALSE(loader_->LoadLibrary("Damaged.plume"));
    CExplosion ex("Settings\\Explosions.xml", clock_.Get());
    const size_t mark = NewLog().size();
    EXPECT_NO_THROW(ex.StartExplosion("pfx", 1, 1));
    EXPECT_NO_THROW(ex.StartExplosion("ghost", 1, 1));
    EXPECT_TRUE(ex.RunningEmitters().empty());
    const std::string log = NewLog().substr(mark);
    EXPECT_NE(log.find("Error: Explosion 'pfx' skipped: no effect library is loaded."), std::string::npos);
    EXPECT_NE(log.find("Error: Explosion 'ghost' skipped: no effect library is loaded."), std::string::npos);
}

// Emitters started by name (tool carriers, effects of the field) that the
// library lacks, or with no usable library at all, start nothing: the name is
// logged once however often it is asked for, and the id given does nothing.
TEST_F(ExplosionTest, AnEmitterTheLibraryLacksStartsNothingAndIsLoggedOnce) {
    const auto count = [](const std::string& log, const std::string& what) {
        size_t n = 0;
        for (size_t at = log.find(what); at != std::string::npos; at = log.find(what, at + 1)) ++n;
        return n;
    };
    {
        CExplosion ex("Settings\\Explosions.xml", clock_.Get());
        EXPECT_EQ(ex.StartEmitter("ghost", 1, 1), explosion::kNoEmitter);
        EXPECT_EQ(ex.StartEmitter("ghost", 2, 2), explosion::kNoEmitter);
        ex.SetEmitterPos(explosion::kNoEmitter, 5, 5);
        ex.RenderEmitter(explosion::kNoEmitter);
        ex.StopEmitter(explosion::kNoEmitter);
        EXPECT_FALSE(ex.HasEmitter(explosion::kNoEmitter));
        EXPECT_EQ(count(NewLog(), "Effect 'ghost' not started"), 1u);
        EXPECT_EQ(ex.StartEmitter("pfx", 0, 0), 0u) << "the library's own emitters still start";
    }
    WriteFile(dir_ / "Damaged.plume", "not an effect library");
    const struct {
        const char* what;
        const char* file;
    } cases[] = {{"damaged library", "Damaged.plume"}, {"missing library", "None.plume"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        if (Plume::CLibrary::Exists()) CPlume::ReleaseLibrary();
        CPlume loader;
        EXPECT_FALSE(loader.LoadLibrary(c.file));
        CExplosion ex("Settings\\Explosions.xml", clock_.Get());
        const size_t mark = NewLog().size();
        EXPECT_EQ(ex.StartEmitter("pfx", 1, 1), explosion::kNoEmitter);
        EXPECT_EQ(ex.StartEmitter("pfx", 1, 1), explosion::kNoEmitter);
        EXPECT_EQ(count(NewLog().substr(mark), "Effect 'pfx' not started"), 1u);
    }
}

// Sizes from the file far beyond any screen are bounded before the random
// scaling turns them into whole pixels.
TEST_F(ExplosionTest, HugeSpriteSizesAreBounded) {
    WriteFile(dir_ / "Settings/Huge.xml",
              "<Explosions><Explosion alias='huge'><graphics texture='" + texture_ +
                  "' width='2147483647' height='-2147483647'><animation file='Anim\\three.xml'/></graphics>"
                  "</Explosion></Explosions>");
    CExplosion ex("Settings\\Huge.xml", clock_.Get());
    for (int i = 0; i < 20; ++i) ex.StartExplosion("huge", 0, 0);
    ASSERT_EQ(ex.RunningSprites().size(), 20u);
    for (const auto& sprite : ex.RunningSprites()) {
        EXPECT_LE(sprite->GetWidth(), 16384.0f * 1.2f);
        EXPECT_GE(sprite->GetWidth(), 0.0f);
        EXPECT_FLOAT_EQ(sprite->GetHeight(), 0.0f);
    }
}

TEST_F(ExplosionTest, MissingFileLeavesAnEmptyManager) {
    CExplosion ex("Settings\\Missing.xml", clock_.Get());
    ex.StartExplosion("orig", 1, 1);
    EXPECT_TRUE(ex.RunningSprites().empty());
    EXPECT_NE(NewLog().find("Error: Explosions: cannot read 'Settings\\Missing.xml'"), std::string::npos);
}

}  // namespace

namespace {

// The game's own Explosions.xml with its animations, textures and effects.
TEST_F(ExplosionTest, GameExplosionsLoadAndEveryOneEnds) {
    fs::current_path(VOVARO_DATA_DIR);
    ASSERT_TRUE(loader_->LoadLibrary("Textures\\Plume\\Effects.plume"));
    CExplosion ex("Settings\\Explosions.xml", clock_.Get());
    CXMLFile xml("Settings\\Explosions.xml");
    const CXMLNodeList nodes = xml.SelectNodes("//Explosions/Explosion");
    ASSERT_GT(nodes.GetLength(), 15);
    int sprites = 0;
    for (int i = 0; i < nodes.GetLength(); ++i) {
        const std::string alias = nodes.GetItem(i).GetAttribute("alias", "");
        const CExplosion::Description* d = ex.FindDescription(alias);
        ASSERT_NE(d, nullptr) << alias;
        if (!d->is_plume) {
            ++sprites;
            EXPECT_GT(d->animation.GetFrameCount(), 0) << alias;
            EXPECT_TRUE(d->animation.IsAnimateOnce() || d->animation.GetFrameCount() == 1) << alias;
            EXPECT_EQ(d->animation.GetFrame(), 0) << alias << " starts on its first frame";
        }
        ex.StartExplosion(alias, 400, 300);
    }
    EXPECT_GE(sprites, 4);
    EXPECT_EQ(NewLog().find("Error"), std::string::npos) << NewLog();
    int frames = 0;
    BeginDraw();
    for (; frames < 60 * 6 && (!ex.RunningSprites().empty() || !ex.RunningEmitters().empty()); ++frames) {
        clock_.Advance(16);
        ex.Update();
    }
    ReadBack();
    EXPECT_TRUE(ex.RunningSprites().empty());
    EXPECT_TRUE(ex.RunningEmitters().empty());
}

}  // namespace
