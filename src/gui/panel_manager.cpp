#include "gui/panel_manager.h"

#include <algorithm>

#include "gui/base_dialog.h"

CPanelManager::Panel* CPanelManager::FindPanel(const CBaseDialog* dialog) {
    if (!dialog) return nullptr;
    for (Panel& p : _panels)
        if (p.dialog == dialog) return &p;
    return nullptr;
}

const CPanelManager::Panel* CPanelManager::FindPanel(const CBaseDialog* dialog) const {
    return const_cast<CPanelManager*>(this)->FindPanel(dialog);
}

CPanelManager::Transition* CPanelManager::FindTransition(Panel& panel, int32_t event) {
    for (Transition& t : panel.transitions)
        if (t.event == event) return &t;
    return nullptr;
}

void CPanelManager::AddPanel(CBaseDialog* dialog, uint8_t restore_previous) {
    if (!dialog || HasPanel(dialog)) return;
    Panel p;
    p.dialog = dialog;
    p.slide = std::make_shared<CPanelSlide>();
    p.restore_previous = restore_previous;
    _panels.push_back(std::move(p));
}

bool CPanelManager::SetPanelDirections(CBaseDialog* dialog, const CVector2& show_direction,
                                       const CVector2& hide_direction) {
    Panel* p = FindPanel(dialog);
    if (!p) return false;
    p->show_direction = show_direction;
    p->hide_direction = hide_direction;
    return true;
}

bool CPanelManager::SetPanelSounds(CBaseDialog* dialog, const std::string& show_sample,
                                   const std::string& hide_sample) {
    Panel* p = FindPanel(dialog);
    if (!p) return false;
    p->show_sample = show_sample;
    p->hide_sample = hide_sample;
    return true;
}

bool CPanelManager::AddTransition(CBaseDialog* source, CBaseDialog* target, int32_t event, uint8_t hide_source,
                                  const CVector2& direction) {
    Panel* p = FindPanel(source);
    if (!p || !HasPanel(target)) return false;
    Transition* t = FindTransition(*p, event);
    if (!t) {
        p->transitions.emplace_back();
        t = &p->transitions.back();
        t->event = event;
    }
    t->target = target;
    t->hide_source = hide_source;
    t->direction = direction;
    return true;
}

bool CPanelManager::RemoveTransition(CBaseDialog* source, int32_t event) {
    Panel* p = FindPanel(source);
    if (!p) return false;
    auto it = std::find_if(p->transitions.begin(), p->transitions.end(),
                           [event](const Transition& t) { return t.event == event; });
    if (it == p->transitions.end()) return false;
    p->transitions.erase(it);
    return true;
}

void CPanelManager::RemovePanel(CBaseDialog* dialog) {
    std::erase_if(_panels, [dialog](const Panel& p) { return p.dialog == dialog; });
}

bool CPanelManager::FireTransition(CBaseDialog* source, int32_t event) {
    Panel* p = FindPanel(source);
    if (!p) return false;
    const Transition* t = FindTransition(*p, event);
    if (!t) return false;
    // A copy: showing reorders the list, which moves the records.
    const Transition transition = *t;
    Show(transition.target);
    if (transition.hide_source) Hide(source, &transition.direction);
    return true;
}

bool CPanelManager::FireActiveTransition(int32_t event) { return FireTransition(_active, event); }

void CPanelManager::ShowPanel(CBaseDialog* dialog, bool show, const CVector2* hide_direction) {
    if (show)
        Show(dialog);
    else
        Hide(dialog, hide_direction);
}

void CPanelManager::Show(CBaseDialog* dialog) {
    Panel* p = FindPanel(dialog);
    if (!p || p->visible) return;
    p->visible = 1;
    p->slide->Start(dialog, nullptr, static_cast<int>(p->show_direction.x), static_cast<int>(p->show_direction.y));
    // A panel never comes back to itself (it is active already when it
    // returns after the panel above it hid).
    if (p->restore_previous && _active && _active != dialog) p->previous = _active;
    _active = dialog;
    if (!_mute) _queue.Add(p->show_sample);
    // On top of every other panel.
    auto it = _panels.begin() + (p - _panels.data());
    std::rotate(it, it + 1, _panels.end());
}

