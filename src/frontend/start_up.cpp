#include "frontend/start_up.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <stdexcept>

#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "profiles/app_params.h"
#include "profiles/game_settings.h"
#include "profiles/game_start_request.h"

namespace {

constexpr uint32_t kFarewellPause = 1000;

// Settings and screen bounds; false (logged with the place) when either fails.
bool ReadSettings(IStartUpHost& host, GameOptions& options) {
    try {
        if (!host.LoadSettings(options)) throw std::runtime_error("Fatal error!");
        g_AppParams.keys = options.keys ? 1 : 0;
        int32_t left = 0, right = 0;
        host.ReadScreenBounds(left, right);
        g_AppParams.SetBounds(left, right);
        return true;
    } catch (...) {
        LogCurrentException("WinMain");
        return false;
    }
}

bool StartCore(IStartUpHost& host, const GameOptions& options) {
    try {
        if (!host.InitCore(options.windowed)) throw std::runtime_error("Failed to initialize core!");
        host.OpenProfiles();
        return true;
    } catch (...) {
        LogCurrentException("WinMain");
        return false;
    }
}

bool SameText(const std::string& a, const char* b) {
    const std::string lower_b = b;
    return a.size() == lower_b.size() && std::equal(a.begin(), a.end(), lower_b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

}  // namespace

void ReadCommandLine(const std::string& line, GameStartRequest& request, CAppParams& params) {
    int episode = request.episode, level = request.level, third = params.third_number;
    std::sscanf(line.c_str(), "%d %d %d", &episode, &level, &third);
    request.episode = episode;
    request.level = level;
    params.third_number = third;
}

uint32_t ChooseActivePlayer(int32_t settings_player, uint32_t player_count) {
    return settings_player >= 0 && static_cast<uint32_t>(settings_player) < player_count
               ? static_cast<uint32_t>(settings_player)
               : 0;
}

int OpenStatisticsPage(const std::string& url, const UrlOpener& opener, const std::string& video_driver) {
    if (!opener || SameText(video_driver, "dummy")) return 0;
    return opener(url);
}

int RunStartUp(IStartUpHost& host, const std::string& command_line) {
    if (!host.PrepareUserFolder()) return kExitUserFolder;
    host.InstallFaultTranslation();
    // The lock comes before the log: a second copy must not empty the log of
    // the copy that runs (the host says why it stops).
    switch (host.AcquireInstance()) {
        case IStartUpHost::Instance::Acquired: break;
        case IStartUpHost::Instance::HeldElsewhere: return kExitOk;
        case IStartUpHost::Instance::Unavailable: return kExitLockFile;
    }
    CLogger& log = CLogger::Instance();
    log.Log(0, "Running game...");

    GameOptions options;
    if (!ReadSettings(host, options)) return kExitStartFailed;
    host.LogSystemReport();
    if (g_AppParams.keys) ReadCommandLine(command_line, g_GameStartRequest, g_AppParams);
    if (!StartCore(host, options)) return kExitStartFailed;
    host.SetWindowModeCallback();
    host.SetActivePlayer(ChooseActivePlayer(options.player, host.GetPlayerCount()));

    const bool ran = host.RunGame(options);
    host.ReleaseInstance();
    if (!ran) return kExitStartFailed;
    log.Log(0, "Game Finished.");
    const std::string stats_url = host.GetStatsPageUrl();
    if (const int error = host.OpenWebPage(stats_url); error != 0)
        log.Log(2, "Fail 'open' launch %s: error %d", stats_url.c_str(), error);
    host.Sleep(kFarewellPause);
    return kExitOk;
}
