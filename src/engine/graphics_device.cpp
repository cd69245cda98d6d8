#include "engine/graphics_device.h"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "engine/direct3d_holder.h"
#include "engine/logger.h"
#include "engine/user_folder.h"
#include "engine/whole_file_saver.h"

using namespace plat;

CGraphicsDevice::~CGraphicsDevice() {
    if (_device) {
        _device->SetGammaRamp(_saved_ramp);
        _device->SetTexture(0, nullptr);
    }
    _device.reset();
    _window.reset();
}

PresentParameters CGraphicsDevice::FillPresentParameters(bool windowed) const {
    PresentParameters pp;
    pp.width = kWidth;
    pp.height = kHeight;
    pp.back_buffer_count = 2;
    pp.windowed = windowed;
    // Windowed frames take the desktop's 32-bit format; full screen is 16-bit 5-6-5.
    pp.format = windowed ? Format::X8R8G8B8 : Format::R5G6B5;
    return pp;
}

bool CGraphicsDevice::InitDevice(CDirect3DHolder& d3d, bool windowed) {
    _device.reset();
    _windowed = windowed;
    const CDirect3DHolder* p_d3d = d3d.IsCreated() ? &d3d : nullptr;
    ASSERT_THROW_IF_FAILED(p_d3d != NULL);

    CLogger& log = CLogger::Instance();
    if (!_window && !CreateMainWindow()) {
        log.Log(2, "Error: Failed to initialize main window!");
        return false;
    }
    _window->Show();

    log.Log(0, "D3DDevice initialization.");
    Result r = kErrFail;
    _device = RenderDevice::Create(*_window, FillPresentParameters(_windowed), &r);
    if (!_device) {
        log.Log(2, "Error %X: CreateDevice error", static_cast<unsigned>(r));
        return false;
    }
    _saved_ramp = _device->GetGammaRamp();
    _gamma_level = 0;
    ApplyGammaRamp(_gamma_level);
    SetupRenderStates();
    log.Log(0, " ");
    LogDeviceReport();
    return true;
}

void CGraphicsDevice::LogDeviceReport() {
    CLogger& log = CLogger::Instance();
    log.LogBold(1, "D3DDevice Info");
    log.Log(1, "Available Texture Memory : %i Mb", static_cast<int>(_device->AvailableTextureMem() >> 20));
    log.Log(1, "Renderer : %s", _device->RendererName().c_str());
    log.LogSeparator();
}

bool CGraphicsDevice::CreateMainWindow() {
    _window = Window::Create("Tolvan Vovaro", kWidth, kHeight, !_windowed);
    if (!_window) return false;
    _window->SetWindowProc([this](Window& w, const Message& m) { return MainWndProc(w, m); });
    return true;
}

intptr_t CGraphicsDevice::MainWndProc(Window& window, const Message& msg) {
    switch (msg.message) {
        case WM_CLOSE:
            // As the system's default handling: closing destroys the window.
            window.SendMessage(WM_DESTROY, 0, 0);
            return 0;
        case WM_DESTROY:
            window.PostQuitMessage(0);
            return 0;
        case WM_ACTIVATE: {
            bool active = LoWord(msg.wParam) != WA_INACTIVE;
            bool minimized = HiWord(msg.wParam) != 0;
            if (active && minimized) return 0;
            window.PostMessage(kActivateMessage, active ? 1 : 0, msg.lParam);
            _active = active;
            return 0;
        }
        case WM_PAINT:
            // The last frame shown again: an inactive game draws no frame
            // that would mend what another window left on it.
            if (_device) _device->Present();
            return 0;
        case WM_SETCURSOR:
            // The game draws its own cursor over the client area.
            window.ShowSystemCursor(!(_game_draws_cursor && _active && LoWord(static_cast<uintptr_t>(msg.lParam)) == HTCLIENT));
            return 0;
        default:
            return 0;
    }
}

bool CGraphicsDevice::ResetDevice() {
    if (!_device) return false;
    Result r = _device->Reset(FillPresentParameters(_windowed));
    if (Failed(r) && _windowed) r = _device->Reset(FillPresentParameters(_windowed));
    if (Failed(r)) {
        CLogger::Instance().Log(2, "Error: Failed to reset! Error code: 0x%X", static_cast<unsigned>(r));
        throw std::runtime_error("Failed to reset D3DDevice");
    }
    ApplyGammaRamp(_gamma_level);
    SetupRenderStates();
    return true;
}

