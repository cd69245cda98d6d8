#pragma once
// The render device: our stand-in for the Direct3D 8 device the game draws with.
// Vertices are transformed on the CPU by world x view x projection and the
// triangles are rasterised by our own rasteriser into an 800x600 32-bit back
// buffer, which Present hands to SDL2's renderer (scaled to the window).
// Rasterising ourselves keeps every frame exact and the same on every machine,
// headless or not, and reproduces what the game relies on: pixel centres at
// integer coordinates with the top-left fill rule, counter-clockwise culling,
// texture x vertex-colour modulation, interpolated vertex colours, linear
// filtering, clamp addressing, alpha and additive blending, a gamma ramp applied
// at present, and textures that keep a CPU copy so that a reset (or a mode
// toggle) loses nothing.
//
// Draw calls are recorded and the frame is rasterised in 128x32 tiles, each
// tile replaying the calls that touch it in order, on up to four threads (one
// per core, or VOVARO_RENDER_THREADS); the pixels are the same to the bit on
// any number of threads. A tile whose drawing is the same as in the last frame
// keeps its pixels and is not shown again.
//
// Only the operations the game calls exist. Results follow the Direct3D habit of
// an HRESULT-like code: kOk (0) on success, a negative code on failure.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

struct SDL_Renderer;

namespace plat {

using Result = int32_t;
constexpr Result kOk = 0;
constexpr Result kErrFail = static_cast<Result>(0x80004005);
constexpr Result kErrInvalidCall = static_cast<Result>(0x8876086C);
constexpr Result kErrDeviceLost = static_cast<Result>(0x88760868);
constexpr Result kErrDeviceNotReset = static_cast<Result>(0x88760869);
constexpr Result kErrNotAvailable = static_cast<Result>(0x8876086A);
constexpr Result kErrOutOfMemory = static_cast<Result>(0x8007000E);

// The largest texture side the rasteriser takes.
constexpr uint32_t kMaxTextureSize = 4096;

inline bool Succeeded(Result r) { return r >= 0; }
inline bool Failed(Result r) { return r < 0; }

// The 24-byte vertex of all 2D drawing: position, ARGB diffuse colour, one
// texture coordinate pair (the fixed format 0x142).
struct Vertex {
    float x, y, z;
    uint32_t color;
    float u, v;
};
static_assert(sizeof(Vertex) == 24, "2D vertices are 24 bytes");
constexpr uint32_t kFvfXyzDiffuseTex1 = 0x142;

// Row-major 4x4 matrix in the Direct3D convention (row vectors, v' = v * M).
struct Matrix {
    std::array<float, 16> m {1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 1};
    float& operator()(int r, int c) { return m[r * 4 + c]; }
    float operator()(int r, int c) const { return m[r * 4 + c]; }
    static Matrix Identity() { return {}; }
    static Matrix Translation(float x, float y, float z);
    static Matrix Scaling(float x, float y, float z);
    static Matrix RotationZ(float radians);
    // Left-handed orthographic projection of the given width and height.
    static Matrix OrthoLH(float w, float h, float zn, float zf);
    Matrix operator*(const Matrix& o) const;
};

enum class Format : uint32_t {
    Unknown = 0,
    R8G8B8 = 20,
    A8R8G8B8 = 21,
    X8R8G8B8 = 22,
    R5G6B5 = 23,
    X1R5G5B5 = 24,
    A1R5G5B5 = 25,
    A4R4G4B4 = 26,
    R3G3B2 = 27,
    DXT1 = 0x31545844,
    DXT2 = 0x32545844,
    DXT3 = 0x33545844,
    DXT4 = 0x34545844,
    DXT5 = 0x35545844,
};
// Bytes per pixel of an uncompressed format (0 for block formats and Unknown).
int BytesPerPixel(Format f);
bool IsBlockFormat(Format f);
// Decodes `width` x `height` pixels of any supported format (rows `pitch` bytes
// apart; for block formats a row of 4x4 blocks) into 32-bit ARGB. Formats
// without alpha give opaque pixels.
void DecodeToArgb(Format f, const uint8_t* src, uint32_t pitch, uint32_t width, uint32_t height, uint32_t* out);

enum class TransformType { World, View, Projection };

enum class RenderState {
    ZEnable,
    Lighting,
    Clipping,
    Ambient,
    CullMode,          // value: kCullNone, kCullCW, kCullCCW
    AlphaBlendEnable,
    SrcBlend,          // value: a Blend
    DestBlend,         // value: a Blend
};
constexpr uint32_t kCullNone = 1, kCullCW = 2, kCullCCW = 3;

enum Blend : uint32_t {
    kBlendZero = 1,
    kBlendOne = 2,
    kBlendSrcColor = 3,
    kBlendInvSrcColor = 4,
    kBlendSrcAlpha = 5,
    kBlendInvSrcAlpha = 6,
    kBlendDestAlpha = 7,
    kBlendInvDestAlpha = 8,
    kBlendDestColor = 9,
    kBlendInvDestColor = 10,
};

enum class TextureStageState {
    ColorOp, ColorArg1, ColorArg2, AlphaOp, AlphaArg1, AlphaArg2,
    AddressU, AddressV, MinFilter, MagFilter, MipFilter,
};
// Values for the texture-stage states.
enum TextureOp : uint32_t {
    kTopDisable = 1,
    kTopSelectArg1 = 2,
    kTopSelectArg2 = 3,
    kTopModulate = 4,
    kTopModulate2x = 5,
    kTopModulate4x = 6,
    kTopAdd = 7,
};
enum TextureArg : uint32_t { kTaDiffuse = 0, kTaCurrent = 1, kTaTexture = 2 };
constexpr uint32_t kAddressWrap = 1, kAddressClamp = 3;
constexpr uint32_t kFilterNone = 0, kFilterPoint = 1, kFilterLinear = 2;

// Something that reads textures' decoded texels after it was handed them (the
// device's deferred drawing): a texture tells it before its texels change or
// go away, and then lets go of it (SetReader(null)).
class Texture;
class TexelReader {
public:
    virtual void ReleaseTexels(Texture& texture) = 0;

protected:
    ~TexelReader() = default;
};

// A texture with a CPU copy of every level ("managed"). Drawing samples level 0
// as ARGB: an A8R8G8B8 texture's own level, other formats a copy decoded
// whenever level 0 is unlocked.
class Texture {
public:
    // levels 0 means the full chain down to 1x1.
    Texture(uint32_t width, uint32_t height, uint32_t levels, Format format);
    ~Texture();
    Texture(const Texture&) = delete;
    Texture& operator=(const Texture&) = delete;

