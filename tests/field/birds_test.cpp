// The birds on a small field: loading their states, the state changes and
// the commands, the three condition kinds, entering from above, the summary
// flags, the events the field sends and the saved block.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "birds_test_support.h"
#include "engine/random.h"
#include "engine/xml_file.h"
#include "field/birds.h"
#include "field/sound.h"
#include "field_test_support.h"
#include "graphics/object_2d.h"

namespace {

using Placements = std::vector<std::pair<int, int>>;

// A 4 x 4 field of 36-pixel cells at (100, 100): cell c lies at
// (100 + 36 (c % 4), 100 + 36 (c / 4)).
class BirdsTest : public field_test::SmallFieldTest {
protected:
    void SetUp() override {
        SmallFieldTest::SetUp();
        sounds_ = &field_test::InstallRecordingSoundKeeper();
        SetUpField(4, 4);
        birds_ = Make(Description());
    }
    void TearDown() override {
        birds_.reset();
        SmallFieldTest::TearDown();
    }

    std::string State(int id, const std::string& attributes, const std::string& body) const {
        return "<State id=\"" + std::to_string(id) + "\" " + attributes + "><graphics texture=\"" + texture_ +
               "\" width=\"30\" height=\"30\" tex_rect=\"0 0 8 8\"><animation file=\"once.xml\"/></graphics>" + body +
               "</State>";
    }
    std::string Description() const {
        return "<Birds><Bird>" +
               State(1, "", "<condition/>") + State(13, "", "<condition/>") +
               State(2, "explosion=\"feathers\"", "<sound alias=\"alarm\"/><condition if=\"3\" next_state=\"6\"/>") +
               State(4, "speed=\"10\"",
                     "<sound alias=\"\" mode=\"Pause\" delay=\"5\"/><sound alias=\"flap\"/>"
                     "<condition if=\"1\" next_state=\"3\" wait=\"1\" no_user_imput=\"1\"/>") +
               State(3, "", "<condition if=\"3\" next_state=\"13\" wait=\"1\"/>") +
               State(5, "dir=\"1 0\" speed=\"50\"", "<condition if=\"2\" next_state=\"251\" wait=\"1\"/>") +
               State(6, "", "<condition game_over=\"1\" flag=\"7\"/>") +
               State(7, "", "<condition if=\"3\" next_state=\"13\"/>") +
               State(8, "", "<condition/>") + State(9, "", "<condition if=\"3\" next_state=\"13\"/>") +
               State(10, "", "<condition/>") + State(11, "", "<condition if=\"3\" next_state=\"13\"/>") +
               State(12, "", "<condition if=\"3\" next_state=\"13\"/>") +
               State(20, "", "<condition if=\"3\"/>") +
               State(21, "speed=\"0\"", "<condition if=\"1\" next_state=\"1\"/>") +
               State(22, "", "<condition if=\"3\" then=\"1\" next_state=\"1\"/>") + "</Bird></Birds>";
    }
    std::unique_ptr<CBirds> Make(const std::string& xml, IBirdsOwner* owner = nullptr) {
        const auto document = field_test::ParseXml(xml);
        return std::make_unique<CBirds>(owner ? owner : &field_, *document, "//Birds/Bird");
    }
    // Birds at cells 0, 1, 2 ... in the given states.
    void Birds(const std::vector<int>& states) {
        Placements placements;
        for (size_t i = 0; i < states.size(); ++i) placements.emplace_back(static_cast<int>(i), states[i]);
        birds_->CreateBirds(placements, false);
    }
    std::vector<int> States() const {
        std::vector<int> states;
        for (const Bird& bird : birds_->GetBirds()) states.push_back(bird.state);
        return states;
    }
    C2DObject& Sprite(size_t i) const { return *birds_->GetBirds()[i].obj; }
    // Draws the birds `n` times: their animations advance as they are drawn.
    void Draw(int n) {
        for (int i = 0; i < n; ++i) birds_->Render();
    }

