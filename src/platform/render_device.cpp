#include "platform/render_device.h"

#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

#include <unistd.h>

#include "platform/render_device_impl.h"
#include "platform/window.h"

namespace plat {

// ---------------------------------------------------------------- matrices

Matrix Matrix::Translation(float x, float y, float z) {
    Matrix r;
    r(3, 0) = x;
    r(3, 1) = y;
    r(3, 2) = z;
    return r;
}

Matrix Matrix::Scaling(float x, float y, float z) {
    Matrix r;
    r(0, 0) = x;
    r(1, 1) = y;
    r(2, 2) = z;
    return r;
}

Matrix Matrix::RotationZ(float radians) {
    Matrix r;
    float c = std::cos(radians), s = std::sin(radians);
    r(0, 0) = c;
    r(0, 1) = s;
    r(1, 0) = -s;
    r(1, 1) = c;
    return r;
}

Matrix Matrix::OrthoLH(float w, float h, float zn, float zf) {
    Matrix r;
    r(0, 0) = 2.0f / w;
    r(1, 1) = 2.0f / h;
    r(2, 2) = 1.0f / (zf - zn);
    r(3, 2) = zn / (zn - zf);
    return r;
}

Matrix Matrix::operator*(const Matrix& o) const {
    Matrix r;
    for (int i = 0; i < 4; ++i)
        for (int j = 0; j < 4; ++j) {
            float s = 0;
            for (int k = 0; k < 4; ++k) s += (*this)(i, k) * o(k, j);
            r(i, j) = s;
        }
    return r;
}

// ---------------------------------------------------------------- buffers

Result VertexBuffer::Lock(size_t offset, size_t size, void** data) {
    if (_locked || !data || offset > _data.size() || (size && offset + size > _data.size())) return kErrInvalidCall;
    _locked = true;
    *data = _data.data() + offset;
    return kOk;
}

Result VertexBuffer::Unlock() {
    if (!_locked) return kErrInvalidCall;
    _locked = false;
    return kOk;
}

Result IndexBuffer::Lock(size_t offset, size_t size, void** data) {
    size_t bytes = _data.size() * 2;
    if (_locked || !data || offset > bytes || (size && offset + size > bytes)) return kErrInvalidCall;
    _locked = true;
    *data = reinterpret_cast<uint8_t*>(_data.data()) + offset;
    return kOk;
}

Result IndexBuffer::Unlock() {
    if (!_locked) return kErrInvalidCall;
    _locked = false;
    return kOk;
}

GammaRamp GammaRamp::Linear() {
    GammaRamp g;
    for (int i = 0; i < 256; ++i) g.red[i] = g.green[i] = g.blue[i] = static_cast<uint16_t>(i * 257);
    return g;
}

// ---------------------------------------------------------------- device

namespace {
constexpr unsigned kMaxRasterThreads = 4;

// Threads that rasterise: VOVARO_RENDER_THREADS when set to a count, else one
// per core up to four.
unsigned RasterThreads(unsigned wanted) {
    if (wanted > 0) return wanted;
    if (const char* env = std::getenv("VOVARO_RENDER_THREADS")) {
        char* end = nullptr;
        long n = std::strtol(env, &end, 10);
        if (end != env && *end == '\0' && n >= 1 && n <= 64) return static_cast<unsigned>(n);
    }
    return std::clamp(std::thread::hardware_concurrency(), 1u, kMaxRasterThreads);
}
}  // namespace

void RenderDevice::Impl::Defaults() {
    for (auto& t : transforms) t = Matrix::Identity();
    combined_dirty = true;
    rs[static_cast<size_t>(RenderState::ZEnable)] = 1;
    rs[static_cast<size_t>(RenderState::Lighting)] = 1;
    rs[static_cast<size_t>(RenderState::Clipping)] = 1;
    rs[static_cast<size_t>(RenderState::Ambient)] = 0;
    rs[static_cast<size_t>(RenderState::CullMode)] = kCullCCW;
    rs[static_cast<size_t>(RenderState::AlphaBlendEnable)] = 0;
    rs[static_cast<size_t>(RenderState::SrcBlend)] = kBlendOne;
    rs[static_cast<size_t>(RenderState::DestBlend)] = kBlendZero;
    auto set = [&](TextureStageState s, uint32_t v) { tss[static_cast<size_t>(s)] = v; };
    set(TextureStageState::ColorOp, kTopModulate);
    set(TextureStageState::ColorArg1, kTaTexture);
    set(TextureStageState::ColorArg2, kTaCurrent);
    set(TextureStageState::AlphaOp, kTopSelectArg1);
    set(TextureStageState::AlphaArg1, kTaTexture);
    set(TextureStageState::AlphaArg2, kTaCurrent);
    set(TextureStageState::AddressU, kAddressWrap);
    set(TextureStageState::AddressV, kAddressWrap);
    set(TextureStageState::MinFilter, kFilterPoint);
    set(TextureStageState::MagFilter, kFilterPoint);
    set(TextureStageState::MipFilter, kFilterNone);
    texture = nullptr;
    stream = nullptr;
    stride = 0;
    indices = nullptr;
    base_vertex = 0;
}

void RenderDevice::Impl::ResizeBuffers() {
    Flush();
    size_t n = static_cast<size_t>(pp.width) * pp.height;
    back.assign(n, 0xFF000000u);
    front.assign(n, 0xFF000000u);
    front_behind = false;
    queue->Bind(back.data(), static_cast<int>(pp.width), static_cast<int>(pp.height));
}

void RenderDevice::Impl::StartRasterThreads(unsigned wanted) {
    const unsigned threads = RasterThreads(wanted);
    // A count asked for (tests, benchmarks) is used in full; otherwise the
    // threads join only for frames that need them.
    queue = std::make_unique<RasterQueue>(threads, wanted == 0);
}

RenderDevice::RenderDevice(std::unique_ptr<Impl> impl) : _impl(std::move(impl)) {}

RenderDevice::~RenderDevice() {
    // Nothing can read the back buffer any more: the recorded drawing is dropped.
    _impl->queue.reset();
    if (_impl->screen) SDL_DestroyTexture(_impl->screen);
    if (_impl->renderer) SDL_DestroyRenderer(_impl->renderer);
}

namespace {

// A render node is how a GPU offers OpenGL; without one (or with Mesa told to
// draw in software) OpenGL is a software rasteriser.
bool HasGpuRenderNode() {
    if (const char* soft = std::getenv("LIBGL_ALWAYS_SOFTWARE"); soft && *soft && std::strcmp(soft, "0") != 0) return false;
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("renderD", 0) == 0 && access(entry.path().c_str(), R_OK | W_OK) == 0) return true;
    }
    return false;
}

