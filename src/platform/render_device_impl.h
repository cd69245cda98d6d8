#pragma once
// The inside of the render device, shared by its three parts: state and
// buffers (render_device.cpp), drawing (render_device_draw.cpp) and presenting
// (render_device_present.cpp).
#include <array>
#include <memory>
#include <string>
#include <vector>

#include "platform/raster_queue.h"
#include "platform/rasterizer.h"
#include "platform/render_device.h"

struct SDL_Renderer;
struct SDL_Texture;

namespace plat {

constexpr size_t kRenderStates = 8;
constexpr size_t kStageStates = 11;

struct RenderDevice::Impl {
    Window* window = nullptr;
    SDL_Renderer* renderer = nullptr;
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
    bool lost = false;
    bool in_scene = false;
    std::vector<ScreenVertex> scratch;
    // Deferred drawing in row bands; null with one thread, which draws each
    // call at once.
    std::unique_ptr<RasterQueue> queue;

    void Flush() {
        if (queue) queue->Flush();
    }
    uint32_t Stage(TextureStageState s) const { return tss[static_cast<size_t>(s)]; }
    uint32_t State(RenderState s) const { return rs[static_cast<size_t>(s)]; }

    // Every state as a new device has it; nothing bound.
    void Defaults();
    // Back and front buffer of the present size, black.
    void ResizeBuffers();
    // The threads that rasterise in row bands (none with one thread).
    void StartRasterThreads(unsigned wanted);
    // The 8-bit tables of the gamma ramp, and whether it is a plain lift.
    void UpdateGammaTables();
    // The streaming texture that shows the frame through the SDL renderer.
    bool MakeScreenTexture();
    RasterState MakeRasterState() const;
    // world x view x projection.
    const Matrix& Combined();
};

}  // namespace plat
