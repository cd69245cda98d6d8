#include "engine/base_dinput_controller.h"

#include "engine/logger.h"

void CBaseDInputController::SetInputManager(CDInputManager* manager) {
    if (!manager) CLogger::Instance().Log(2, "Error: NULL pointer!. File=%s, Line=%d", "engine/base_dinput_controller.h", 8);
    _manager = manager;
}