// The OpenGL implementation behind a renderer when it is a software one
// (Mesa's llvmpipe, softpipe or swrast), else empty.
std::string SoftwareOpenGl(SDL_Renderer* renderer) {
    SDL_RendererInfo info;
    if (SDL_GetRendererInfo(renderer, &info) != 0 || !info.name || std::strncmp(info.name, "opengl", 6) != 0) return {};
    using GetString = const unsigned char* (*)(unsigned);
    auto get_string = reinterpret_cast<GetString>(SDL_GL_GetProcAddress("glGetString"));
    constexpr unsigned kGlRenderer = 0x1F01;
    const unsigned char* name = get_string ? get_string(kGlRenderer) : nullptr;
    if (!name) return {};
    const std::string gl(reinterpret_cast<const char*>(name));
    for (const char* soft : {"llvmpipe", "softpipe", "swrast", "Software Rasterizer"})
        if (gl.find(soft) != std::string::npos) return gl;
    return {};
}

}  // namespace

std::unique_ptr<RenderDevice> RenderDevice::Create(Window& window, const PresentParameters& pp, Result* result) {
    auto impl = std::make_unique<Impl>();
    impl->window = &window;
    impl->pp = pp;
    // The frame is drawn in software whatever shows it: an OpenGL that draws
    // in software too only adds a copy, its threads and its start-up, so then
    // the frame goes straight to the window's surface. A GPU's OpenGL is kept.
    SDL_Renderer* r = nullptr;
    std::string why_surface = "no GPU offers OpenGL";
    if (SDL_GetHint(SDL_HINT_RENDER_DRIVER)) {
        r = SDL_CreateRenderer(window.Native(), -1, 0);
        why_surface = "the renderer asked for failed";
    } else if (HasGpuRenderNode()) {
        r = SDL_CreateRenderer(window.Native(), -1, SDL_RENDERER_ACCELERATED);
        const std::string soft = r ? SoftwareOpenGl(r) : std::string();
        why_surface = r ? "OpenGL draws in software: " + soft : "no accelerated renderer";
        if (!soft.empty()) {
            SDL_DestroyRenderer(r);
            r = nullptr;
        }
    }
    if (!r) {
        // SDL would otherwise show the surface through an OpenGL texture.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        if (SDL_GetWindowSurface(window.Native())) impl->renderer_name = "window surface (" + why_surface + ")";
        else r = SDL_CreateRenderer(window.Native(), -1, SDL_RENDERER_SOFTWARE);
        if (!r && !SDL_GetWindowSurface(window.Native())) {
            if (result) *result = kErrFail;
            return nullptr;
        }
    }
    impl->renderer = r;
    impl->StartRasterThreads(0);
    SDL_RendererInfo info;
    if (r && SDL_GetRendererInfo(r, &info) == 0 && info.name) impl->renderer_name = info.name;
    impl->ResizeBuffers();
    impl->Defaults();
    impl->UpdateGammaTables();
    if (!impl->MakeScreenTexture()) {
        if (result) *result = kErrOutOfMemory;
        return nullptr;
    }
    if (window.IsFullscreen() == pp.windowed) window.SetFullscreen(!pp.windowed);
    if (result) *result = kOk;
    return std::unique_ptr<RenderDevice>(new RenderDevice(std::move(impl)));
}

