#pragma once
// The frame's drawing, recorded and then rasterised tile by tile. A draw call
// records its screen triangles with the raster state it had; a flush sorts
// them into the 128x32 tiles of the target they may touch, keeping their order,
// and rasterises each tile on its own (on as many threads as the queue has),
// clipped to the tile. Each pixel sees the same operations in the same order
// as when drawn one call at a time, so the result is the same to the bit on
// any number of threads.
//
// Most of a frame is what the last one drew: a tile whose drawing starts with
// a clear and whose clear colours, triangles and states are the same as at the
// last flush keeps its pixels, since the same commands give the same pixels.
// A tile's drawing starts at its last clear, or at the last quad that hides
// everything under it (opaque all over the tile): what comes before cannot
// show, so it is neither compared nor drawn. A panel over a moving
// background keeps its tiles. A triangle that samples only clear texels in a
// tile (and is drawn so that those leave pixels as they were) is left out of
// the tile's drawing: a layer moving over a tile where it is clear (the sky
// between clouds) does not make the tile draw again.
// Recorded states point at texture texels, so a texture that is drawn with is
// told about the queue: before its texels change or go away it flushes the
// queue and makes the tiles it was drawn into draw again. The vectors keep
// their capacity between frames.
//
// A paced queue calls on its other threads only for a frame whose drawing
// takes long: the time the last flush's tiles took decides how many threads
// the next one may use, one for every kWorkPerThread of it. Waking threads
// for a light frame costs more than it saves. An eager queue uses all of them
// whenever there are tiles enough.
#include <atomic>
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/raster_pool.h"
#include "platform/rasterizer.h"
#include "platform/render_device.h"
#include "platform/texel_opacity.h"

namespace plat {

class RasterQueue : public TexelReader {
public:
    static constexpr int kTileWidth = 128, kTileHeight = 32;

    static constexpr int64_t kWorkPerThreadNs = 4'000'000;

    // `threads` counts the calling thread.
    explicit RasterQueue(unsigned threads, bool paced = false);
    ~RasterQueue();
    RasterQueue(const RasterQueue&) = delete;
    RasterQueue& operator=(const RasterQueue&) = delete;

    // The target the flushes draw into (its pixels as they are now are not
    // known: every tile draws again); flush before it changes.
    void Bind(uint32_t* target, int width, int height);
    void Clear(uint32_t argb);
    // Starts a draw call with `st` (whose texels, if any, belong to `texture`).
    void Begin(const RasterState& st, Texture* texture);
    void Add(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c);
    // Rasterises the tiles whose drawing changed and empties the queue.
    void Flush();
    void ReleaseTexels(Texture& texture) override;
    // The next flush draws every tile, whatever the last one drew.
    void Invalidate() { _last_valid = false; }

    int TileColumns() const { return _tile_cols; }
    int TileRows() const { return _tile_rows; }
    // One flag per tile (row by row) for the tiles rasterised since the flags
    // were last cleared: what a present must show anew.
    const std::vector<uint8_t>& DrawnTiles() const { return _drawn; }
    void ClearDrawnTiles();
    // Tiles rasterised by the last flush that had anything to draw.
    unsigned LastTilesDrawn() const { return _last_tiles_drawn; }

private:
    struct Tri {
        ScreenVertex v[3];
        uint32_t state;                  // index into the recording's states
        int tile_col_begin, tile_col_end;  // the tiles the triangle may touch
        int tile_row_begin, tile_row_end;
        // Its first flag in the recording's `clear_in_tile` (kNoBase: none),
        // one flag per tile it may touch, row by row: it draws nothing there.
        uint32_t clear_at;
    };
    // One flush's worth of drawing and its order within each tile.
    struct Recording {
        std::vector<RasterState> states;
        std::vector<Tri> tris;
        std::vector<uint32_t> clears;     // colours
        std::vector<uint32_t> order;      // triangle indices and clear items, as recorded
        std::vector<uint32_t> tile_start; // per tile, its first entry in `items` (one more at the end)
        std::vector<uint32_t> items;      // each tile's entries of `order`, in order
        std::vector<uint32_t> tile_base;  // per tile, its entry the drawing starts from (kNoBase: none)
        std::vector<uint32_t> large;  // triangles large enough to look for clear tiles under
        std::vector<uint8_t> clear_in_tile;
        void Forget();
    };
    static constexpr uint32_t kClearItem = 0x80000000u;
    static constexpr uint32_t kNoBase = 0xFFFFFFFFu;

    static void DrawTile(void* self, unsigned index);
    // Finds the tiles where large triangles sample only clear texels.
    void FindClearTiles(Recording& rec);
    void SortIntoTiles(Recording& rec) const;
    // Where a tile's drawing starts: its last clear or last hiding quad.
    uint32_t BaseOf(const Recording& rec, int tile);
    // Finds the tile's base and tells whether it shows what it showed after
    // the last flush.
    bool DrawnAlike(int tile);
    // Every texel of `rect` in the state's texture is opaque.
    const TexelOpacity& OpacityOf(const RasterState& st);
    void ForgetOpacity(const uint32_t* texels);
    // The drawing from the tile's base on is the last flush's, from its base on.
    bool SameAsLast(int tile) const;
    bool SameItem(uint32_t now, uint32_t then) const;
    void KeepTexturesOfLast();
    void LetGoOfTextures();

    RasterPool _pool;
    uint32_t* _target = nullptr;
    int _width = 0, _height = 0;
    int _tile_cols = 0, _tile_rows = 0;
    Recording _now, _last;
    bool _last_valid = false;
    std::vector<uint8_t> _last_tile_valid;  // per tile: its drawing at the last flush still shows
    std::vector<uint32_t> _dirty;           // tiles the flush under way draws
    std::vector<uint8_t> _drawn;
    unsigned _last_tiles_drawn = 0;
    bool _paced;
    std::atomic<int64_t> _work_ns {0};  // the tiles' drawing time, summed over the threads
    int64_t _last_work_ns = 0;
    std::vector<Texture*> _textures;  // told about this queue (drawn with now or at the last flush)
    // The opacity of the textures that hide tiles; a texture's is forgotten
    // when it changes, goes away or stops telling this queue.
    std::unordered_map<const uint32_t*, TexelOpacity> _opacity;
};

}  // namespace plat