void CPanelManager::Hide(CBaseDialog* dialog, const CVector2* direction) {
    Panel* p = FindPanel(dialog);
    if (!p || !p->visible) return;
    p->visible = 0;
    const CVector2 d = direction ? *direction : p->hide_direction;
    p->slide->Start(nullptr, dialog, static_cast<int>(d.x), static_cast<int>(d.y));
    // Only the active panel hands the activity back. A panel hidden beneath
    // another (the source of a transition whose target just opened on top)
    // leaves the activity where it is and keeps its own previous panel for
    // when it comes back.
    if (_active == dialog) {
        _active = p->previous;
        p->previous = nullptr;
    }
    const std::string hide_sample = p->hide_sample;
    if (_active && !IsShown(_active)) Show(_active);
    if (!_mute) _queue.Add(hide_sample);
}

void CPanelManager::FindCoveredPanels(std::vector<CBaseDialog*>& covered) const {
    covered.clear();
    for (size_t i = 0; i < _panels.size(); ++i) {
        if (!_panels[i].visible) continue;
        // The chain of panels this one was opened from, each beneath it. The
        // bound ends a chain that loops back on itself.
        const Panel* below = FindPanel(_panels[i].previous);
        for (size_t steps = 0; below && steps < _panels.size(); ++steps) {
            if (below->visible && static_cast<size_t>(below - _panels.data()) < i) covered.push_back(below->dialog);
            below = FindPanel(below->previous);
        }
    }
}

void CPanelManager::Render() {
    _render_order.clear();
    for (const Panel& p : _panels) _render_order.push_back(p.dialog);
    // A panel opened over another hides it whole: no cut parts of the lower
    // one show around a smaller one, and nothing beneath takes the pointer.
    // The lower one comes back as soon as the upper one starts to leave.
    FindCoveredPanels(_covered);
    for (CBaseDialog* dialog : _render_order) {
        Panel* p = FindPanel(dialog);
        // Removed by a panel drawn before it.
        if (!p) continue;
        const std::shared_ptr<CPanelSlide> slide = p->slide;
        if (!p->visible && !slide->IsMoving()) continue;
        _queue.PlayAll();
        if (std::find(_covered.begin(), _covered.end(), dialog) != _covered.end()) continue;
        if (!slide->IsMoving())
            dialog->Draw(dialog != _active);
        else
            slide->Update();
    }
}

void CPanelManager::OnKeyDown(uint16_t key) {
    if (_active && IsReady(_active)) _active->OnKeyDown(key);
}

void CPanelManager::SetActivePanel(CBaseDialog* dialog) {
    if (HasPanel(dialog)) _active = dialog;
}

bool CPanelManager::IsActivePanel(CBaseDialog* dialog) const { return dialog && _active == dialog; }

bool CPanelManager::IsShown(CBaseDialog* dialog) const {
    const Panel* p = FindPanel(dialog);
    return p && (p->visible || p->slide->IsMoving());
}

bool CPanelManager::IsReady(CBaseDialog* dialog) const {
    const Panel* p = FindPanel(dialog);
    return p && p->visible && !p->slide->IsMoving();
}

bool CPanelManager::IsAnyPanelShown() const {
    return std::any_of(_panels.begin(), _panels.end(),
                       [](const Panel& p) { return p.visible || p.slide->IsMoving(); });
}

void CPanelManager::Reset() {
    for (Panel& p : _panels) {
        p.visible = 0;
        p.slide->Stop();
    }
    _active = nullptr;
    _mute = 0;
    _queue.Clear();
}

std::vector<CBaseDialog*> CPanelManager::GetPanelOrder() const {
    std::vector<CBaseDialog*> order;
    order.reserve(_panels.size());
    for (const Panel& p : _panels) order.push_back(p.dialog);
    return order;
}

CBaseDialog* CPanelManager::GetPreviousPanel(CBaseDialog* dialog) const {
    const Panel* p = FindPanel(dialog);
    return p ? p->previous : nullptr;
}

const CPanelSlide* CPanelManager::GetSlide(CBaseDialog* dialog) const {
    const Panel* p = FindPanel(dialog);
    return p ? p->slide.get() : nullptr;
}
