#include "graphics/renderer_keeper.h"

CRendererKeeper::~CRendererKeeper() { ReleaseAll(); }

CTexturedRectsList* CRendererKeeper::GetRenderer(const std::string& texture_name) {
    for (Entry& e : _entries) {
        if (e.name == texture_name) {
            ++e.ref_count;
            return e.renderer.get();
        }
    }
    Entry entry;
    entry.name = texture_name;
    entry.renderer = std::make_unique<CTexturedRectsList>();
    entry.renderer->SetTextureByName(texture_name);
    entry.ref_count = 1;
    _entries.push_back(std::move(entry));
    return _entries.back().renderer.get();
}

bool CRendererKeeper::ReleaseRenderer(CTexturedRectsList* renderer) {
    for (auto it = _entries.begin(); it != _entries.end(); ++it) {
        if (it->renderer.get() != renderer) continue;
        if (--it->ref_count < 1) {
            it->renderer->Release();
            _entries.erase(it);
        }
        return true;
    }
    return false;
}

void CRendererKeeper::ReleaseAll() {
    while (!_entries.empty()) ReleaseRenderer(_entries.front().renderer.get());
}

void CRendererKeeper::RenderAll() {
    for (Entry& e : _entries) e.renderer->Render();
}