Result CGraphicsDevice::ToggleFullscreen() {
    _windowed = !_windowed;
    CLogger& log = CLogger::Instance();
    log.Log(0, "Toggling to %s mode...", _windowed ? "windowed" : "fullscreen");
    if (!_device) {
        _windowed = !_windowed;
        return kErrInvalidCall;
    }
    _device->SetTexture(0, nullptr);
    _device->SetIndices(nullptr, 0);
    _device->SetStreamSource(0, nullptr, sizeof(Vertex));
    // The device reset puts the window into the new mode. A display that cannot
    // take it leaves the window as it was; the device goes back to that mode.
    const Result r = _device->Reset(FillPresentParameters(_windowed));
    if (Failed(r)) {
        log.Log(2, "Error: Failed to switch to %s mode! Error code: 0x%X", _windowed ? "windowed" : "fullscreen",
                static_cast<unsigned>(r));
        _windowed = !_windowed;
        ResetDevice();
        return r;
    }
    ApplyGammaRamp(_gamma_level);
    SetupRenderStates();
    return kOk;
}

void CGraphicsDevice::ApplyGammaRamp(int level) {
    if (!_device) return;
    GammaRamp ramp;
    for (int i = 0; i < 256; ++i) {
        const long long v = std::clamp((static_cast<long long>(level) * 10 + i) * 256, 0LL, 65535LL);
        ramp.red[i] = ramp.green[i] = ramp.blue[i] = static_cast<uint16_t>(v);
    }
    _device->SetGammaRamp(ramp);
    _gamma_level = level;
}

void CGraphicsDevice::RestoreGammaRamp() {
    if (_device) _device->SetGammaRamp(_saved_ramp);
}

void CGraphicsDevice::SetupRenderStates() {
    if (!_device) return;
    const float w = static_cast<float>(kWidth), h = static_cast<float>(kHeight);
    _device->SetTransform(TransformType::World, Matrix::Translation(-w / 2, -h / 2, 0));
    _device->SetTransform(TransformType::View, Matrix::Scaling(1, -1, 1));
    _device->SetTransform(TransformType::Projection, Matrix::OrthoLH(w, h, 1, -1));
    _device->SetRenderState(RenderState::ZEnable, 1);
    _device->SetRenderState(RenderState::ZEnable, 0);
    _device->SetRenderState(RenderState::Lighting, 0);
    _device->SetRenderState(RenderState::Clipping, 0);
    _device->SetRenderState(RenderState::Ambient, 0x55555555);
    _device->SetTextureStageState(0, TextureStageState::AddressU, kAddressClamp);
    _device->SetTextureStageState(0, TextureStageState::AddressV, kAddressClamp);
    _device->SetTextureStageState(0, TextureStageState::AlphaArg1, kTaTexture);
    _device->SetTextureStageState(0, TextureStageState::AlphaArg2, kTaDiffuse);
    _device->SetTextureStageState(0, TextureStageState::AlphaOp, kTopModulate);
    SetBlendMode();
    SetTextureFilter();
}

void CGraphicsDevice::SetTextureFilter() {
    if (!_device) return;
    _device->SetTextureStageState(0, TextureStageState::MinFilter, kFilterLinear);
    _device->SetTextureStageState(0, TextureStageState::MagFilter, kFilterLinear);
    _device->SetTextureStageState(0, TextureStageState::MipFilter, kFilterLinear);
}

void CGraphicsDevice::SetBlendMode() {
    if (!_device) return;
    _device->SetRenderState(RenderState::AlphaBlendEnable, 1);
    _device->SetRenderState(RenderState::SrcBlend, kBlendSrcAlpha);
    _device->SetRenderState(RenderState::DestBlend, kBlendInvSrcAlpha);
}

