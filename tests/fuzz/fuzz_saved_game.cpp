// A saved game as the game resumes it: the scene's own values read from
// "GameState", the level it names started, the trophy room and the field
// restored from the saved blocks (a board that does not restore starts the
// level afresh), then some hundred frames played with swaps.
#include "fuzz_field.h"
#include "game/game_state_desc.h"

namespace {

// The shipped levels, as the episode list names them.
bool IsShippedLevel(int episode, int level) {
    static const std::vector<int> counts = [] {
        std::vector<int> out;
        const CXMLFile list("Levels\\Episodes.xml");
        const CXMLNodeList episodes = list.SelectNodes("//Episodes/Episode");
        for (int e = 0; e < episodes.GetLength(); ++e) out.push_back(episodes.GetItem(e).GetAttributeInt("level_count", 0));
        return out;
    }();
    return episode >= 0 && static_cast<size_t>(episode) < counts.size() && level >= 0 &&
           level < counts[static_cast<size_t>(episode)];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::FieldSession& session = fuzz::FieldSession::Get();
    session.Input("serial.xml", data, size);
    const std::vector<uint8_t> text(data, data + size);
    GameStateDesc state;
    // A text that does not parse: the game starts afresh, nothing is restored.
    if (!PARSERS::ParseGameState(text, state)) return 0;
    // A level the list does not hold is refused before anything is loaded.
    if (!IsShippedLevel(state.episode, state.level)) return 0;
    const std::string level =
        "Levels\\Episode_" + std::to_string(state.episode) + "\\Level_" + std::to_string(state.level) + ".xml";
    if (!session.Start(level, state.episode, state.level)) return 0;
    CXMLFile xml;
    xml.Parse(text);
    const CXMLNode root = xml.SelectSingleNode("//Suspended");
    CGlove::Instance().DeserializeTrophyRoom(root);  // by the menu, before the scene starts
    CGameField& field = session.Field();
    if (!field.Deserialize(root)) field.RestartLevel();
    session.Play();
    return 0;
}
