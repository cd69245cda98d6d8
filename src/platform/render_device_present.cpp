#include "platform/render_device.h"

#include <SDL.h>

#include <algorithm>

#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/render_device_impl.h"
#include "platform/screen_fit.h"
#include "platform/window.h"

namespace plat {

void RenderDevice::Impl::UpdateGammaTables() {
    gamma_identity = true;
    for (int i = 0; i < 256; ++i) {
        lut_r[i] = static_cast<uint8_t>(ramp.red[i] >> 8);
        lut_g[i] = static_cast<uint8_t>(ramp.green[i] >> 8);
        lut_b[i] = static_cast<uint8_t>(ramp.blue[i] >> 8);
        if (lut_r[i] != i || lut_g[i] != i || lut_b[i] != i) gamma_identity = false;
    }
    // The game's ramps lift every channel by one amount with saturation.
    gamma_lift = lut_r[0];
    for (int i = 0; i < 256 && gamma_lift >= 0; ++i) {
        const int lifted = std::min(255, i + gamma_lift);
        if (lut_r[i] != lifted || lut_g[i] != lifted || lut_b[i] != lifted) gamma_lift = -1;
    }
}

bool RenderDevice::Impl::MakeScreenTexture() {
    present_all = true;
    if (!renderer) return true;
    if (screen) SDL_DestroyTexture(screen);
    screen = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               static_cast<int>(pp.width), static_cast<int>(pp.height));
    if (!screen) return false;
    SDL_SetTextureBlendMode(screen, SDL_BLENDMODE_NONE);
    SDL_RenderSetLogicalSize(renderer, static_cast<int>(pp.width), static_cast<int>(pp.height));
    return true;
}

void RenderDevice::Impl::ApplyGamma(const uint32_t* src, uint32_t* dst, size_t n) const {
    if (gamma_identity) {
        std::copy(src, src + n, dst);
        return;
    }
    size_t i = 0;
    if (gamma_lift >= 0) {
#if defined(__SSE2__)
        const uint32_t lift = static_cast<uint32_t>(gamma_lift) * 0x010101u;
        const __m128i add = _mm_set1_epi32(static_cast<int>(lift));
        const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
        for (; i + 4 <= n; i += 4) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_or_si128(_mm_adds_epu8(p, add), opaque));
        }
#endif
    }
    // The ramp lifts what the player sees; the back buffer keeps the frame as drawn.
    for (; i < n; ++i) {
        const uint32_t p = src[i];
        dst[i] = 0xFF000000u | static_cast<uint32_t>(lut_r[(p >> 16) & 0xFF]) << 16 |
                 static_cast<uint32_t>(lut_g[(p >> 8) & 0xFF]) << 8 | lut_b[p & 0xFF];
    }
}

std::vector<SDL_Rect> RenderDevice::Impl::ChangedRects() const {
    // Runs of neighbouring changed tiles in a tile row make one rectangle.
    std::vector<SDL_Rect> rects;
    const int cols = queue->TileColumns(), rows = queue->TileRows();
    const int tw = RasterQueue::kTileWidth, th = RasterQueue::kTileHeight;
    const auto& drawn = queue->DrawnTiles();
    const int w = static_cast<int>(pp.width), h = static_cast<int>(pp.height);
    for (int ty = 0; ty < rows; ++ty)
        for (int tx = 0; tx < cols;) {
            if (!present_all && !drawn[static_cast<size_t>(ty) * cols + tx]) {
                ++tx;
                continue;
            }
            int end = tx + 1;
            while (end < cols && (present_all || drawn[static_cast<size_t>(ty) * cols + end])) ++end;
            const int x = tx * tw, y = ty * th;
            rects.push_back(SDL_Rect {x, y, std::min(w, end * tw) - x, std::min(h, y + th) - y});
            tx = end;
        }
    return rects;
}

bool RenderDevice::Impl::ShowOnRenderer(const std::vector<SDL_Rect>& rects) {
    const int pitch = static_cast<int>(pp.width * 4);
    for (const SDL_Rect& r : rects)
        if (SDL_UpdateTexture(screen, &r, front.data() + static_cast<size_t>(r.y) * pp.width + r.x, pitch) != 0) return false;
    SDL_SetRenderDrawColor(renderer, 0, 0, 0, 255);
    SDL_RenderClear(renderer);
    if (SDL_RenderCopy(renderer, screen, nullptr, nullptr) != 0) return false;
    SDL_RenderPresent(renderer);
    return true;
}

SDL_Rect RenderDevice::Impl::ShownArea(const SDL_Surface& surface) const {
    // What lies past the window's real size is never seen.
    int w = 0, h = 0;
    window->GetShownSize(&w, &h);
    return SDL_Rect {0, 0, std::clamp(w, 0, surface.w), std::clamp(h, 0, surface.h)};
}

SDL_Surface* RenderDevice::Impl::SurfaceOfFrameLayout() const {
    if (!window || renderer) return nullptr;
    SDL_Surface* surface = SDL_GetWindowSurface(window->Native());
    if (!surface) return nullptr;
    const SDL_Rect area = ShownArea(*surface);
    const bool same_layout = area.w == static_cast<int>(pp.width) &&
                             area.h == static_cast<int>(pp.height) && surface->format->BytesPerPixel == 4 &&
                             surface->format->Rmask == 0x00FF0000u && surface->format->Gmask == 0x0000FF00u &&
                             surface->format->Bmask == 0x000000FFu;
    return same_layout ? surface : nullptr;
}

