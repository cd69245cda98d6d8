#pragma once
// Test doubles shared by the tests of the field and of the game scene:
//  - FakeClock: a 32-bit millisecond clock moved by hand (it wraps like the
//    real one);
//  - ParseXml / XmlNode: documents and elements from strings;
//  - RecordingSoundKeeper: records sample loads and plays and keeps channels
//    that behave, installed in the engine core;
//  - RecordingExplosionManager: records the explosions and emitters started,
//    installed for one test by ScopedExplosionRecorder;
//  - FieldGlobalsScope: fresh field globals for one test (default
//    configurations, empty bases), loaded from strings where a test needs it.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "engine/base_app.h"
#include "engine/engine_core.h"
#include "engine/game_clock.h"
#include "engine/sound_keeper.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "field/animation_cache.h"
#include "field/ball_tables.h"
#include "field/field_globals.h"
#include "field/game_cfg.h"
#include "field/graph_obj_manager.h"
#include "field/level_cfg.h"
#include "field/seconds_counter.h"
#include "graphics/explosion.h"
#include "gui/gui_test_support.h"

namespace field_test {

// ---------------------------------------------------------------- clock

struct FakeClock {
    uint32_t now = 0;

    // A clock that reads `now` (the FakeClock must outlive its users).
    MsClock AsClock() {
        return [this] { return now; };
    }
    void Advance(uint32_t ms) { now += ms; }
};

// One frame period of game time: what the main loop hands the scene before
// each update. Every update loop of these tests calls it once per update.
inline void NextFrame() { GameClock().Advance(g_FramePeriod); }

// ---------------------------------------------------------------- XML

inline std::unique_ptr<CXMLFile> ParseXml(std::string_view text) {
    auto file = std::make_unique<CXMLFile>();
    EXPECT_TRUE(file->Parse(text)) << text;
    return file;
}

// The first node at `path` of a document parsed from `text`; the node keeps
// its document alive.
inline CXMLNode XmlNode(std::string_view text, std::string_view path = "/*") {
    return ParseXml(text)->SelectSingleNode(path);
}

// ---------------------------------------------------------------- sound

// The GUI tests' recorder of sample loads and plays (`loaded`, `played`),
// with channels that behave: each play or music start gets a new channel that
// plays until it is stopped or ended, with its volume, pan, pitch, position
// and slides kept, and the music registered by alias.
class RecordingSoundKeeper : public gui_test::RecordingSoundKeeper {
public:
    struct Channel {
        std::string name;
        int state = 1;  // 0 stopped, 1 playing, 3 paused
        int volume = 100;
        int pan = 0;
        float pitch = 1.0f;
        float position = 0;
        bool sliding = false;
        int slide_volume = -1;  // -1: the slide keeps the volume
        float slide_time = 0;
    };

    // Forgets every load, play, channel and music.
    void Reset() {
        loaded.clear();
        played.clear();
        channels.clear();
        music.clear();
        samples_off = false;
    }
    int CountLoaded(const std::string& name) const { return static_cast<int>(std::count(loaded.begin(), loaded.end(), name)); }
    int CountPlayed(const std::string& name) const { return static_cast<int>(std::count(played.begin(), played.end(), name)); }
    Channel* Find(uint32_t channel) {
        auto it = channels.find(channel);
        return it == channels.end() ? nullptr : &it->second;
    }
    // The sample or music on the channel has played to its end.
    void End(uint32_t channel) {
        if (Channel* ch = Find(channel)) ch->state = 0;
    }
    // Ends every running slide at its target volume, as the mixer would.
    void FinishSlides() {
        for (auto& [id, ch] : channels) {
            if (!ch.sliding) continue;
            ch.sliding = false;
            if (ch.slide_volume >= 0) ch.volume = ch.slide_volume;
        }
    }

