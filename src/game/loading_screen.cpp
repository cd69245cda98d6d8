#include "game/loading_screen.h"

#include <string>

#include "engine/engine_core_interface.h"
#include "engine/graphics_desc.h"
#include "graphics/font_keeper.h"
#include "graphics/object_2d.h"

CLoadingScreen::CLoadingScreen() : _picture(std::make_unique<C2DObject>()) {
    const int width = g_EngineCore ? g_EngineCore->GetScreenWidth() : 800;
    const int height = g_EngineCore ? g_EngineCore->GetScreenHeight() : 600;
    CGraphicsDesc desc;
    desc.texture = "Textures\\Common\\128.tga";
    desc.width = kPictureSize;
    desc.height = kPictureSize;
    desc.tex_rect = CFloatRect(0, 0, kPictureSize, kPictureSize);
    _picture->Create(static_cast<float>(width / 2 - kPictureSize / 2), static_cast<float>(height / 2 - kPictureSize / 2),
                     desc, true);
    // The load replaces the scene's resources: a reset meanwhile must not
    // call back into the half-built scene.
    if (g_EngineCore) {
        g_EngineCore->SetCallback(0, nullptr);
        g_EngineCore->SetCallback(1, nullptr);
    }
    _dots = 0;
}

CLoadingScreen::~CLoadingScreen() = default;

void CLoadingScreen::Draw() {
    // The load runs inside a frame of the main loop: input stays that frame's.
    if (!g_EngineCore || !g_EngineCore->BeginFrameWithoutInput()) return;
    g_EngineCore->Clear(0);
    _picture->Render();
    const std::string text(static_cast<size_t>(_dots), '.');
    if (++_dots > 3) _dots = 0;
    const int width = g_EngineCore->GetScreenWidth(), height = g_EngineCore->GetScreenHeight();
    CFontKeeper::Instance().PrintLabel(static_cast<float>(width / 2 - 50), static_cast<float>(height / 2 + 100),
                                       "sLoading", text);
    g_EngineCore->EndFrame();
}
