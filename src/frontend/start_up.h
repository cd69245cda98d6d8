#pragma once
// The order of the program's start and end, apart from the steps themselves:
// the user folder, the single instance, the settings and the screen bounds,
// the system report, the command line, the engine core and the profiles, the
// window-mode callback, the active player, the game's run, the teardown and
// the statistics page. The steps belong to a host (the real one in WinMain,
// fakes in the tests); RunStartUp calls them in order and turns their
// failures into the program's exit code.
#include <cstdint>
#include <functional>
#include <string>

struct GameOptions;
struct GameStartRequest;
struct CAppParams;

class IStartUpHost {
public:
    enum class Instance { Acquired, HeldElsewhere, Unavailable };

    virtual ~IStartUpHost() = default;

    // The per-user folder; false when it cannot be used (said by the host).
    virtual bool PrepareUserFolder() = 0;
    virtual void InstallFaultTranslation() = 0;
    // The single-instance lock, held until ReleaseInstance.
    virtual Instance AcquireInstance() = 0;
    virtual void ReleaseInstance() = 0;
    // Reads the player's settings; false when they cannot be read.
    virtual bool LoadSettings(GameOptions& options) = 0;
    // "left_bound" and "right_bound" of the game-screen panel; throws when
    // the file cannot be read.
    virtual void ReadScreenBounds(int32_t& left_bound, int32_t& right_bound) = 0;
    virtual void LogSystemReport() = 0;
    // The window, the device and the input; false on failure.
    virtual bool InitCore(bool windowed) = 0;
    // Throws when the profile database cannot be opened.
    virtual void OpenProfiles() = 0;
    virtual void SetWindowModeCallback() = 0;
    virtual uint32_t GetPlayerCount() = 0;
    virtual void SetActivePlayer(uint32_t index) = 0;
    // Everything from the application object to its destruction: the game
    // runs until the player quits. False when the game could not start or
    // an exception ended its loop (logged by the host).
    virtual bool RunGame(const GameOptions& options) = 0;
    // The address of the statistics page opened at the end.
    virtual std::string GetStatsPageUrl() const = 0;
    // Opens a page: 0 when it opened, else an error code.
    virtual int OpenWebPage(const std::string& url) = 0;
    virtual void Sleep(uint32_t ms) = 0;
};

// Exit codes of the program.
constexpr int kExitOk = 0;             // also when another copy runs already
constexpr int kExitStartFailed = 1;    // a start-up step failed, or an error ended the run (logged)
constexpr int kExitUserFolder = 2;     // the per-user folder cannot be created or written
constexpr int kExitLockFile = 3;       // the single-instance lock file cannot be opened

// Runs the start, the game and the end in order. `command_line` holds the
// start position ("%d %d %d"), read only when the "keys" setting is on.
int RunStartUp(IStartUpHost& host, const std::string& command_line);

// "%d %d %d": episode and level of the request and the third number; numbers
// that are missing leave their fields as they are.
void ReadCommandLine(const std::string& line, GameStartRequest& request, CAppParams& params);
// The player the settings name when it exists, else the first one.
uint32_t ChooseActivePlayer(int32_t settings_player, uint32_t player_count);

// Opens the statistics page with `opener` (0 when opened, else an error
// code) and gives its answer; under the dummy video driver, which has no
// desktop to show a page on, the opener is not called and the answer is 0.
using UrlOpener = std::function<int(const std::string& url)>;
int OpenStatisticsPage(const std::string& url, const UrlOpener& opener, const std::string& video_driver);