    // 0 for an empty alias or while samples are off.
    uint32_t PlaySample(const std::string& name) override {
        gui_test::RecordingSoundKeeper::PlaySample(name);
        return name.empty() || samples_off ? 0 : Open(name);
    }
    bool LoadMusic(const std::string& alias, const CMusicDesc& desc) override {
        music[alias] = desc;
        return true;
    }
    bool FreeMusic(const std::string& alias) override { return music.erase(alias) != 0; }
    // 0 for an alias not registered or a track past its list.
    uint32_t PlayMusic(const std::string& alias, int track) override {
        auto it = music.find(alias);
        if (it == music.end() || track < 0 || static_cast<size_t>(track) >= it->second.patterns.size()) return 0;
        return Open(alias);
    }
    int GetMusicTrackCount(const std::string& alias) override {
        auto it = music.find(alias);
        return it == music.end() ? 0 : static_cast<int>(it->second.patterns.size());
    }
    bool SetVolumes(int, int sample_volume) override {
        samples_off = sample_volume == 0;
        return true;
    }
    int GetChannelVolume(uint32_t channel) override {
        const Channel* ch = Find(channel);
        return ch ? ch->volume : 0;
    }
    bool SetChannelVolume(uint32_t channel, int volume) override {
        Channel* ch = Find(channel);
        if (ch) ch->volume = volume;
        return ch != nullptr;
    }
    int GetChannelState(uint32_t channel) override {
        const Channel* ch = Find(channel);
        return ch ? ch->state : 0;
    }
    void SetChannelPan(uint32_t channel, int pan) override {
        if (Channel* ch = Find(channel)) ch->pan = pan;
    }
    void SetChannelPitch(uint32_t channel, float factor) override {
        if (Channel* ch = Find(channel)) ch->pitch = factor;
    }
    void PauseChannel(uint32_t channel) override {
        if (Channel* ch = Find(channel); ch && ch->state == 1) ch->state = 3;
    }
    void PlayChannel(uint32_t channel) override {
        if (Channel* ch = Find(channel)) ch->state = 1;
    }
    bool StopChannel(uint32_t channel) override {
        Channel* ch = Find(channel);
        if (ch) ch->state = 0;
        return ch != nullptr;
    }
    bool IsChannelPlaying(uint32_t channel) override { return GetChannelState(channel) == 1; }
    float GetChannelLength(uint32_t channel) override { return Find(channel) ? channel_length : 0; }
    float GetChannelPosition(uint32_t channel) override {
        const Channel* ch = Find(channel);
        return ch ? ch->position : 0;
    }
    void SetChannelPosition(uint32_t channel, float seconds) override {
        if (Channel* ch = Find(channel)) ch->position = seconds;
    }
    void SlideChannel(uint32_t channel, float time, int volume, int, float) override {
        if (Channel* ch = Find(channel)) {
            ch->sliding = true;
            ch->slide_volume = volume;
            ch->slide_time = time;
        }
    }
    bool IsChannelSliding(uint32_t channel) override {
        const Channel* ch = Find(channel);
        return ch && ch->sliding;
    }

    std::map<uint32_t, Channel> channels;
    std::map<std::string, CMusicDesc> music;
    bool samples_off = false;
    float channel_length = 1.0f;  // seconds, for every channel

private:
    uint32_t Open(const std::string& name) {
        const uint32_t id = ++_next_channel;
        channels[id] = Channel {name};
        return id;
    }

    uint32_t _next_channel = 0;
};

// The engine core's sound keeper is a recorder from here on (the core is built
// in the data tree, as the drawing tests build it); what it recorded before
// is forgotten. Other test fixtures install keepers of their own: a test
// program uses one kind.
inline RecordingSoundKeeper& InstallRecordingSoundKeeper() {
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(VOVARO_DATA_DIR);
    CEngineCore& core = CEngineCore::Instance();
    std::filesystem::current_path(saved);
    auto* recorder = dynamic_cast<RecordingSoundKeeper*>(core.GetSoundKeeper());
    if (!recorder) {
        auto keeper = std::make_unique<RecordingSoundKeeper>();
        recorder = keeper.get();
        core.SetSoundKeeper(std::move(keeper));
    }
    recorder->Reset();
    return *recorder;
}

// ---------------------------------------------------------------- explosions

class RecordingExplosionManager : public explosion::IExplosionManager {
public:
    struct Started {
        std::string name;
        float x, y;
        uint32_t id;  // emitters only
    };

