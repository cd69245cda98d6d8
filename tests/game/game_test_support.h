#pragma once
// Shared by the tests of the game scene's helpers: the drawing tests' engine
// core with a sound keeper whose channels play until a test ends them, and the
// shipped data tree as the current directory.
//
// The fixture installs its own keeper into the core, so the tests of this
// folder use it rather than gui_test::GuiTest.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_core.h"
#include "graphics/core_test_support.h"
#include "gui/gui_test_support.h"

namespace game_test {

// Records loads and plays like the GUI's recording keeper, and hands out a new
// channel for every play; a channel plays until it is stopped or ended.
class ChannelSoundKeeper : public gui_test::RecordingSoundKeeper {
public:
    std::set<uint32_t> playing;
    std::vector<uint32_t> stopped;
    std::vector<std::pair<uint32_t, int>> volumes;  // (channel, volume) as set
    bool fail_plays = false;

    uint32_t PlaySample(const std::string& name) override {
        RecordingSoundKeeper::PlaySample(name);
        if (fail_plays || name.empty()) return 0;
        playing.insert(next_);
        return next_++;
    }
    bool IsChannelPlaying(uint32_t channel) override { return playing.count(channel) != 0; }
    int GetChannelState(uint32_t channel) override { return IsChannelPlaying(channel) ? 1 : 0; }
    bool SetChannelVolume(uint32_t channel, int volume) override {
        volumes.emplace_back(channel, volume);
        return IsChannelPlaying(channel);
    }
    bool StopChannel(uint32_t channel) override {
        stopped.push_back(channel);
        playing.erase(channel);
        return true;
    }

    // The sample on the channel has played to its end.
    void End(uint32_t channel) { playing.erase(channel); }
    void Reset() {
        loaded.clear();
        played.clear();
        playing.clear();
        stopped.clear();
        volumes.clear();
        fail_plays = false;
    }

private:
    uint32_t next_ = 1;
};

class GameTest : public gfx_test::CoreTest {
protected:
    void SetUp() override {
        CoreTest::SetUp();
        if (HasFatalFailure()) return;
        static ChannelSoundKeeper* keeper = [] {
            auto k = std::make_unique<ChannelSoundKeeper>();
            ChannelSoundKeeper* raw = k.get();
            CEngineCore::Instance().SetSoundKeeper(std::move(k));
            return raw;
        }();
        sounds = keeper;
        sounds->Reset();
        std::filesystem::current_path(VOVARO_DATA_DIR);
    }

    static CEngineCore& core() { return CEngineCore::Instance(); }

    ChannelSoundKeeper* sounds = nullptr;
};

}  // namespace game_test