std::unique_ptr<RenderDevice> RenderDevice::CreateOffscreen(const PresentParameters& pp, unsigned raster_threads) {
    auto impl = std::make_unique<Impl>();
    impl->pp = pp;
    impl->StartRasterThreads(raster_threads);
    impl->ResizeBuffers();
    impl->Defaults();
    impl->UpdateGammaTables();
    return std::unique_ptr<RenderDevice>(new RenderDevice(std::move(impl)));
}

std::unique_ptr<RenderDevice> RenderDevice::CreateReference(const PresentParameters& pp) {
    auto device = CreateOffscreen(pp, 1);
    device->_impl->immediate = true;
    return device;
}

Result RenderDevice::TestCooperativeLevel() {
    if (_impl->window && _impl->window->TakeRendererReset()) _impl->lost = true;
    return _impl->lost ? kErrDeviceNotReset : kOk;
}

void RenderDevice::LoseDevice() {
    _impl->Flush();
    _impl->lost = true;
}

Result RenderDevice::Reset(const PresentParameters& pp) {
    Impl& d = *_impl;
    d.Flush();
    if (d.window && d.window->IsFullscreen() == pp.windowed && !d.window->SetFullscreen(!pp.windowed))
        return kErrNotAvailable;
    bool resize = pp.width != d.pp.width || pp.height != d.pp.height;
    d.pp = pp;
    if (resize) d.ResizeBuffers();
    if (!d.MakeScreenTexture()) return kErrOutOfMemory;
    d.Defaults();
    d.in_scene = false;
    d.lost = false;
    return kOk;
}

bool RenderDevice::IsWindowed() const { return _impl->pp.windowed; }