    void Clear() override { ++clears; }
    void StartExplosion(const std::string& alias, float x, float y) override {
        explosions.push_back({alias, x, y, 0});
    }
    void Update() override { ++updates; }
    uint32_t StartEmitter(const std::string& name, float x, float y) override {
        const uint32_t id = ++_next_id;
        emitters.push_back({name, x, y, id});
        running[id] = CVector2(x, y);
        return id;
    }
    void SetEmitterPos(uint32_t id, float x, float y) override {
        if (auto it = running.find(id); it != running.end()) it->second = CVector2(x, y);
    }
    void MoveEmitter(uint32_t id, float dx, float dy) override {
        if (auto it = running.find(id); it != running.end()) it->second += CVector2(dx, dy);
    }
    bool GetEmitterPos(uint32_t id, float* x, float* y) override {
        auto it = running.find(id);
        if (it == running.end()) return false;
        *x = it->second.x;
        *y = it->second.y;
        return true;
    }
    bool HasEmitter(uint32_t id) override { return running.count(id) != 0; }
    void StopEmitter(uint32_t id) override { running.erase(id); }
    void RenderEmitters(const std::vector<uint32_t>& ids) override {
        for (uint32_t id : ids) RenderEmitter(id);
    }
    void RenderEmitter(uint32_t id) override {
        if (running.count(id)) ++renders[id];
    }

    std::vector<Started> explosions;
    std::vector<Started> emitters;
    std::map<uint32_t, CVector2> running;
    std::map<uint32_t, int> renders;
    int clears = 0;
    int updates = 0;

private:
    uint32_t _next_id = 0;
};

// explosion::GetExplosionManager answers a recorder while this lives.
class ScopedExplosionRecorder {
public:
    ScopedExplosionRecorder() {
        auto manager = std::make_unique<RecordingExplosionManager>();
        _recorder = manager.get();
        explosion::SetExplosionManager(std::move(manager));
    }
    ~ScopedExplosionRecorder() { explosion::ReleaseExplosionManager(); }
    ScopedExplosionRecorder(const ScopedExplosionRecorder&) = delete;
    ScopedExplosionRecorder& operator=(const ScopedExplosionRecorder&) = delete;

    RecordingExplosionManager& operator*() const { return *_recorder; }
    RecordingExplosionManager* operator->() const { return _recorder; }

private:
    RecordingExplosionManager* _recorder;
};

// ---------------------------------------------------------------- globals

// The field's globals for one test: empty ball tables, an empty animation
// cache, empty graph bases, the game configuration at its defaults (cell sizes cached as after a
// load) and the level geometry at its defaults; all freed at the end.
class FieldGlobalsScope {
public:
    FieldGlobalsScope() {
        ShutdownFieldGlobals();
        g_BallSubstrates.Reset(std::make_unique<std::vector<SubstrateDesc>>());
        g_BallLockGraphics.Reset(std::make_unique<std::vector<CGraphicsDesc>>());
        g_BallLockKeeper.Reset(std::make_unique<CRendererKeeper>());
        g_AnimationCache.Reset(std::make_unique<CAnimationCache>());
        g_BallsGraphBase.Reset(std::make_unique<CGraphObjManager>());
        g_TilesGraphBase.Reset(std::make_unique<CGraphObjManager>());
        g_GameCFG.Reset(std::make_unique<CGameCfg>());
        LoadGameConfig("<GameCFG/>");
        g_LevelCFG.Reset(std::make_unique<CLevelCfg>(*g_GameCFG));
    }
    ~FieldGlobalsScope() { ShutdownFieldGlobals(); }
    FieldGlobalsScope(const FieldGlobalsScope&) = delete;
    FieldGlobalsScope& operator=(const FieldGlobalsScope&) = delete;

    // `xml` holds a "GameCFG" element, e.g. R"(<GameCFG cell_w="40"/>)".
    void LoadGameConfig(std::string_view xml) { g_GameCFG->LoadGameConfig(*ParseXml(xml)); }
    // `xml` is a level element, e.g. R"(<Level><Config field_width="8"/></Level>)".
    void LoadLevel(std::string_view xml) { g_LevelCFG->LoadLevelFieldConfig(XmlNode(xml)); }
    void LoadBallsBase(std::string_view xml) { g_BallsGraphBase->Load(*ParseXml(xml)); }
    void LoadTilesBase(std::string_view xml) { g_TilesGraphBase->Load(*ParseXml(xml)); }
};

}  // namespace field_test
