#pragma once
// The framed background of a dialog (type "PANEL"): the panel skin drawn
// around the control's rectangle. With "expand_by_y" it opens by unfolding
// from a strip as tall as its corners to its full height in six drawn frames.
#include <cstdint>
#include <memory>
#include <vector>

#include "engine/float_rect.h"
#include "engine/noncopyable.h"
#include "gui/base_control.h"

class CTexturedRectsList;

class CMenuPanel : public CBaseControl, NonCopyable {
public:
    static constexpr int kOpeningSteps = 6;

    explicit CMenuPanel(CEventHolder* owner);
    ~CMenuPanel() override;

    void Update() override {}
    void SetPosition(float x, float y) override;
    bool Load(const CXMLNode& node) override;
    void Draw(bool skip_update) override;

    // Replays the opening from its first frame and plays the activate sample.
    void Activate();

    const std::vector<CFloatRect>& GetOpeningFrames() const { return _frames; }
    uint32_t GetFrameIndex() const { return _frame_index; }
    CTexturedRectsList* GetRenderer() const { return _renderer.get(); }

private:
    std::shared_ptr<CTexturedRectsList> _renderer;
    std::vector<CFloatRect> _frames;
    uint32_t _frame_index = 0;
};