Result RenderDevice::SetTransform(TransformType type, const Matrix& m) {
    _impl->transforms[static_cast<int>(type)] = m;
    _impl->combined_dirty = true;
    return kOk;
}

Matrix RenderDevice::GetTransform(TransformType type) const { return _impl->transforms[static_cast<int>(type)]; }

Result RenderDevice::SetRenderState(RenderState state, uint32_t value) {
    size_t i = static_cast<size_t>(state);
    if (i >= kRenderStates) return kErrInvalidCall;
    _impl->rs[i] = value;
    return kOk;
}

uint32_t RenderDevice::GetRenderState(RenderState state) const {
    size_t i = static_cast<size_t>(state);
    return i < kRenderStates ? _impl->rs[i] : 0;
}

Result RenderDevice::SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value) {
    size_t i = static_cast<size_t>(state);
    if (i >= kStageStates) return kErrInvalidCall;
    // Only stage 0 takes part in drawing; the others are accepted and ignored.
    if (stage == 0) _impl->tss[i] = value;
    return kOk;
}

uint32_t RenderDevice::GetTextureStageState(uint32_t stage, TextureStageState state) const {
    size_t i = static_cast<size_t>(state);
    return (stage == 0 && i < kStageStates) ? _impl->tss[i] : 0;
}

Result RenderDevice::SetTexture(uint32_t stage, Texture* texture) {
    if (stage == 0) _impl->texture = texture;
    return kOk;
}

Texture* RenderDevice::GetTexture(uint32_t stage) const { return stage == 0 ? _impl->texture : nullptr; }

Result RenderDevice::SetStreamSource(uint32_t stream, VertexBuffer* vb, uint32_t stride) {
    if (stream != 0) return kErrInvalidCall;
    _impl->stream = vb;
    _impl->stride = stride;
    return kOk;
}

Result RenderDevice::SetIndices(IndexBuffer* ib, uint32_t base_vertex) {
    _impl->indices = ib;
    _impl->base_vertex = base_vertex;
    return kOk;
}

Result RenderDevice::SetVertexShader(uint32_t fvf) { return fvf == kFvfXyzDiffuseTex1 ? kOk : kErrInvalidCall; }

Result RenderDevice::CreateTexture(uint32_t w, uint32_t h, uint32_t levels, Format f, std::unique_ptr<Texture>* out) {
    if (!out || w == 0 || h == 0 || (BytesPerPixel(f) == 0 && !IsBlockFormat(f))) return kErrInvalidCall;
    if (w > MaxTextureWidth() || h > MaxTextureHeight()) return kErrInvalidCall;
    *out = std::make_unique<Texture>(w, h, levels, f);
    return kOk;
}

Result RenderDevice::CreateVertexBuffer(size_t bytes, std::unique_ptr<VertexBuffer>* out) {
    if (!out || bytes == 0) return kErrInvalidCall;
    *out = std::make_unique<VertexBuffer>(bytes);
    return kOk;
}

Result RenderDevice::CreateIndexBuffer(size_t bytes, std::unique_ptr<IndexBuffer>* out) {
    if (!out || bytes == 0) return kErrInvalidCall;
    *out = std::make_unique<IndexBuffer>(bytes);
    return kOk;
}

Result RenderDevice::CopyLevel(Texture& src, Texture& dst, uint32_t level) {
    if (src.GetFormat() != dst.GetFormat() || level >= src.LevelCount() || level >= dst.LevelCount() ||
        src.Width(level) != dst.Width(level) || src.Height(level) != dst.Height(level))
        return kErrInvalidCall;
    void* s = nullptr;
    void* d = nullptr;
    if (Failed(src.LockRect(level, &s, nullptr))) return kErrInvalidCall;
    if (Failed(dst.LockRect(level, &d, nullptr))) {
        src.UnlockRect(level);
        return kErrInvalidCall;
    }
    std::memcpy(d, s, src.LevelSize(level));
    src.UnlockRect(level);
    dst.UnlockRect(level);
    return kOk;
}

}  // namespace plat
