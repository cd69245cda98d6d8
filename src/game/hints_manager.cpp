#include "game/hints_manager.h"

#include <exception>

#include "engine/logger.h"
#include "engine/xml_file.h"
#include "game/hint_dialog.h"
#include "gui/base_control.h"
#include "profiles/user_profiles.h"

namespace {

// Bounds and anchor of a freshly loaded hint dialog.
HintInfo DescribeDialog(int32_t id, const CHintDialog& dialog, bool wait_time_out) {
    HintInfo info;
    info.id = id;
    info.wait_time_out = wait_time_out;
    if (!dialog.HasControl("ID_ANCHOR")) return info;
    dialog.GetBounds(info.bounds);
    const CBaseControl* anchor = dialog.FindControl("ID_ANCHOR");
    info.anchor = CVector2(anchor->GetX() + anchor->GetWidth() / 2, anchor->GetY() + anchor->GetHeight());
    return info;
}

}  // namespace

CHintsManager& CHintsManager::Instance() {
    static CHintsManager manager(CUserProfiles::Instance(), "Settings\\Hints.xml");
    return manager;
}

CHintsManager::CHintsManager(CUserProfiles& profiles, const std::string& file_name) : _profiles(profiles) {
    Load(file_name);
}

CHintsManager::~CHintsManager() = default;

void CHintsManager::Load(const std::string& file_name) {
    try {
        CXMLFile file(file_name);
        const CXMLNodeList nodes = file.SelectNodes("//Hints/Hint");
        _available_hints.reserve(static_cast<size_t>(nodes.GetLength()));
        for (int i = 0; i < nodes.GetLength(); ++i) {
            const CXMLNode node = nodes.GetItem(i);
            HintEntry entry;
            entry.id = node.GetAttributeInt("id", 0);
            entry.dialog = std::make_shared<CHintDialog>();
            entry.dialog->Load(node);
            entry.wait_time_out = node.GetAttributeBool("wait_time_out", false);
            entry.info = DescribeDialog(entry.id, *entry.dialog, entry.wait_time_out);
            _available_hints.push_back(std::move(entry));
        }
    } catch (const std::exception& e) {
        // The XML layer has logged which file failed; the game goes on without hints.
        CLogger::Instance().Log(2, "Error: hints not loaded: %s", e.what());
    }
    _active = 0;
    _active_hint = kNoHint;
}

int CHintsManager::FindIndex(int32_t id) const {
    for (size_t i = 0; i < _available_hints.size(); ++i)
        if (_available_hints[i].id == id) return static_cast<int>(i);
    return -1;
}

CHintDialog* CHintsManager::GetDialog(size_t index) const {
    return index < _available_hints.size() ? _available_hints[index].dialog.get() : nullptr;
}

bool CHintsManager::CollectUnshownHints(uint32_t player, std::vector<int32_t>& hints) const {
    hints.clear();
    for (const HintEntry& entry : _available_hints)
        if (!_profiles.GetHintShown(player, entry.id)) hints.push_back(entry.id);
    return hints.empty();
}

bool CHintsManager::GetHintInfo(int32_t id, HintInfo& info) const {
    const int index = FindIndex(id);
    if (index < 0) return ASSERT(false);
    info = _available_hints[static_cast<size_t>(index)].info;
    return true;
}

bool CHintsManager::ShowHint(uint32_t player, int32_t id, float x, float y) {
    const int index = FindIndex(id);
    if (index < 0) return ASSERT(false);
    _active_hint = index;
    _active = 1;
    _active_player = player;
    _available_hints[static_cast<size_t>(index)].dialog->ShowAt(x, y);
    return true;
}

void CHintsManager::Render() {
    if (!_active) return;
    ASSERT_THROW_IF_FAILED((size_t)_active_hint < _available_hints.size());
    const HintEntry& entry = _available_hints[static_cast<size_t>(_active_hint)];
    // Held while it draws: nothing else may drop it, but the dialog's own
    // handlers run inside its Draw.
    const std::shared_ptr<CHintDialog> dialog = entry.dialog;
    dialog->Draw(false);
    if (dialog->GetResult() == 0) return;
    _profiles.SetHintShown(_active_player, entry.id, true);
    _active = 0;
    _active_hint = kNoHint;
}

void CHintsManager::OnKeyDown(int key) {
    if (_active && static_cast<size_t>(_active_hint) < _available_hints.size())
        _available_hints[static_cast<size_t>(_active_hint)].dialog->OnKeyDown(key);
}