    field_test::RecordingSoundKeeper* sounds_ = nullptr;
    std::unique_ptr<CBirds> birds_;
};

TEST_F(BirdsTest, StatesAreLoadedWithTheirFlightSoundsAndCondition) {
    BirdDesc desc;
    ASSERT_TRUE(birds_->GetBird(4, desc));
    EXPECT_EQ(desc.speed, 10);
    ASSERT_EQ(desc.sounds.size(), 2u);
    EXPECT_EQ(desc.sounds[0].delay, 5);
    EXPECT_EQ(desc.sounds[1].alias, "flap");
    EXPECT_EQ(desc.condition.if_kind, 1);
    EXPECT_EQ(desc.condition.next_state, 3);
    EXPECT_TRUE(desc.condition.wait);
    EXPECT_TRUE(desc.condition.no_user_imput);
    EXPECT_FALSE(desc.condition.game_over);
    EXPECT_EQ(desc.graphics.width, 30);

    ASSERT_TRUE(birds_->GetBird(5, desc));
    EXPECT_EQ(desc.dir, CVector2(1, 0));
    ASSERT_TRUE(birds_->GetBird(6, desc));
    EXPECT_TRUE(desc.condition.game_over);
    EXPECT_EQ(desc.condition.flag, 7);
    EXPECT_FALSE(birds_->GetBird(99, desc));

    // A missing file or node loads nothing; the file's failure is logged.
    EXPECT_EQ(CBirds(&field_, *field_test::ParseXml(Description()), "//Birds/None").GetDescriptionCount(), 0u);
    CBirds missing(&field_, "Settings\\no_such_birds.xml", "//Birds/Bird");
    EXPECT_EQ(missing.GetDescriptionCount(), 0u);
    EXPECT_NE(NewLog().find("no_such_birds.xml"), std::string::npos);
}

TEST_F(BirdsTest, SetBirdStateTable) {
    struct Case {
        int target;
        int state;
        bool active;
        bool new_sprite;
    } cases[] = {
        {1, 1, true, false},    // the current state: nothing
        {250, 1, true, false},  // no change
        {251, 1, false, false}, // inactive, nothing else
        {13, 13, true, true},
    };
    for (const Case& c : cases) {
        Birds({1});
        const C2DObject* before = &Sprite(0);
        birds_->SetBirdStateAt(0, c.target);
        const Bird& bird = birds_->GetBirds()[0];
        EXPECT_EQ(bird.state, c.state) << c.target;
        EXPECT_EQ(bird.active, c.active) << c.target;
        EXPECT_EQ(bird.obj.get() != before, c.new_sprite) << c.target;
    }
    // 252 switches a bird back on.
    birds_->SetBirdStateAt(0, CBirds::kDeactivate);
    birds_->SetBirdStateAt(0, CBirds::kActivate);
    EXPECT_TRUE(birds_->GetBirds()[0].active);
    // Past the last bird: ignored.
    birds_->SetBirdStateAt(5, 13);
    EXPECT_EQ(States(), std::vector<int>({13}));
    EXPECT_THROW(birds_->SetBirdState(nullptr, 13), std::runtime_error);
}

TEST_F(BirdsTest, EnteringAStateReplacesTheSpriteAtTheCellKeepsItsAlphaAndPlaysTheEntry) {
    field_test::ScopedExplosionRecorder explosions;
    Birds({1, 13});
    Sprite(1).SetPosition(10, 10);
    Sprite(1).SetAlpha(100, kAllCorners);
    birds_->SetBirdStateAt(1, 2);

    const Bird& bird = birds_->GetBirds()[1];
    EXPECT_EQ(bird.state, 2);
    EXPECT_EQ(bird.condition.next_state, 6);
    EXPECT_FLOAT_EQ(bird.obj->GetLeft(), 136);
    EXPECT_FLOAT_EQ(bird.obj->GetTop(), 100);
    EXPECT_EQ(bird.obj->GetAlpha(0), 100);
    ASSERT_EQ(explosions->explosions.size(), 1u);
    EXPECT_EQ(explosions->explosions[0].name, "feathers");
    EXPECT_FLOAT_EQ(explosions->explosions[0].x, 154);
    EXPECT_FLOAT_EQ(explosions->explosions[0].y, 118);
    birds_->Update();
    EXPECT_EQ(sounds_->CountPlayed("alarm"), 1);

    // A state without a description stops the change and leaves the bird as it was.
    EXPECT_THROW(birds_->SetBirdStateAt(1, 42), std::runtime_error);
    EXPECT_EQ(birds_->GetBirds()[1].state, 2);
    EXPECT_NE(NewLog().find("Assert failed"), std::string::npos);
}

TEST_F(BirdsTest, ReachingTheCellStepsBySpeedThenSnaps) {
    Birds({13, 13});
    birds_->SetBirdStateAt(0, 4);  // kind 1, speed 10, then state 3
    Sprite(0).SetPosition(136 - 100, 75);  // 25 px above, 100 px left of cell 0's top-left
    const float start_x = Sprite(0).GetLeft();
    birds_->Update();
    EXPECT_EQ(birds_->GetBirds()[0].state, 4);
    EXPECT_NEAR(Length(CVector2(Sprite(0).GetLeft() - start_x, Sprite(0).GetTop() - 75)), 10.0f, 1e-4);
    for (int i = 0; i < 20 && birds_->GetBirds()[0].state == 4; ++i) birds_->Update();
    EXPECT_EQ(birds_->GetBirds()[0].state, 3);
    EXPECT_FLOAT_EQ(Sprite(0).GetLeft(), 100);
    EXPECT_FLOAT_EQ(Sprite(0).GetTop(), 100);

    // Speed 0 never arrives, unless the bird sits on its cell already.
    birds_->SetBirdStateAt(1, 21);
    for (int i = 0; i < 3; ++i) birds_->Update();
    EXPECT_EQ(birds_->GetBirds()[1].state, 1);
    birds_->SetBirdStateAt(1, 21);
    Sprite(1).Move(0, -5);
    for (int i = 0; i < 3; ++i) birds_->Update();
    EXPECT_EQ(birds_->GetBirds()[1].state, 21);
}

TEST_F(BirdsTest, LeavingTheScreenAlongItsDirection) {
    Birds({13});
    birds_->SetBirdStateAt(0, 5);  // right at 50 px a tick, then inactive
    int ticks = 0;
    while (birds_->GetBirds()[0].active && ticks < 100) {
        birds_->Update();
        ++ticks;
    }
    // From x = 100 the left edge passes 800 on the fifteenth tick.
    EXPECT_EQ(ticks, 15);
    EXPECT_EQ(birds_->GetBirds()[0].state, 5);
    EXPECT_FLOAT_EQ(Sprite(0).GetLeft(), 850);
}

TEST_F(BirdsTest, AnAnimationThatEndsMovesOnAndLandsTheBird) {
    field_.balls[4] = 0;  // a resting ball under cell 0
    Birds({7});
    birds_->Update();
    EXPECT_EQ(States(), std::vector<int>({7}));
    Draw(4);
    EXPECT_FALSE(Sprite(0).IsAnimationRunning());
    birds_->Update();
    EXPECT_EQ(States(), std::vector<int>({1}));  // 13 first, then the landing check

    // next_state 0: met on every tick, nothing changes.
    birds_->SetBirdStateAt(0, 20);
    Draw(4);
    for (int i = 0; i < 3; ++i) birds_->Update();
    EXPECT_EQ(States(), std::vector<int>({20}));

    // then = 1: the bird enters from above; a single bird starts at y = 0.
    birds_->SetBirdStateAt(0, 22);
    Draw(4);
    birds_->Update();
    EXPECT_FLOAT_EQ(Sprite(0).GetTop(), 0);
    EXPECT_FLOAT_EQ(Sprite(0).GetLeft(), 100);
}

TEST_F(BirdsTest, SummaryFlagsOverAllBirds) {
    struct Case {
        std::vector<int> states;
        int deactivate;  // index of a bird switched off, -1 none
        bool game_over, input_blocked, waiting;
    } cases[] = {
        {{}, -1, false, false, false},  // no bird: no lost life, no blocked input
        {{6}, -1, true, true, false},
        {{6, 6}, -1, true, true, false},
        {{6, 1}, -1, false, false, false},
        {{6, 1}, 1, false, false, false},  // an inactive bird clears game over
        {{4}, -1, false, true, true},
        {{4, 1}, -1, false, false, true},
        {{6}, 0, false, false, false},  // nothing active
    };
    for (const Case& c : cases) {
        Birds(c.states);
        if (c.deactivate >= 0) birds_->SetBirdStateAt(static_cast<size_t>(c.deactivate), CBirds::kDeactivate);
        birds_->Update();
        EXPECT_EQ(birds_->IsGameOver(), c.game_over) << testing::PrintToString(c.states) << c.deactivate;
        EXPECT_EQ(birds_->IsInputBlocked(), c.input_blocked) << testing::PrintToString(c.states) << c.deactivate;
        EXPECT_EQ(birds_->IsWaiting(), c.waiting) << testing::PrintToString(c.states) << c.deactivate;
    }
    Birds({6});
    birds_->Update();
    birds_->Clear();
    EXPECT_FALSE(birds_->IsGameOver());
}

TEST_F(BirdsTest, LevelSetUpPutsBirdsOnGeneratorsThatEnterFromAboveEachWithItsOwnSoundDelay) {
    field_.generators = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    rt::srand(7);
    birds_->SetupLevelBirds();
    birds_->SetupLevelBirds();  // a second set-up must not compound the delays
    BirdDesc desc;
    ASSERT_TRUE(birds_->GetBird(4, desc));
    EXPECT_EQ(desc.sounds[0].delay, 5);

    ASSERT_EQ(States(), std::vector<int>({4, 4, 4, 4}));
    std::vector<int> heights;
    for (size_t i = 0; i < 4; ++i) {
        const Bird& bird = birds_->GetBirds()[i];
        EXPECT_EQ(bird.cell, static_cast<int>(i));
        EXPECT_FLOAT_EQ(bird.obj->GetLeft(), 100.0f + 36.0f * static_cast<float>(i));
        EXPECT_EQ(bird.obj->GetAlpha(0), 255);
        const int r = static_cast<int>(-bird.obj->GetTop() / 36.0f);
        EXPECT_FLOAT_EQ(bird.obj->GetTop(), -36.0f * static_cast<float>(r));
        heights.push_back(r);

        // Each bird's flap waits five ticks per cell of height.
        sounds_->Reset();
        int tick = 0;
        while (sounds_->CountPlayed("flap") == 0 && tick < 60) {
            bird.sound->Update();
            ++tick;
        }
        EXPECT_EQ(tick, r == 0 ? 2 : 1 + 5 * r) << "bird " << i << " r " << r;
    }
    EXPECT_NE(*std::min_element(heights.begin(), heights.end()), *std::max_element(heights.begin(), heights.end()));

    // A fly-in state without sounds enters all the same.
    auto quiet = Make("<Birds><Bird>" + State(4, "speed=\"10\"", "<condition if=\"1\"/>") + "</Bird></Birds>");
    quiet->SetupLevelBirds();
    EXPECT_EQ(quiet->GetBirds().size(), 4u);
}

TEST_F(BirdsTest, RowFallenAndDropCells) {
    Birds({1, 13, 7, 12, 6, 2});
    birds_->OnRowFallen({0, 2, 5});
    EXPECT_EQ(States(), std::vector<int>({2, 13, 7, 12, 6, 2}));

    Birds({1, 12, 13, 6, 7, 2});
    std::vector<DropCell> cells;
    birds_->GetDropCells(cells);
    EXPECT_EQ(cells, std::vector<DropCell>({{0, 0}, {1, 0}, {2, 0}, {3, 1}}));
    // A resting (or waking) bird anywhere holds back the special drops.
    birds_->SetBirdStateAt(4, 8);
    cells.clear();
    birds_->GetDropCells(cells);
    EXPECT_EQ(cells, std::vector<DropCell>({{0, 0}, {1, 0}, {2, 0}}));

    // Among generators with a delay of at least 3; a negative delay counts as larger.
    field_.generators = {{0, 0}, {1, 5}, {3, -1}};
    Birds({1, 13, 13, 6});
    cells.clear();
    birds_->GetDropCellsAmong(3, cells);
    EXPECT_EQ(cells, std::vector<DropCell>({{1, 0}, {3, 1}}));
    field_.generators = {{0, 1}};
    cells.clear();
    birds_->GetDropCellsAmong(3, cells);
    EXPECT_TRUE(cells.empty());
    auto ownerless = std::make_unique<CBirds>(nullptr, *field_test::ParseXml(Description()), "//Birds/Bird");
    ownerless->CreateBirds({{0, 1}}, false);
    ownerless->GetDropCellsAmong(0, cells);
    EXPECT_TRUE(cells.empty());
}

TEST_F(BirdsTest, LandingCheckReadsTheBallBelow) {
    // Cells 0..3 have 4..7 below; cell 12 is on the bottom row.
    field_.balls = {{4, 0}, {5, 2}, {7, 3}};
    birds_->CreateBirds({{0, 13}, {1, 1}, {2, 1}, {3, 13}, {12, 13}, {8, 7}}, false);
    birds_->CheckLanding();
    // resting -> 1, moving -> 13, empty -> 13, dying -> 1, nothing below -> kept, not landing -> kept
    EXPECT_EQ(States(), std::vector<int>({1, 13, 13, 1, 13, 7}));

    for (int stage : {2, 3}) {
        field_.stage = stage;
        birds_->CreateBirds({{0, 13}}, false);
        birds_->CheckLanding();
        EXPECT_EQ(States(), std::vector<int>({13})) << stage;
    }
}

TEST_F(BirdsTest, HammerStrikesTheFirstBirdUnderThePointerThatCanBeStruck) {
    Birds({1, 2, 12});
    CEngineCore::Instance().GetMouse()->SetPosition(150, 115, 0);  // over cell 1's bird only
    EXPECT_FALSE(birds_->HitByHammer());  // state 2 cannot be struck
    CEngineCore::Instance().GetMouse()->SetPosition(115, 115, 0);  // cell 0
    EXPECT_TRUE(birds_->HitByHammer());
    EXPECT_EQ(States(), std::vector<int>({7, 2, 12}));
    EXPECT_FALSE(birds_->HitByHammer());  // struck already
    CEngineCore::Instance().GetMouse()->SetPosition(185, 115, 0);
    EXPECT_TRUE(birds_->HitByHammer());
    EXPECT_EQ(States(), std::vector<int>({7, 2, 7}));
    birds_->SetStateUnderMouse(10);
    EXPECT_EQ(States(), std::vector<int>({7, 2, 10}));
    CEngineCore::Instance().GetMouse()->SetPosition(0, 0, 0);
}

TEST_F(BirdsTest, SlowDownCalmsTheFreeBirdsAndWakesThem) {
    field_.balls = {{4, 0}};
    Birds({1, 2, 6, 10, 11, 13, 12});
    birds_->OnSlowDown(true);
    EXPECT_EQ(States(), std::vector<int>({8, 2, 6, 10, 11, 8, 8}));
    birds_->OnSlowDown(false);
    EXPECT_EQ(States(), std::vector<int>({9, 2, 6, 10, 11, 9, 9}));
}

TEST_F(BirdsTest, LevelEndSendsTheWorkingBirdsOffColumnByColumn) {
    birds_->CreateBirds({{2, 1}, {1, 6}, {4, 13}, {3, 11}, {0, 10}}, false);
    birds_->OnLevelEnd();
    EXPECT_EQ(States(), std::vector<int>({10, 6, 10, 10, 10}));

    birds_->CreateBirds({{2, 1}, {1, 6}, {4, 13}, {3, 11}, {6, 10}}, false);
    std::vector<int> columns {9};
    birds_->GetBirdColumns(columns);
    EXPECT_EQ(columns, std::vector<int>({9, 0, 2, 2}));  // appended, sorted, one per bird
    birds_->SendBirdInColumn(2);
    EXPECT_EQ(States(), std::vector<int>({5, 6, 13, 11, 10}));
    birds_->SendBirdInColumn(1);  // the trapped bird is not sent
    EXPECT_EQ(States(), std::vector<int>({5, 6, 13, 11, 10}));
}

TEST_F(BirdsTest, TheEggFreesTrappedBirdsOrPaysTheWorkingOnes) {
    Birds({6, 1, 13});
    birds_->UseEgg();
    EXPECT_EQ(States(), std::vector<int>({11, 1, 13}));
    EXPECT_TRUE(field_.scores.empty());

    Birds({1, 11, 5, 13, 8});
    birds_->UseEgg();
    EXPECT_EQ(States(), std::vector<int>({12, 11, 5, 12, 12}));
    ASSERT_EQ(field_.scores.size(), 3u);
    EXPECT_FLOAT_EQ(field_.scores[0].x, 118);
    EXPECT_FLOAT_EQ(field_.scores[0].y, 118);
    EXPECT_FLOAT_EQ(field_.scores[1].x, 226);
    for (const auto& score : field_.scores) {
        EXPECT_EQ(score.points, 100);
        EXPECT_EQ(score.label, "bird_bonus");
        EXPECT_EQ(score.flag, 1);
    }
}

TEST_F(BirdsTest, BirdsByStateAndByCell) {
    Birds({1, 13, 1});
    std::vector<int> cells;
    EXPECT_FALSE(birds_->GetBirdsInState(1, cells));
    EXPECT_EQ(cells, std::vector<int>({0, 2}));
    EXPECT_TRUE(birds_->GetBirdsInState(6, cells));
    EXPECT_TRUE(birds_->HasBirdInState(13));
    birds_->SetStateAtCells({1, 2}, 8);
    EXPECT_EQ(States(), std::vector<int>({1, 8, 8}));
    birds_->PlaceBird(3);
    // The landing check that follows finds nothing under the first bird either.
    EXPECT_EQ(States(), std::vector<int>({13, 8, 8, 13}));
}

TEST_F(BirdsTest, SavedBlockKeepsTrappedBirdsAndLetsTheOthersLandAgain) {
    field_.generators = {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {5, 0}, {6, 0}};
    birds_->CreateBirds({{0, 1}, {1, 2}, {2, 4}, {3, 6}, {5, 7}, {6, 13}}, false);
    CXMLFile xml;
    ASSERT_TRUE(xml.CreateRoot("Suspended"));
    CXMLNode root = xml.SelectSingleNode("/Suspended");
    EXPECT_TRUE(birds_->Serialize(xml, root));
    const CXMLNodeList saved = root.SelectNodes("Birds/Bird");
    ASSERT_EQ(saved.GetLength(), 6);
    const int cells[] = {0, 1, 2, 3, 5, 6};
    const int states[] = {13, 6, 13, 6, 13, 13};
    for (int i = 0; i < 6; ++i) {
        EXPECT_EQ(saved.GetItem(i).GetAttributeInt("cell_index", -9), cells[i]);
        EXPECT_EQ(saved.GetItem(i).GetAttributeInt("state", -9), states[i]);
    }

    birds_->Clear();
    EXPECT_TRUE(birds_->Deserialize(root));
    EXPECT_EQ(States(), std::vector<int>(std::begin(states), std::end(states)));
    EXPECT_FLOAT_EQ(Sprite(4).GetLeft(), 136);
    EXPECT_FLOAT_EQ(Sprite(4).GetTop(), 136);

    // An empty block leaves the birds as they are.
    EXPECT_TRUE(birds_->Deserialize(field_test::XmlNode("<Suspended><Birds/></Suspended>")));
    EXPECT_EQ(birds_->GetBirds().size(), 6u);
}

TEST_F(BirdsTest, DamagedSavedBirdsComeBackSettledOrAreSkippedAndReported) {
    // The writer writes only states 6 and 13: any other state, or none, comes
    // back settled; a cell outside the field is skipped.
    const CXMLNode root = field_test::XmlNode(R"(<Suspended><Birds>
        <Bird cell_index="0" state="6"/>
        <Bird cell_index="1" state="99"/>
        <Bird cell_index="2"/>
        <Bird cell_index="2147483647" state="13"/>
        <Bird cell_index="-1" state="13"/>
        <Bird cell_index="3" state="-2147483648"/>
      </Birds></Suspended>)");
    field_.generators = {{0, 0}, {1, 0}, {2, 0}, {3, 0}};
    EXPECT_FALSE(birds_->Deserialize(root));
    EXPECT_EQ(States(), std::vector<int>({6, 13, 13, 13}));
    std::vector<int> cells;
    for (const Bird& bird : birds_->GetBirds()) cells.push_back(bird.cell);
    EXPECT_EQ(cells, std::vector<int>({0, 1, 2, 3}));
    const std::string log = NewLog();
    EXPECT_NE(log.find("state 99"), std::string::npos) << log;
    EXPECT_NE(log.find("cell 2147483647"), std::string::npos) << log;
}

// Every bird is drawn and run in every frame: a save with more birds than the
// level has entry cells gets as many back as there are cells, and the rest of
// the save still counts.
TEST_F(BirdsTest, ASaveWithMoreBirdsThanEntryCellsGetsOneForEachCell) {
    std::string text = "<Suspended><Birds>";
    for (int i = 0; i < 10000; ++i) text += "<Bird cell_index=\"" + std::to_string(i % 4) + "\" state=\"13\"/>";
    const CXMLNode root = field_test::XmlNode(text + "</Birds></Suspended>");
    for (const size_t cells : {0u, 1u, 3u}) {
        SCOPED_TRACE(cells);
        field_.generators.clear();
        for (size_t i = 0; i < cells; ++i) field_.generators.push_back({static_cast<int>(i), 0});
        EXPECT_TRUE(birds_->Deserialize(root));
        EXPECT_EQ(birds_->GetBirds().size(), cells);
    }
    EXPECT_NE(NewLog().find("the saved game has more birds than the level's 3 entry cells; the birds from 3 on are "
                            "left out."),
              std::string::npos);
}

}  // namespace
