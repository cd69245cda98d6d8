// The suspended game: the saved-game text of the running game, stored in and
// erased from the active player's record, and read back at a resume.
#include <exception>

#include "engine/fault_translation.h"
#include "engine/logger.h"
#include "engine/user_folder.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "game/c3d_game.h"
#include "game/game_state_desc.h"
#include "game/scene_field.h"
#include "profiles/user_profiles.h"

namespace {

// A copy of the last saved game for inspection; nothing reads it.
const char* const kSerialCopy = "serial.xml";

// Written by its full path in the user folder, after the game itself is
// stored, so that on a full disk the copy never takes the room the stored game
// needs; a failure keeps the old copy and is logged.
void SaveSerialCopy(const std::vector<uint8_t>& saved_game) {
    const std::string folder = UserFolderPath("all");
    std::string error = "no user folder";
    CXMLFile xml;
    xml.Parse(saved_game);
    if (folder.empty() || !xml.Save(folder + kSerialCopy, &error))
        CLogger::Instance().Log(2, "Error: unable to save '%s': %s", kSerialCopy, error.c_str());
}

}  // namespace

bool c3DGame::SerializeState(std::vector<uint8_t>& out) {
    if (_snapshot_valid) {
        out = _preserialized_state;
        return true;
    }
    const std::string saved = EnterFolder("all");
    CXMLFile xml;
    bool ok = false;
    try {
        xml.CreateRoot("Suspended");
        CXMLNode root = xml.SelectSingleNode("//Suspended");
        CXMLNode state = xml.CreateNode("GameState");
        state.SetAttributeInt("episode", _game_var.episode);
        state.SetAttributeInt("level", _game_var.level);
        state.SetAttributeInt("score", _game_var.score);
        state.SetAttributeInt("lives", _game_var.lives);
        if (_hiscore_entry >= 0) state.SetAttributeInt("hiscore_id", _hiscore_entry);
        if (_time_bonus_paid >= 0) state.SetAttributeInt("time_bonus", _time_bonus_paid);
        if (_won_level_score >= 0) state.SetAttributeInt("level_score", _won_level_score);
        root.AppendChild(state);
        // A board that was not written whole never stands for the game.
        const bool field_ok = _field->Serialize(xml, root);
        if (!field_ok) CLogger::Instance().Log(2, "Error: the field's part of the saved game failed; it is not stored.");
        ok = VERIFY(xml.GetXML(out)) && field_ok;
    } catch (...) {
        LeaveFolder(saved);
        throw;
    }
    LeaveFolder(saved);
    return ok;
}

void c3DGame::Serialize() {
    if (!_game_running) return;
    try {
        const uint32_t player = g_profiles.GetActivePlayer();
        // A game that is over or won is not kept, whatever request is pending.
        const bool ended = _pending_request == prGameOver || _pending_request == prGameWon ||
                           _state == gsGameOver || _state == gsGameWon;
        if (ended) {
            ASSERT(g_profiles.ErasePlayerSuspendedGame(player));
            _game_running = 0;
            return;
        }
        const bool save = _pending_request <= prNextLevel || _pending_request == prLeave || _last_level;
        if (!save) return;
        std::vector<uint8_t> suspended_data;
        if (!VERIFY(SerializeState(suspended_data))) return;
        ASSERT(g_profiles.SetPlayerSuspendedGame(player, suspended_data));
        SaveSerialCopy(suspended_data);
    } catch (...) {
        LogCurrentException("c3DGame::Serialize");
    }
}

bool c3DGame::DeserializeState(const std::vector<uint8_t>& data) {
    GameStateDesc state_desc;
    // A text that does not parse leaves the game as it is.
    if (!VERIFY(PARSERS::ParseGameState(data, state_desc))) return false;
    CXMLFile xml;
    xml.Parse(data);
    const CXMLNode root = xml.SelectSingleNode("//Suspended");
    _game_var.lives = state_desc.lives;
    _game_var.score = state_desc.score;
    const CXMLNode state = root.SelectSingleNode("GameState");
    _hiscore_entry = state.GetAttributeInt("hiscore_id", -1);
    _time_bonus_paid = state.GetAttributeInt("time_bonus", -1);
    // Saves from before the level's points were kept show the field's count.
    _won_level_score = state.GetAttributeInt("level_score", -1);
    return _field->Deserialize(root);
}

int32_t c3DGame::SavedHiscoreEntry(const std::vector<uint8_t>& data) {
    try {
        CXMLFile xml;
        if (!xml.Parse(data)) return -1;
        return xml.SelectSingleNode("//Suspended/GameState").GetAttributeInt("hiscore_id", -1);
    } catch (const std::exception&) {
        return -1;  // the XML layer has logged the parse error
    }
}
