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

// ---------------------------------------------------------------- formats

int BytesPerPixel(Format f) {
    switch (f) {
        case Format::R8G8B8: return 3;
        case Format::A8R8G8B8:
        case Format::X8R8G8B8: return 4;
        case Format::R5G6B5:
        case Format::X1R5G5B5:
        case Format::A1R5G5B5:
        case Format::A4R4G4B4: return 2;
        case Format::R3G3B2: return 1;
        default: return 0;
    }
}

bool IsBlockFormat(Format f) {
    return f == Format::DXT1 || f == Format::DXT2 || f == Format::DXT3 || f == Format::DXT4 || f == Format::DXT5;
}

namespace {

uint32_t Expand565(uint16_t c) {
    uint32_t r = (c >> 11) & 31, g = (c >> 5) & 63, b = c & 31;
    return ((r << 3 | r >> 2) << 16) | ((g << 2 | g >> 4) << 8) | (b << 3 | b >> 2);
}

uint32_t Expand555(uint16_t c) {
    uint32_t r = (c >> 10) & 31, g = (c >> 5) & 31, b = c & 31;
    return ((r << 3 | r >> 2) << 16) | ((g << 3 | g >> 2) << 8) | (b << 3 | b >> 2);
}

uint16_t Read16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// The four colours of a DXT colour block (rgb only); `three` selects the
// three-colour mode with transparent black that DXT1 uses when c0 <= c1.
void BlockColors(const uint8_t* block, bool allow_three, uint32_t out[4], bool* transparent3) {
    uint16_t c0 = Read16(block), c1 = Read16(block + 2);
    uint32_t a = Expand565(c0), b = Expand565(c1);
    out[0] = a;
    out[1] = b;
    auto mix = [](uint32_t x, uint32_t y, int wx, int wy, int d) {
        uint32_t r = 0;
        for (int s = 0; s <= 16; s += 8) r |= (((((x >> s) & 0xFF) * wx + ((y >> s) & 0xFF) * wy) / d) & 0xFF) << s;
        return r;
    };
    *transparent3 = false;
    if (!allow_three || c0 > c1) {
        out[2] = mix(a, b, 2, 1, 3);
        out[3] = mix(a, b, 1, 2, 3);
    } else {
        out[2] = mix(a, b, 1, 1, 2);
        out[3] = 0;
        *transparent3 = true;
    }
}

void DecodeBlock(Format f, const uint8_t* block, uint32_t px[16]) {
    const uint8_t* color = block;
    uint8_t alpha[16];
    std::fill(alpha, alpha + 16, 255);
    if (f == Format::DXT2 || f == Format::DXT3) {
        for (int i = 0; i < 16; ++i) {
            uint32_t nib = (block[i / 2] >> ((i & 1) * 4)) & 0xF;
            alpha[i] = static_cast<uint8_t>(nib * 17);
        }
        color = block + 8;
    } else if (f == Format::DXT4 || f == Format::DXT5) {
        uint32_t a0 = block[0], a1 = block[1];
        uint32_t table[8] = {a0, a1};
        if (a0 > a1) {
            for (int i = 1; i < 7; ++i) table[i + 1] = ((7 - i) * a0 + i * a1) / 7;
        } else {
            for (int i = 1; i < 5; ++i) table[i + 1] = ((5 - i) * a0 + i * a1) / 5;
            table[6] = 0;
            table[7] = 255;
        }
        uint64_t bits = 0;
        for (int i = 0; i < 6; ++i) bits |= static_cast<uint64_t>(block[2 + i]) << (8 * i);
        for (int i = 0; i < 16; ++i) alpha[i] = static_cast<uint8_t>(table[(bits >> (3 * i)) & 7]);
        color = block + 8;
    }
    uint32_t colors[4];
    bool transparent3 = false;
    BlockColors(color, f == Format::DXT1, colors, &transparent3);
    uint32_t idx = static_cast<uint32_t>(color[4]) | color[5] << 8 | color[6] << 16 | static_cast<uint32_t>(color[7]) << 24;
    for (int i = 0; i < 16; ++i) {
        uint32_t k = (idx >> (2 * i)) & 3;
        uint32_t a = alpha[i];
        if (transparent3 && k == 3) a = 0;
        px[i] = (a << 24) | colors[k];
    }
}

}  // namespace

