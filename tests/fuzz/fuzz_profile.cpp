// The profile database as the game meets it: the file opened at start-up (a
// damaged one is set aside and a new one made), then walked through the calls
// the menu, the selector and the game scene make, reads and writes. Opening
// must not throw, since the game cannot start then; a database error later is
// logged where the menu or the scene calls the store, and the game goes on.
#include <vector>

#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "fuzz_support.h"
#include "game/game_state_desc.h"
#include "profiles/store_guard.h"
#include "profiles/user_profiles.h"

namespace {

namespace fs = std::filesystem;

constexpr int kEpisodes = 5;
constexpr int kLevels = 10;

// The ids of the shipped hints, read once from the data tree.
const std::vector<int32_t>& HintIds() {
    static const std::vector<int32_t> ids = [] {
        std::vector<int32_t> out;
        const CXMLFile file("Settings\\Hints.xml");
        const CXMLNodeList nodes = file.SelectNodes("//Hints/Hint");
        for (int i = 0; i < nodes.GetLength(); ++i) out.push_back(nodes.GetItem(i).GetAttributeInt("id", 0));
        return out;
    }();
    return ids;
}

// A call as its call site makes it: a database error is logged there and the
// game goes on.
template <typename F>
void AtCallSite(F&& call) {
    GuardStoreCall("fuzz_profile", 0, [&] {
        call();
        return 0;
    });
}

// Leaves the user folder with its log alone: the database of the last input,
// its journal and the damaged files set aside go.
void ClearDatabases(const fs::path& folder) {
    std::error_code ec;
    for (const fs::directory_entry& entry : fs::directory_iterator(folder, ec))
        if (entry.path().filename().string().rfind(kProfileDbName, 0) == 0) fs::remove(entry.path(), ec);
}

void ReadLikeTheMenu(CUserProfiles& store) {
    std::string name;
    AtCallSite([&] {
        for (uint32_t i = 0; i < store.GetPlayerCount() && i < 8; ++i) store.GetPlayerName(name, i);
    });
    if (!store.HasActivePlayer()) AtCallSite([&] { store.AddPlayer("Fuzz"); });
    if (!store.HasActivePlayer()) return;
    const uint32_t player = store.GetActivePlayer();
    AtCallSite([&] { store.IsGameWon(player); });
    AtCallSite([&] { store.GetPlayerState(player); });
    AtCallSite([&] {
        std::vector<uint8_t> suspended;
        GameStateDesc state;
        if (store.GetPlayerSuspendedGame(player, suspended)) PARSERS::ParseGameState(suspended, state);
    });
    AtCallSite([&] {
        std::vector<ScoreRecord> scores;
        store.GetTopScores(scores, 10);
    });
    for (int episode = 0; episode < kEpisodes; ++episode) {
        AtCallSite([&] {
            int32_t value = 0;
            store.GetEpisodeAvailability(player, episode, value);
        });
        for (int level = 0; level < kLevels; ++level)
            AtCallSite([&] {
                int32_t time = 0, best = 0;
                store.GetPlayerLevelTime(player, episode, level, time);
                if (store.GetBestLevelTime(episode, level, best)) store.GetPlayerNameById(name, best);
            });
    }
    for (int32_t hint : HintIds()) AtCallSite([&] { store.GetHintShown(player, hint); });
}

void WriteLikeTheGame(CUserProfiles& store) {
    if (!store.HasActivePlayer()) return;
    const uint32_t player = store.GetActivePlayer();
    const std::string saved = "<Suspended><GameState episode=\"0\" level=\"1\" score=\"10\" lives=\"3\"/></Suspended>";
    AtCallSite([&] { store.SetPlayerState(player, 1); });
    AtCallSite([&] { store.SetPlayerSuspendedGame(player, std::vector<uint8_t>(saved.begin(), saved.end())); });
    AtCallSite([&] { store.SetLevelTime(player, 0, 1, 61000); });
    AtCallSite([&] { store.UpdateEpisodeAvailability(player, 1, 1); });
    AtCallSite([&] { store.AddHiscore(player, 1500); });
    if (!HintIds().empty()) AtCallSite([&] { store.SetHintShown(player, HintIds().front(), true); });
    AtCallSite([&] { store.SetGameWon(player, true); });
    AtCallSite([&] { store.ErasePlayerSuspendedGame(player); });
    AtCallSite([&] {
        if (store.AddPlayer("Second")) store.DeletePlayer(store.GetPlayerCount() - 1);
    });
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Scratch();
    fuzz::LimitLog();
    fs::current_path(VOVARO_DATA_DIR);
    const fs::path folder = UserFolderPath("all");
    ClearDatabases(folder);
    std::ofstream(folder / kProfileDbName, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
    CUserProfiles store;
    store.OpenProfiles();
    ReadLikeTheMenu(store);
    WriteLikeTheGame(store);
    ReadLikeTheMenu(store);
    return 0;
}
