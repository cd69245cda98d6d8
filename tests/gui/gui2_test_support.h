#pragma once
// Shared by the tests of the track bar, progress bar, list box, page control
// and panels: the GUI fixture with the kinds of these controls read again from
// the current data tree, and an event sink that also writes down value,
// selection and item-click events.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "gui/control_factory.h"
#include "gui/menu_progress_bar.h"
#include "gui/menu_track_bar.h"
#include "gui_test_support.h"

namespace gui_test {

class ValueLog : public EventLog {
public:
    void OnValueChanged(CBaseControl* c) override { events.push_back("value " + Id(c)); }
    void OnSelChange(CBaseControl* c, int32_t index) override {
        events.push_back("sel " + std::to_string(index) + " " + Id(c));
        if (on_sel) on_sel(index);
    }
    void OnItemClick(CBaseControl* c, int32_t index) override {
        events.push_back("item " + std::to_string(index) + " " + Id(c));
    }
    std::function<void(int32_t)> on_sel;

    int Count(const std::string& prefix) const {
        int n = 0;
        for (const std::string& e : events)
            if (e.rfind(prefix, 0) == 0) ++n;
        return n;
    }

private:
    static std::string Id(CBaseControl* c) { return c ? c->GetId() : "?"; }
};

class Gui2Test : public GuiTest {
protected:
    void SetUp() override {
        GuiTest::SetUp();
        ReloadKinds();
    }
    // Every table read again from the current folder's "Settings\controls.xml".
    static void ReloadKinds() {
        LoadControlKinds();
        CMenuButton::LoadButtonKinds();
        CMenuTrackBar::LoadTrackBarKinds();
        CMenuProgressBar::LoadProgressBarKinds();
    }
    // A control of the given XML text, made by the factory and owned by `owner`.
    template <typename T>
    std::unique_ptr<T> Make(const std::string& xml, CEventHolder* owner) {
        std::unique_ptr<CBaseControl> c = CreateControl(owner, Node(xml, "//Control"));
        T* typed = dynamic_cast<T*>(c.get());
        if (!typed) return nullptr;
        c.release();
        return std::unique_ptr<T>(typed);
    }
    // Pointer at (x, y) with the left button down or up, then one frame that draws `draw`.
    static void PointerFrame(int x, int y, bool down, const std::function<void()>& draw) {
        MoveTo(x, y);
        Button(down);
        Frame(draw);
    }

    ValueLog values;
};

}  // namespace gui_test
