#include "frontend/selection_dialog.h"

#include <cstdio>
#include <exception>

#include "engine/logger.h"
#include "engine/printf_arg.h"
#include "engine/vector2.h"
#include "engine/xml_file.h"
#include "engine/xml_node_list.h"
#include "graphics/font_keeper.h"
#include "graphics/static_text.h"
#include "profiles/store_guard.h"
#include "gui/base_control.h"
#include "frontend/trophy_room.h"
#include "gui/menu_label.h"
#include "platform/virtual_keys.h"
#include "profiles/game_start_request.h"

namespace {

const char* const kEpisodesFile = "Levels\\Episodes.xml";
const char* const kEpisodeButton = "ID_MIS_IMAGE_";
const char* const kEpisodeArrow = "ID_MIS_ARROW_";

std::string Numbered(const char* prefix, int32_t index) { return prefix + std::to_string(index); }

}  // namespace

CSelectionDialog::CSelectionDialog(ITrophyRoom& room, CUserProfiles* profiles) : _room(room), _store(profiles) {}

CSelectionDialog::~CSelectionDialog() = default;

CUserProfiles& CSelectionDialog::Profiles() const { return _store ? *_store : g_profiles; }

bool CSelectionDialog::Load(const CXMLNode& node) {
    const bool loaded = CBaseDialog::Load(node);
    for (const char* id : {"ID_NUM", "ID_PLAYER", "ID_SCORE"}) ShowControl(id, false);
    if (const auto* player = dynamic_cast<const CMenuLabel*>(FindControl("ID_PLAYER"))) {
        _row_height = static_cast<int32_t>(CFontKeeper::Instance().GetLabel(player->GetCaption()).style.height);
        _first_row_y = static_cast<int32_t>(player->GetY());
    }
    return loaded;
}

void CSelectionDialog::Clear() {
    _hiscore_texts.clear();
    CBaseDialog::Clear();
}

void CSelectionDialog::ShowControl(const std::string& id, bool show) const {
    if (CBaseControl* control = FindControl(id)) control->SetVisible(show);
}

void CSelectionDialog::Refresh(bool came_from_menu) {
    CBaseDialog::Activate();
    RefreshEpisodes();
    _top_scores.clear();
    if (!GuardStoreCall("CSelectionDialog::Refresh", false, [&] {
            Profiles().GetTopScores(_top_scores, kTopScores);
            return true;
        }))
        _top_scores.clear();
    BuildHiscoreTexts();

    _came_from_menu = came_from_menu ? 1 : 0;
    ShowControl("ID_BACK", came_from_menu);
    ShowControl("ID_MENU", !came_from_menu);

    int32_t episode = g_GameStartRequest.episode;
    if (episode == GameStartRequest::kNoEpisode) {
        // The newest episode the player has unlocked; none keeps the selection.
        episode = _selected_episode;
        for (int32_t i = static_cast<int32_t>(_episode_count) - 1; i >= 0; --i)
            if (IsEpisodeAvailable(i)) {
                episode = i;
                break;
            }
    }
    SelectEpisode(episode);
}

bool CSelectionDialog::RefreshEpisodes() {
    int count = 0;
    try {
        CXMLFile file(kEpisodesFile);
        count = file.SelectNodes("//Episodes/Episode").GetLength();
    } catch (const std::exception&) {
        count = 0;  // the file opener has logged why
    }
    if (count <= 0) {
        CLogger::Instance().Log(2, "Error: %s. File=%s, Line=%d", "No episodes!", __FILE__, __LINE__);
        return false;
    }
    _episode_count = static_cast<uint32_t>(count);
    for (int32_t i = 0; i < count; ++i) {
        const std::string id = Numbered(kEpisodeButton, i);
        if (HasControl(id)) ShowControl(id, IsEpisodeAvailable(i));
        else CLogger::Instance().Log(2, "Error: the selector has no button for episode %d!", i);
    }
    return true;
}

bool CSelectionDialog::IsEpisodeAvailable(int32_t episode) {
    int32_t result = 0;
    const int read = GuardStoreCall("CSelectionDialog::IsEpisodeAvailable", -1, [&] {
        return Profiles().GetEpisodeAvailability(Profiles().GetActivePlayer(), episode, result) ? 1 : 0;
    });
    // Every player has the first episode, whatever a failing store says.
    if (read < 0) return episode == 0;
    if (read == 0) {
        LogFailedCheck("Assert", "g_profiles.GetEpisodeAvailability(active_user, num, result)", __FILE__, __LINE__);
        return false;
    }
    return result != 0;
}

