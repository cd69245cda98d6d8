#pragma once
// The player's tools as the heads-up panel shows them: 1 hammer, 2 feather,
// 3 egg, each with a charge bar, a button and an image. The game scene
// forwards the field's tool calls here unchanged.
#include <cstdint>

#include "engine/vector2.h"
#include "field/game_scene_link.h"

// A tool and a number: an amount, a value, or the place a read value goes.
struct ToolValue {
    int32_t tool = 0;
    int32_t value = 0;
};

class IToolPanel {
public:
    virtual ~IToolPanel() = default;

    virtual void ResetToolProgress(int32_t tool) = 0;
    // Adds to the charge; true when the bar is full.
    virtual bool AddToolProgress(const ToolValue& amount) = 0;
    // Reads the charge into `out.value`; false for an unknown tool.
    virtual bool GetToolProgress(ToolValue& out) = 0;
    // Sets the charge; a full bar shows the tool's button and image.
    virtual bool SetToolProgress(const ToolValue& value) = 0;
    virtual bool IsToolAvailable(int32_t tool) = 0;
    virtual void ShowToolImage(int32_t tool, bool show) = 0;
    // On: the tool's ring grows, then the button and image appear. Off: the
    // charge bar comes back.
    virtual void EnableTool(int32_t tool, bool on) = 0;
    // Where a charge flying to the tool should land.
    virtual bool GetToolProgressPoint(int32_t tool, CVector2& point) = 0;
    virtual void EnableToolBlinks(bool on) = 0;
};
