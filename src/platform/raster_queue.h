#pragma once
// The frame's drawing, recorded and then rasterised in row bands by several
// threads. A draw call records its screen triangles with the raster state it
// had; a flush splits the target into horizontal bands and gives each band to
// one thread, which replays every command in the order it was recorded,
// clipped to its rows. Each pixel therefore sees the same operations in the
// same order as when drawn one call at a time, and the result is the same to
// the bit. Recorded states point at texture texels, so a texture that is
// drawn with is told about the queue and flushes it before its texels change
// or go away. The vectors keep their capacity between frames.
#include <cstdint>
#include <vector>

#include "platform/raster_pool.h"
#include "platform/rasterizer.h"
#include "platform/render_device.h"

namespace plat {

class RasterQueue : public TexelReader {
public:
    // `threads` counts the calling thread.
    explicit RasterQueue(unsigned threads);
    ~RasterQueue();
    RasterQueue(const RasterQueue&) = delete;
    RasterQueue& operator=(const RasterQueue&) = delete;

    // The target the flushes draw into; flush before it changes.
    void Bind(uint32_t* target, int width, int height);
    void Clear(uint32_t argb);
    // Starts a draw call with `st` (whose texels, if any, belong to `texture`).
    void Begin(const RasterState& st, Texture* texture);
    void Add(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
    // Rasterises everything recorded and empties the queue.
    void Flush();
    void ReleaseTexels() override { Flush(); }

private:
    struct Command {
        uint32_t state;               // index into _states, or kClear
        uint32_t first, count;        // triangles
        int row_begin, row_end;       // rows the triangles may touch
        uint32_t clear;
    };
    struct Tri {
        ScreenVertex v[3];
        int row_begin, row_end;
    };
    static constexpr uint32_t kClear = UINT32_MAX;
    static void Band(void* self, unsigned index);
    void Replay(int row_begin, int row_end);
    void Forget();

    RasterPool _pool;
    uint32_t* _target = nullptr;
    int _width = 0, _height = 0;
    std::vector<Command> _commands;
    std::vector<RasterState> _states;
    std::vector<Tri> _tris;
    std::vector<Texture*> _textures;  // told about this queue until the next flush
    int _band_rows = 1;
    unsigned _bands = 1;
};

}  // namespace plat