bool RenderDevice::Impl::ShowOnSurface(const std::vector<SDL_Rect>& rects, const std::vector<uint32_t>& source) {
    SDL_Window* native = window->Native();
    SDL_Surface* surface = SDL_GetWindowSurface(native);
    if (!surface) return false;
    if (SurfaceOfFrameLayout()) {
        if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return false;
        for (const SDL_Rect& r : rects)
            for (int y = r.y; y < r.y + r.h; ++y) {
                const uint32_t* src = source.data() + static_cast<size_t>(y) * pp.width + r.x;
                auto* dst = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + static_cast<size_t>(y) * surface->pitch) + r.x;
                std::copy(src, src + r.w, dst);
            }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
        return SDL_UpdateWindowSurfaceRects(native, rects.data(), static_cast<int>(rects.size())) == 0;
    }
    // A window of another size (full screen on another mode): the frame is
    // scaled into what shows of it with its proportions kept, the rest black.
    SDL_Surface* frame = SDL_CreateRGBSurfaceWithFormatFrom(front.data(), static_cast<int>(pp.width), static_cast<int>(pp.height),
                                                            32, static_cast<int>(pp.width * 4), SDL_PIXELFORMAT_ARGB8888);
    if (!frame) return false;
    const SDL_Rect area = ShownArea(*surface);
    const ScreenFit fit(static_cast<int>(pp.width), static_cast<int>(pp.height), area.w, area.h);
    SDL_Rect target {fit.X(), fit.Y(), fit.Width(), fit.Height()};
    SDL_FillRect(surface, nullptr, SDL_MapRGB(surface->format, 0, 0, 0));
    SDL_SetSurfaceBlendMode(frame, SDL_BLENDMODE_NONE);
    const bool ok = SDL_BlitScaled(frame, nullptr, surface, &target) == 0;
    SDL_FreeSurface(frame);
    return ok && SDL_UpdateWindowSurface(native) == 0;
}

Result RenderDevice::Present() {
    Impl& d = *_impl;
    d.Flush();
    if (d.lost) return kErrDeviceLost;
    if (d.window && d.window->TakeExposed()) d.present_all = true;
    // Without a gamma ramp to apply, the back buffer goes to a window surface
    // of its layout as it is: one copy of the changed tiles instead of two.
    const bool direct = d.gamma_identity && d.SurfaceOfFrameLayout();
    // Otherwise the front buffer takes the frame, whole if it lags behind.
    if (!direct && d.front_behind) d.present_all = true;
    // Only the tiles drawn since the last present differ from what shows.
    const std::vector<SDL_Rect> rects = d.ChangedRects();
    if (!direct) {
        for (const SDL_Rect& r : rects)
            for (int y = r.y; y < r.y + r.h; ++y) {
                const size_t at = static_cast<size_t>(y) * d.pp.width + r.x;
                d.ApplyGamma(d.back.data() + at, d.front.data() + at, static_cast<size_t>(r.w));
            }
    }
    d.front_behind = direct;
    d.queue->ClearDrawnTiles();
    d.present_all = false;
    if (rects.empty() || !d.window) return kOk;
    const bool shown =
        d.renderer ? (d.screen && d.ShowOnRenderer(rects)) : d.ShowOnSurface(rects, direct ? d.back : d.front);
    if (!shown) {
        // Shown whole the next time.
        d.present_all = true;
        return kErrFail;
    }
    return kOk;
}

void RenderDevice::SetGammaRamp(const GammaRamp& ramp) {
    _impl->ramp = ramp;
    _impl->UpdateGammaTables();
    _impl->present_all = true;
}

GammaRamp RenderDevice::GetGammaRamp() const { return _impl->ramp; }

Result RenderDevice::ReadBackBuffer(std::vector<uint32_t>* argb, uint32_t* width, uint32_t* height) const {
    if (!argb) return kErrInvalidCall;
    _impl->Flush();
    *argb = _impl->back;
    if (width) *width = _impl->pp.width;
    if (height) *height = _impl->pp.height;
    return kOk;
}

Format RenderDevice::BackBufferFormat() const { return _impl->pp.format; }

Result RenderDevice::ReadPresentedFrame(std::vector<uint32_t>* argb, uint32_t* width, uint32_t* height) const {
    if (!argb) return kErrInvalidCall;
    *argb = _impl->front;
    // Frames that went straight to the window surface are read from there.
    SDL_Surface* surface = _impl->front_behind ? _impl->SurfaceOfFrameLayout() : nullptr;
    if (surface && (!SDL_MUSTLOCK(surface) || SDL_LockSurface(surface) == 0)) {
        for (uint32_t y = 0; y < _impl->pp.height; ++y) {
            const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(surface->pixels) + y * surface->pitch);
            for (uint32_t x = 0; x < _impl->pp.width; ++x) (*argb)[y * _impl->pp.width + x] = row[x] | 0xFF000000u;
        }
        if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
    }
    if (width) *width = _impl->pp.width;
    if (height) *height = _impl->pp.height;
    return kOk;
}

uint64_t RenderDevice::AvailableTextureMem() const {
    // Textures live in main memory; report what the machine has free.
    long pages = sysconf(_SC_AVPHYS_PAGES), size = sysconf(_SC_PAGESIZE);
    return (pages > 0 && size > 0) ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(size) : 0;
}

std::string RenderDevice::RendererName() const { return "software rasteriser, shown by SDL " + _impl->renderer_name; }

uint32_t RenderDevice::MaxTextureWidth() const { return kMaxTextureSize; }
uint32_t RenderDevice::MaxTextureHeight() const { return kMaxTextureSize; }

SDL_Renderer* RenderDevice::NativeRenderer() const { return _impl->renderer; }

unsigned RenderDevice::LastTilesDrawn() const { return _impl->queue->LastTilesDrawn(); }

}  // namespace plat
