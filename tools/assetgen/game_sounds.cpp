// The heads-up panel's own sample: the soft shimmer of an available tool's
// blink ("tool_blink" in Settings\Samples.xml).
#include <string>
#include <vector>

#include "generator_registry.h"
#include "sound_synth.h"

namespace {

using namespace assetgen::synth;

constexpr int kRate = 44100;
constexpr double kPeak = 0.35;  // quieter than the field's sounds: these repeat in play

void Generate(const std::string& data_dir) {
    Signal blink(kRate, 0.5);
    const std::vector<double> glass {1.0, 2.0, 3.01, 4.2};
    AddBell(blink, 0.0, NoteHz(93), 0.35, 0.4, glass, 0.12);
    AddBell(blink, 0.08, NoteHz(100), 0.35, 0.3, glass, 0.1);
    AddNoise(blink, MakeNoise(0, 0.3, 6000, 9000, 0.08, 0.12, 0.02, 71, 0.7));
    Finish(blink, kPeak);
    WriteWav(data_dir + "/Sounds/tool_blink.wav", blink);
}

}  // namespace

ASSET_GENERATOR("game_sounds", Generate);