int CGraphicsDevice::NextScreenshotNumber(const std::string& folder) {
    namespace fs = std::filesystem;
    std::error_code ec;
    int next = 0;
    bool any = false;
    for (fs::directory_iterator it(folder.empty() ? "." : folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& p = it->path();
        std::string ext = p.extension().string();
        std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (ext != ".tga") continue;
        // Names that do not start with digits count as 0.
        int n = std::atoi(p.filename().string().c_str());
        next = any ? std::max(next, n + 1) : n + 1;
        any = true;
    }
    return next;
}

namespace {

uint16_t To555(uint32_t p, bool alpha_bit) {
    uint16_t v = static_cast<uint16_t>(((p >> 19) & 0x1F) << 10 | ((p >> 11) & 0x1F) << 5 | ((p >> 3) & 0x1F));
    if (alpha_bit && (p >> 24) >= 0x80) v |= 0x8000;
    return v;
}

uint16_t To565(uint32_t p) {
    return static_cast<uint16_t>(((p >> 19) & 0x1F) << 11 | ((p >> 10) & 0x3F) << 5 | ((p >> 3) & 0x1F));
}

// The header and the rows, bottom row first, in `bpp` bytes per pixel.
bool WriteTgaData(std::FILE* f, Format format, const std::vector<uint32_t>& argb, uint32_t width, uint32_t height,
                  int bpp, uint8_t alpha_bits) {
    uint8_t header[18] = {0, 0, 2};
    header[12] = static_cast<uint8_t>(width & 0xFF);
    header[13] = static_cast<uint8_t>(width >> 8);
    header[14] = static_cast<uint8_t>(height & 0xFF);
    header[15] = static_cast<uint8_t>(height >> 8);
    header[16] = static_cast<uint8_t>(bpp * 8);
    // The descriptor's low bits count the alpha bits: a format without alpha says
    // 0, so viewers show the picture opaque.
    header[17] = alpha_bits;
    if (std::fwrite(header, 1, sizeof header, f) != sizeof header) return false;
    std::vector<uint8_t> row(static_cast<size_t>(width) * bpp);
    for (uint32_t y = height; y-- > 0;) {  // the TGA origin is the lower left
        const uint32_t* src = argb.data() + static_cast<size_t>(y) * width;
        for (uint32_t x = 0; x < width; ++x) {
            uint32_t p = src[x];
            uint8_t* d = row.data() + static_cast<size_t>(x) * bpp;
            if (bpp == 4) {
                d[0] = p & 0xFF; d[1] = (p >> 8) & 0xFF; d[2] = (p >> 16) & 0xFF; d[3] = (p >> 24) & 0xFF;
            } else if (bpp == 3) {
                d[0] = p & 0xFF; d[1] = (p >> 8) & 0xFF; d[2] = (p >> 16) & 0xFF;
            } else {
                uint16_t v;
                if (format == Format::R5G6B5) {
                    // 5-6-5 pixels are written as 5-5-5: the top five bits of green.
                    uint16_t q = To565(p);
                    v = static_cast<uint16_t>(((q & 0xF800) >> 1) | ((q >> 1) & 0x3E0) | (q & 0x1F));
                } else {
                    v = To555(p, format == Format::A1R5G5B5);
                }
                d[0] = v & 0xFF;
                d[1] = v >> 8;
            }
        }
        if (std::fwrite(row.data(), 1, row.size(), f) != row.size()) return false;
    }
    return true;
}

}  // namespace

bool CGraphicsDevice::WriteTga(const std::string& path, Format format, const std::vector<uint32_t>& argb,
                               uint32_t width, uint32_t height, std::string* error) {
    int bpp = 0;
    uint8_t alpha_bits = 0;
    switch (format) {
        case Format::R8G8B8: bpp = 3; break;
        case Format::A8R8G8B8: bpp = 4; alpha_bits = 8; break;
        case Format::X8R8G8B8: bpp = 4; break;
        case Format::A1R5G5B5: bpp = 2; alpha_bits = 1; break;
        case Format::R5G6B5:
        case Format::X1R5G5B5: bpp = 2; break;
        default:
            if (error) *error = "no TGA form for the format";
            return false;
    }
    if (argb.size() < static_cast<size_t>(width) * height) {
        if (error) *error = "fewer pixels than the picture's size";
        return false;
    }
    // Written aside and renamed, so a failed write leaves no broken picture.
    return SaveWholeFile(
        path, [&](std::FILE* f) { return WriteTgaData(f, format, argb, width, height, bpp, alpha_bits); }, error);
}

bool CGraphicsDevice::SaveScreenshot() {
    if (!_device) return false;
    std::vector<uint32_t> pixels;
    uint32_t w = 0, h = 0;
    if (Failed(_device->ReadBackBuffer(&pixels, &w, &h))) return false;
    // By its full path: without the user folder there is no screenshot, and
    // never one in the current directory.
    const std::string folder = UserFolderPath("all");
    char name[32];
    std::snprintf(name, sizeof name, "%08d.tga", folder.empty() ? 0 : NextScreenshotNumber(folder));
    std::string error = "no user folder";
    if (!folder.empty() && WriteTga(folder + name, _device->BackBufferFormat(), pixels, w, h, &error)) return true;
    CLogger::Instance().Log(2, "Error: unable to save the screenshot '%s%s': %s", folder.c_str(), name, error.c_str());
    return false;
}