void DecodeToArgb(Format f, const uint8_t* src, uint32_t pitch, uint32_t width, uint32_t height, uint32_t* out) {
    if (IsBlockFormat(f)) {
        uint32_t block_bytes = f == Format::DXT1 ? 8 : 16;
        for (uint32_t by = 0; by < (height + 3) / 4; ++by)
            for (uint32_t bx = 0; bx < (width + 3) / 4; ++bx) {
                uint32_t px[16];
                DecodeBlock(f, src + by * pitch + bx * block_bytes, px);
                for (uint32_t j = 0; j < 4; ++j)
                    for (uint32_t i = 0; i < 4; ++i) {
                        uint32_t x = bx * 4 + i, y = by * 4 + j;
                        if (x < width && y < height) out[y * width + x] = px[j * 4 + i];
                    }
            }
        return;
    }
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* row = src + static_cast<size_t>(y) * pitch;
        uint32_t* dst = out + static_cast<size_t>(y) * width;
        for (uint32_t x = 0; x < width; ++x) {
            switch (f) {
                case Format::A8R8G8B8: {
                    uint32_t p;
                    std::memcpy(&p, row + 4 * x, 4);
                    dst[x] = p;
                    break;
                }
                case Format::X8R8G8B8: {
                    uint32_t p;
                    std::memcpy(&p, row + 4 * x, 4);
                    dst[x] = p | 0xFF000000u;
                    break;
                }
                case Format::R8G8B8:
                    dst[x] = 0xFF000000u | row[3 * x + 2] << 16 | row[3 * x + 1] << 8 | row[3 * x];
                    break;
                case Format::R5G6B5: dst[x] = 0xFF000000u | Expand565(Read16(row + 2 * x)); break;
                case Format::X1R5G5B5: dst[x] = 0xFF000000u | Expand555(Read16(row + 2 * x)); break;
                case Format::A1R5G5B5: {
                    uint16_t p = Read16(row + 2 * x);
                    dst[x] = ((p & 0x8000) ? 0xFF000000u : 0u) | Expand555(p);
                    break;
                }
                case Format::A4R4G4B4: {
                    uint16_t p = Read16(row + 2 * x);
                    dst[x] = ((p >> 12) & 0xF) * 0x11000000u | ((p >> 8) & 0xF) * 0x110000u | ((p >> 4) & 0xF) * 0x1100u |
                             (p & 0xF) * 0x11u;
                    break;
                }
                case Format::R3G3B2: {
                    uint8_t p = row[x];
                    dst[x] = 0xFF000000u | ((p >> 5) & 7) * 255 / 7 << 16 | ((p >> 2) & 7) * 255 / 7 << 8 | (p & 3) * 85;
                    break;
                }
                default: dst[x] = 0; break;
            }
        }
    }
}

// ---------------------------------------------------------------- textures

Texture::Texture(uint32_t width, uint32_t height, uint32_t levels, Format format)
    : _format(format), _width(std::max(1u, width)), _height(std::max(1u, height)) {
    uint32_t full = 1;
    for (uint32_t w = _width, h = _height; w > 1 || h > 1; w = std::max(1u, w / 2), h = std::max(1u, h / 2)) ++full;
    uint32_t n = levels == 0 ? full : std::min(levels, full);
    _levels.resize(n);
    _locked.assign(n, false);
    for (uint32_t l = 0; l < n; ++l) _levels[l].assign((LevelSize(l) + 3) / 4, 0);
    Refresh();
}

Texture::~Texture() {
    if (_reader) _reader->ReleaseTexels(*this);
}

uint32_t Texture::Width(uint32_t level) const { return std::max(1u, _width >> std::min(level, 31u)); }
uint32_t Texture::Height(uint32_t level) const { return std::max(1u, _height >> std::min(level, 31u)); }

uint32_t Texture::Pitch(uint32_t level) const {
    if (IsBlockFormat(_format)) return ((Width(level) + 3) / 4) * (_format == Format::DXT1 ? 8 : 16);
    return Width(level) * static_cast<uint32_t>(BytesPerPixel(_format));
}

size_t Texture::LevelSize(uint32_t level) const {
    size_t rows = IsBlockFormat(_format) ? (Height(level) + 3) / 4 : Height(level);
    return rows * Pitch(level);
}

Result Texture::LockRect(uint32_t level, void** bits, uint32_t* pitch) {
    if (level >= _levels.size() || _locked[level] || !bits) return kErrInvalidCall;
    // Level 0 may be what the device samples: a draw recorded with it is
    // finished before the texels change.
    if (level == 0 && _reader) _reader->ReleaseTexels(*this);
    _locked[level] = true;
    *bits = _levels[level].data();
    if (pitch) *pitch = Pitch(level);
    return kOk;
}

Result Texture::UnlockRect(uint32_t level) {
    if (level >= _levels.size() || !_locked[level]) return kErrInvalidCall;
    _locked[level] = false;
    if (level == 0) {
        if (_reader) _reader->ReleaseTexels(*this);
        Refresh();
    }
    return kOk;
}

void Texture::Refresh() {
    // 32-bit ARGB with alpha is sampled where it is stored; other formats
    // are decoded to a copy.
    if (_format == Format::A8R8G8B8) {
        std::vector<uint32_t>().swap(_argb);
        return;
    }
    _argb.resize(static_cast<size_t>(_width) * _height);
    DecodeToArgb(_format, reinterpret_cast<const uint8_t*>(_levels[0].data()), Pitch(0), _width, _height, _argb.data());
}

const uint32_t* Texture::Texels() const { return _argb.empty() ? _levels[0].data() : _argb.data(); }

std::vector<uint32_t> Texture::ToArgb() const {
    const uint32_t* texels = Texels();
    return std::vector<uint32_t>(texels, texels + static_cast<size_t>(_width) * _height);
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
