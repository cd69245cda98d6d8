#pragma once
// A 4 x 5 balls field (see balls_test_support.h) seen through the fake
// bonus data source, with a bonus configuration of its own in the scratch
// Settings\Bonus.xml, explosions recorded, and the bonus list on the fake.
#include <algorithm>
#include <stdexcept>
#include <string>
#include <vector>

#include "balls_test_support.h"
#include "fake_bonus_data_source.h"
#include "field/bonus_config.h"
#include "field/bonus_list.h"

namespace field_test {

inline const char* const kTestBonusXml = R"(<Bonuses>
  <Dynamite sample="dynamite_sample">
    <DefaultCfg radius="1" expl_alias="dynamite_blast"/>
    <IntensiveCfg radius="2" expl_alias="dynamite_big_blast"/>
  </Dynamite>
  <SlowDown sample="slow_sample">
    <DefaultCfg active_time="700"/>
    <IntensiveCfg active_time="1000"/>
  </SlowDown>
  <Burner sample="burner_sample"/>
  <Lightning sample="lightning_sample" wait="2 4" wait_offset="1" life="3 5">
    <DefaultCfg max_kill="10" vovaro_kill="1"/>
    <IntensiveCfg max_kill="3" vovaro_kill="2"/>
  </Lightning>
  <Mixer sample="mixer_sample" expl_alias="mixer_fx" label_name="mixer_label" score="50" label_offset="4 -6"/>
  <Killer sample="killer_sample">
    <Feather expl_alias="feather_fx" priority_graph_type="3" sample="feather_sample" unallowed_graph_type="2, 9"/>
    <Egg expl_alias="egg_fx" priority_graph_type="2" sample="egg_sample"/>
  </Killer>
</Bonuses>)";

class BonusTest : public BallsFieldTest {
protected:
    void SetUp() override {
        BallsFieldTest::SetUp();
        data_test::WriteBytes("Settings/Bonus.xml", kTestBonusXml);
        CBonusConfig::Forget();
        LoadLevel(TestLevelXml());
        data_.balls = balls_.get();
        list_.SetDataSource(&data_);
    }
    void TearDown() override {
        list_.Clear();
        CBonusConfig::Forget();
        BallsFieldTest::TearDown();
    }
    void Updates(int n) {
        for (int i = 0; i < n; ++i) {
            NextFrame();
            list_.Update();
        }
    }
    // The bonus the list holds at `index`, as its class.
    template <class Bonus>
    Bonus& Get(size_t index = 0) {
        auto* bonus = dynamic_cast<Bonus*>(list_.GetBonuses().at(index).get());
        if (!bonus) throw std::runtime_error("the list holds another bonus there");
        return *bonus;
    }
    // The cells of the calls, sorted.
    static std::vector<int> Cells(const std::vector<FakeBonusDataSource::CellValue>& calls) {
        std::vector<int> cells;
        for (const auto& call : calls) cells.push_back(call.cell);
        std::sort(cells.begin(), cells.end());
        return cells;
    }

    ScopedExplosionRecorder explosions_;
    FakeBonusDataSource data_;
    CBonusList list_;
};

}  // namespace field_test