    uint32_t Width(uint32_t level = 0) const;
    uint32_t Height(uint32_t level = 0) const;
    uint32_t LevelCount() const { return static_cast<uint32_t>(_levels.size()); }
    Format GetFormat() const { return _format; }
    // Row pitch in bytes of a level (for block formats, of a row of 4x4 blocks).
    uint32_t Pitch(uint32_t level) const;
    // Byte size of a level's data.
    size_t LevelSize(uint32_t level) const;

    // Locks a whole level: the returned pointer addresses LevelSize(level)
    // bytes laid out by Pitch(level). kErrInvalidCall for a bad level or a
    // level that is already locked.
    Result LockRect(uint32_t level, void** bits, uint32_t* pitch);
    Result UnlockRect(uint32_t level);

    // Level 0 as 32-bit ARGB pixels (width x height), decoded from any format.
    std::vector<uint32_t> ToArgb() const;
    // The decoded level 0 the rasteriser samples.
    const uint32_t* Texels() const;
    // The reader that still holds Texels() from a draw not yet rasterised.
    TexelReader* Reader() const { return _reader; }
    void SetReader(TexelReader* reader) { _reader = reader; }

private:
    void Refresh();
    Format _format;
    uint32_t _width, _height;
    // Each level's bytes, kept in 32-bit words so that level 0 of an ARGB
    // texture is also the texels the device samples.
    std::vector<std::vector<uint32_t>> _levels;
    std::vector<bool> _locked;
    std::vector<uint32_t> _argb;  // level 0 decoded, for formats other than A8R8G8B8
    TexelReader* _reader = nullptr;
};

class VertexBuffer {
public:
    explicit VertexBuffer(size_t bytes) : _data(bytes) {}
    Result Lock(size_t offset, size_t size, void** data);  // size 0 locks to the end
    Result Unlock();
    size_t Size() const { return _data.size(); }
    const uint8_t* Data() const { return _data.data(); }

private:
    std::vector<uint8_t> _data;
    bool _locked = false;
};

class IndexBuffer {
public:
    explicit IndexBuffer(size_t bytes) : _data(bytes / 2) {}
    Result Lock(size_t offset, size_t size, void** data);  // offset and size in bytes; size 0 to the end
    Result Unlock();
    size_t Count() const { return _data.size(); }
    const uint16_t* Data() const { return _data.data(); }

private:
    std::vector<uint16_t> _data;
    bool _locked = false;
};

struct PresentParameters {
    uint32_t width = 800, height = 600;
    Format format = Format::X8R8G8B8;
    uint32_t back_buffer_count = 2;
    bool windowed = true;
};

struct GammaRamp {
    std::array<uint16_t, 256> red {}, green {}, blue {};
    static GammaRamp Linear();
    bool operator==(const GammaRamp&) const = default;
};

class Window;

class RenderDevice {
public:
    // Creates the device for a window; the SDL renderer that shows the frames is
    // the accelerated one when the display offers it, else SDL's software one.
    // Null with the error in `result`.
    static std::unique_ptr<RenderDevice> Create(Window& window, const PresentParameters& pp, Result* result);
    // A device without a window: Present only keeps the presented frame
    // (tests, benchmarks and tools). `raster_threads` sets how many threads
    // rasterise, all of them on every frame with tiles enough; 0 takes
    // VOVARO_RENDER_THREADS or one per core up to four, and calls on them
    // only for frames whose drawing takes long (as a window's device does).
    // Draw calls are recorded and rasterised at EndScene, Present,
    // ReadBackBuffer, Reset, LoseDevice and before a texture drawn with
    // changes or goes away; the pixels are the same on any number of threads.
    static std::unique_ptr<RenderDevice> CreateOffscreen(const PresentParameters& pp, unsigned raster_threads = 0);
    // A device without a window that draws every triangle the moment it is
    // drawn, alone and over the whole back buffer, and clears the whole back
    // buffer at once: nothing is recorded, cut into tiles, paired, left out
    // or kept. The pixels the tiled drawing must give, for tests.
    static std::unique_ptr<RenderDevice> CreateReference(const PresentParameters& pp);
    ~RenderDevice();
    RenderDevice(const RenderDevice&) = delete;
    RenderDevice& operator=(const RenderDevice&) = delete;

