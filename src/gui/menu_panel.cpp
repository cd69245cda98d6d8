#include "gui/menu_panel.h"

#include "engine/xml_node.h"
#include "graphics/textured_rects_list.h"
#include "gui/control_kinds.h"
#include "gui/gui_services.h"

CMenuPanel::CMenuPanel(CEventHolder* owner) : CBaseControl(owner) {}

CMenuPanel::~CMenuPanel() = default;

bool CMenuPanel::Load(const CXMLNode& node) {
    CBaseControl::Load(node);
    const PanelKind& kind = GetPanelKind();
    _renderer = std::make_shared<CTexturedRectsList>();
    if (!kind.skin.texture.empty()) _renderer->SetTextureByName(kind.skin.texture);

    const CFloatRect full(_left, _top, _left + _width, _top + _height);
    _frames.clear();
    const float d = full.Height() - static_cast<float>(kind.skin.top_left.height) -
                    static_cast<float>(kind.skin.bottom_left.height);
    if (node.GetAttributeBool("expand_by_y", false) && d > 0) {
        // Each step's rectangle is computed from the full one, so exactly six
        // steps are made and the last frame is exactly the control's rectangle.
        for (int k = 0; k < kOpeningSteps; ++k) {
            const float shrink = (d - d * static_cast<float>(k) / kOpeningSteps) / 2;
            _frames.emplace_back(full.left, full.top + shrink, full.right, full.bottom - shrink);
        }
    }
    _frames.push_back(full);

    _frame_index = 0;
    BuildFrame(*_renderer, _frames.front(), kind.skin);
    gui::LoadSample(kind.activate_sample);
    return true;
}

void CMenuPanel::Activate() {
    _frame_index = 0;
    gui::PlaySample(GetPanelKind().activate_sample);
}

void CMenuPanel::Draw(bool /*skip_update*/) {
    if (!_visible || !_renderer) return;
    // The index stops one past the last frame: the opening is over.
    if (_frame_index < _frames.size()) {
        ++_frame_index;
        if (_frame_index < _frames.size()) BuildFrame(*_renderer, _frames[_frame_index], GetPanelKind().skin);
    }
    _renderer->Render();
}

void CMenuPanel::SetPosition(float x, float y) {
    const float dx = x - _left, dy = y - _top;
    if (_renderer) _renderer->MoveAll(dx, dy);
    // The opening frames follow, so an opening replayed after a move unfolds in place.
    for (CFloatRect& f : _frames) f.Offset(dx, dy);
    CBaseControl::SetPosition(x, y);
}
