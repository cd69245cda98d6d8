#pragma once
// The inside of the render device, shared by its three parts: state and
// buffers (render_device.cpp), drawing (render_device_draw.cpp) and presenting
// (render_device_present.cpp).
#include <SDL_rect.h>

#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/raster_queue.h"
#include "platform/rasterizer.h"
#include "platform/render_device.h"

struct SDL_Renderer;
struct SDL_Surface;
struct SDL_Texture;

namespace plat {

constexpr size_t kRenderStates = 8;
constexpr size_t kStageStates = 11;

struct RenderDevice::Impl {
    Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;  // null: shown on the window surface
    SDL_Texture* screen = nullptr;
    std::string renderer_name = "offscreen";
    PresentParameters pp;
    std::vector<uint32_t> back, front;
    Matrix transforms[3];
    Matrix combined;
    bool combined_dirty = true;
    std::array<uint32_t, kRenderStates> rs {};
    std::array<uint32_t, kStageStates> tss {};
    Texture* texture = nullptr;
    VertexBuffer* stream = nullptr;
    uint32_t stride = 0;
    IndexBuffer* indices = nullptr;
    uint32_t base_vertex = 0;
    GammaRamp ramp = GammaRamp::Linear();
    std::array<uint8_t, 256> lut_r {}, lut_g {}, lut_b {};
    bool gamma_identity = true;
    int gamma_lift = 0;  // the amount when the ramp is a saturating lift, else -1
    bool present_all = true;  // the next present shows every tile
    // The last presents went from the back buffer straight to the window
    // surface (no gamma to apply): the front buffer lags behind what shows.
    bool front_behind = false;
    bool lost = false;
    bool in_scene = false;
    std::vector<ScreenVertex> scratch;
    // The drawing, recorded and rasterised by tiles.
    std::unique_ptr<RasterQueue> queue;
    // Drawn at once, triangle by triangle, instead (a reference device).
    bool immediate = false;

    void Flush() { queue->Flush(); }
    uint32_t Stage(TextureStageState s) const { return tss[static_cast<size_t>(s)]; }
    uint32_t State(RenderState s) const { return rs[static_cast<size_t>(s)]; }

    // Every state as a new device has it; nothing bound.
    void Defaults();
    // Back and front buffer of the present size, black.
    void ResizeBuffers();
    // The queue and the threads that rasterise its tiles.
    void StartRasterThreads(unsigned wanted);
    // The 8-bit tables of the gamma ramp, and whether it is a plain lift.
    void UpdateGammaTables();
    // The streaming texture that shows the frame through the SDL renderer
    // (none on the window surface); the next present shows the whole frame.
    bool MakeScreenTexture();
    // `n` pixels of the back buffer through the gamma ramp.
    void ApplyGamma(const uint32_t* src, uint32_t* dst, size_t n) const;
    // The parts of the frame to show anew: the tiles drawn since the last present.
    std::vector<SDL_Rect> ChangedRects() const;
    // Shows the changed parts of the front buffer through the SDL renderer, or
    // of `source` (the front or the back buffer) on the window's surface when
    // there is no renderer.
    bool ShowOnRenderer(const std::vector<SDL_Rect>& rects);
    bool ShowOnSurface(const std::vector<SDL_Rect>& rects, const std::vector<uint32_t>& source);
    // The window's surface, when what shows of it has the frame's size and
    // the surface the frame's pixel layout.
    SDL_Surface* SurfaceOfFrameLayout() const;
    // The part of the window's surface that the window really shows.
    SDL_Rect ShownArea(const SDL_Surface& surface) const;
    RasterState MakeRasterState() const;
    // world x view x projection.
    const Matrix& Combined();
};

}  // namespace plat
