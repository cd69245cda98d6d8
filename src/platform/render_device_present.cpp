#include "platform/render_device.h"

#include <SDL.h>

#include <algorithm>

#include <unistd.h>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "platform/render_device_impl.h"

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
    if (!renderer) return true;
    if (screen) SDL_DestroyTexture(screen);
    screen = SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                               static_cast<int>(pp.width), static_cast<int>(pp.height));
    if (!screen) return false;
    SDL_SetTextureBlendMode(screen, SDL_BLENDMODE_NONE);
    SDL_RenderSetLogicalSize(renderer, static_cast<int>(pp.width), static_cast<int>(pp.height));
    return true;
}

Result RenderDevice::Present() {
    Impl& d = *_impl;
    d.Flush();
    if (d.lost) return kErrDeviceLost;
    if (d.gamma_identity) {
        d.front = d.back;
    } else if (d.gamma_lift >= 0) {
        size_t i = 0;
#if defined(__SSE2__)
        const uint32_t lift = static_cast<uint32_t>(d.gamma_lift) * 0x010101u;
        const __m128i add = _mm_set1_epi32(static_cast<int>(lift));
        const __m128i opaque = _mm_set1_epi32(static_cast<int>(0xFF000000u));
        for (; i + 4 <= d.back.size(); i += 4) {
            const __m128i p = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d.back.data() + i));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d.front.data() + i), _mm_or_si128(_mm_adds_epu8(p, add), opaque));
        }
#endif
        for (; i < d.back.size(); ++i) {
            uint32_t p = d.back[i];
            d.front[i] = 0xFF000000u | static_cast<uint32_t>(d.lut_r[(p >> 16) & 0xFF]) << 16 |
                         static_cast<uint32_t>(d.lut_g[(p >> 8) & 0xFF]) << 8 | d.lut_b[p & 0xFF];
        }
    } else {
        // The ramp lifts what the player sees; the back buffer keeps the frame as drawn.
        for (size_t i = 0; i < d.back.size(); ++i) {
            uint32_t p = d.back[i];
            d.front[i] = 0xFF000000u | static_cast<uint32_t>(d.lut_r[(p >> 16) & 0xFF]) << 16 |
                         static_cast<uint32_t>(d.lut_g[(p >> 8) & 0xFF]) << 8 | d.lut_b[p & 0xFF];
        }
    }
    if (d.renderer && d.screen) {
        if (SDL_UpdateTexture(d.screen, nullptr, d.front.data(), static_cast<int>(d.pp.width * 4)) != 0) return kErrFail;
        SDL_SetRenderDrawColor(d.renderer, 0, 0, 0, 255);
        SDL_RenderClear(d.renderer);
        if (SDL_RenderCopy(d.renderer, d.screen, nullptr, nullptr) != 0) return kErrFail;
        SDL_RenderPresent(d.renderer);
    }
    return kOk;
}

void RenderDevice::SetGammaRamp(const GammaRamp& ramp) {
    _impl->ramp = ramp;
    _impl->UpdateGammaTables();
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

}  // namespace plat