void CSelectionDialog::BuildHiscoreTexts() {
    _hiscore_texts.clear();
    for (size_t r = 0; r < _top_scores.size(); ++r) {
        const float y = static_cast<float>(_row_height * static_cast<int32_t>(r) + _first_row_y);
        AddHiscoreText("PlayerNumber", "ID_NUM", y, PrintfArg(static_cast<int>(r) + 1));
        const std::string& name = _top_scores[r].name;
        CStaticText& name_text = AddHiscoreText("PlayerName", "ID_PLAYER", y, PrintfArg::MakeString(name));
        CStaticText& score_text = AddHiscoreText("PlayerScore", "ID_SCORE", y, PrintfArg(_top_scores[r].score));
        FitName(name_text, name, KeepScoreInPanel(score_text) - kNameScoreGap);
    }
    // The table's own note for an empty table, when the panel has one.
    if (HasControl("ID_NO_SCORES")) ShowControl("ID_NO_SCORES", _top_scores.empty());
}

CStaticText& CSelectionDialog::AddHiscoreText(const std::string& label, const std::string& column, float y,
                                              const PrintfArg& arg) {
    const CBaseControl* templ = FindControl(column);
    auto text = std::make_unique<CStaticText>();
    text->SetLabel(label, CVector2(templ ? templ->GetX() : 0.0f, y));
    text->SetArgs(&arg, nullptr);
    _hiscore_texts.push_back(std::move(text));
    return *_hiscore_texts.back();
}

float CSelectionDialog::KeepScoreInPanel(CStaticText& score) const {
    const CFloatRect bounds = score.GetBounds();
    const CBaseControl* panel = HasControl("ID_SCORES_PANEL") ? FindControl("ID_SCORES_PANEL") : nullptr;
    const CBaseControl* first_column = HasControl("ID_NUM") ? FindControl("ID_NUM") : nullptr;
    if (!panel || !first_column) return bounds.left;
    // The panel's right margin mirrors its left one.
    const float right = panel->GetX() + panel->GetWidth() - (first_column->GetX() - panel->GetX());
    if (bounds.right <= right) return bounds.left;
    const float shift = right - bounds.right;
    score.SetLabel(score.GetAlias(), CVector2(score.GetPosition().x + shift, score.GetPosition().y));
    return bounds.left + shift;
}

void CSelectionDialog::FitName(CStaticText& name, const std::string& full, float right) {
    std::string cut = full;
    while (!cut.empty() && name.GetBounds().right > right) {
        cut.pop_back();
        while (!cut.empty() && cut.back() == ' ') cut.pop_back();
        // "\x85" is the ellipsis of the fonts' code page.
        const PrintfArg arg = PrintfArg::MakeString(cut + "\x85");
        name.SetArgs(&arg, nullptr);
    }
}

void CSelectionDialog::SelectEpisode(int32_t index) {
    _selected_episode = index;
    for (int32_t j = 0; j < static_cast<int32_t>(_episode_count); ++j) {
        const std::string id = Numbered(kEpisodeArrow, j);
        if (HasControl(id)) ShowControl(id, j == index);
    }
}

int32_t CSelectionDialog::EpisodeOfButton(const std::string& id) {
    const std::string prefix = kEpisodeButton;
    if (id.compare(0, prefix.size(), prefix) != 0) return -1;
    int32_t episode = -1;
    char rest = 0;
    if (std::sscanf(id.c_str() + prefix.size(), "%d%c", &episode, &rest) != 1 || episode < 0) return -1;
    return episode;
}

void CSelectionDialog::OnClick(CBaseControl* control) {
    const std::string& id = control->GetId();
    if (id == "ID_BACK" || id == "ID_MENU") {
        SetResult(kResultBack);
    } else if (id == "ID_OK") {
        SetResult(kResultPlay);
    } else if (id == "ID_LOAD") {
        SetResult(kResultLoad);
    } else if (const int32_t episode = EpisodeOfButton(id); episode >= 0) {
        if (episode == _selected_episode) {
            SetResult(kResultPlay);
        } else if (GuardStoreCall("CSelectionDialog::OnClick", false,
                                  [&] { return Profiles().IsGameWon(Profiles().GetActivePlayer()); })) {
            // Only a player who has won may look back at any episode and its trophies.
            SelectEpisode(episode);
            _room.ShowTrophies(episode);
        }
    }
}

void CSelectionDialog::OnKeyDown(int key) {
    if (key == plat::VK_ESCAPE && _came_from_menu) {
        SetResult(kResultBack);
        return;
    }
    CBaseDialog::OnKeyDown(key);
}

void CSelectionDialog::Draw(bool skip_update) {
    CBaseDialog::Draw(skip_update);
    RenderHiscores();
}

void CSelectionDialog::RenderHiscores() {
    for (const auto& text : _hiscore_texts) text->Render();
}
