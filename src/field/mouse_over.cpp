#include "field/mouse_over.h"

#include "engine/logger.h"
#include "engine/mouse_controller_interface.h"
#include "graphics/object_2d.h"
#include "graphics/polygon.h"
#include "gui/gui_services.h"

bool IsMouseOverObject(C2DObject* obj) {
    ASSERT_THROW_IF_FAILED(obj != NULL);
    const IMouseController* mouse = gui::Mouse();
    if (!mouse) return false;
    const float x = static_cast<float>(mouse->GetX());
    const float y = static_cast<float>(mouse->GetY());
    if (obj->GetLeft() < x && x < obj->GetRight() && obj->GetTop() < y && y < obj->GetBottom()) return true;
    // The hit polygon follows the sprite when its corners are rebuilt; a
    // sprite moved since it was last drawn gets them rebuilt here.
    obj->GetVertices();
    if (const CPolygon* polygon = obj->GetPolygon()) return polygon->IsPointInside(x, y);
    return false;
}