    // kOk, or kErrDeviceNotReset once the device was lost (the renderer lost its
    // resources, or LoseDevice was called) until Reset succeeds.
    Result TestCooperativeLevel();
    // Applies the parameters (window mode among them), returns every state to
    // its default and unbinds textures, stream and indices, as a reset does.
    // kErrNotAvailable, with the device as it was, when the window cannot take
    // the requested mode.
    Result Reset(const PresentParameters& pp);
    bool IsWindowed() const;
    // Marks the device lost, as the display taking it away would.
    void LoseDevice();

    Result SetTransform(TransformType type, const Matrix& m);
    Matrix GetTransform(TransformType type) const;
    Result SetRenderState(RenderState state, uint32_t value);
    uint32_t GetRenderState(RenderState state) const;
    Result SetTextureStageState(uint32_t stage, TextureStageState state, uint32_t value);
    uint32_t GetTextureStageState(uint32_t stage, TextureStageState state) const;
    Result SetTexture(uint32_t stage, Texture* texture);
    Texture* GetTexture(uint32_t stage) const;
    Result SetStreamSource(uint32_t stream, VertexBuffer* vb, uint32_t stride);
    Result SetIndices(IndexBuffer* ib, uint32_t base_vertex);
    Result SetVertexShader(uint32_t fvf);

    Result CreateTexture(uint32_t w, uint32_t h, uint32_t levels, Format f, std::unique_ptr<Texture>* out);
    Result CreateVertexBuffer(size_t bytes, std::unique_ptr<VertexBuffer>* out);
    Result CreateIndexBuffer(size_t bytes, std::unique_ptr<IndexBuffer>* out);
    // Copies a whole level of one texture onto the same level of another of the
    // same size and format.
    Result CopyLevel(Texture& src, Texture& dst, uint32_t level);

    Result Clear(uint32_t argb);
    Result BeginScene();
    Result EndScene();
    // Indexed triangle list from the bound stream and indices: vertices
    // base + min_index .. base + min_index + num_vertices - 1 may be referenced.
    Result DrawIndexedTriangleList(uint32_t min_index, uint32_t num_vertices, uint32_t start_index,
                                   uint32_t triangle_count);
    // Non-indexed triangle list from the bound stream.
    Result DrawTriangleList(uint32_t start_vertex, uint32_t triangle_count);
    // Non-indexed triangle list from user memory (stride in bytes).
    Result DrawTriangleListUP(uint32_t triangle_count, const void* vertices, uint32_t stride);
    // Shows the back buffer through the gamma ramp.
    Result Present();

    void SetGammaRamp(const GammaRamp& ramp);
    GammaRamp GetGammaRamp() const;

    // The back buffer (the frame being drawn, or the last one finished) as
    // 32-bit ARGB pixels, row by row from the top, and its format.
    Result ReadBackBuffer(std::vector<uint32_t>* argb, uint32_t* width, uint32_t* height) const;
    Format BackBufferFormat() const;
    // The last presented frame as the player saw it (gamma ramp applied).
    Result ReadPresentedFrame(std::vector<uint32_t>* argb, uint32_t* width, uint32_t* height) const;
    // Available texture memory in bytes, for the device report.
    uint64_t AvailableTextureMem() const;
    std::string RendererName() const;
    uint32_t MaxTextureWidth() const;
    uint32_t MaxTextureHeight() const;

    SDL_Renderer* NativeRenderer() const;
    // Tiles the last rasterising pass drew (the others kept their pixels).
    unsigned LastTilesDrawn() const;

    struct Impl;

private:
    explicit RenderDevice(std::unique_ptr<Impl> impl);
    Result DrawTriangles(const uint8_t* vertices, uint32_t stride, uint32_t first, uint32_t count,
                         const uint16_t* indices, uint32_t triangle_count);
    std::unique_ptr<Impl> _impl;
};

}  // namespace plat
