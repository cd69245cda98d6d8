#include "platform/raster_queue.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>

#include "platform/texel_footprint.h"

namespace plat {

namespace {
// Triangles whose bounds cover this many tiles' worth of pixels are looked
// at for tiles where they sample only clear texels.
constexpr int kClearTilesFrom = 4;

// A queue this long is rasterised at once, so that scenes that never present
// do not grow it without bound.
constexpr size_t kMaxTris = 1u << 16;

// The pixels a span of coordinates [lo, hi] may touch once snapped, a margin
// wider than the rasteriser's own bounds, as [first, end).
void SpanPixels(float lo, float hi, int size, int* first, int* end) {
    *first = std::max(0, static_cast<int>(std::floor(std::max(lo, -4.0f))) - 1);
    *end = std::min(size, static_cast<int>(std::ceil(std::min(hi, size + 4.0f))) + 2);
}
}  // namespace

void RasterQueue::Recording::Forget() {
    states.clear();
    tris.clear();
    large.clear();
    clears.clear();
    order.clear();
}

RasterQueue::RasterQueue(unsigned threads, bool paced) : _pool(threads), _paced(paced) {}

RasterQueue::~RasterQueue() {
    // Nothing reads the target any more: what is recorded is dropped.
    LetGoOfTextures();
}

void RasterQueue::Bind(uint32_t* target, int width, int height) {
    Flush();
    _target = target;
    _width = std::max(width, 0);
    _height = std::max(height, 0);
    _tile_cols = (_width + kTileWidth - 1) / kTileWidth;
    _tile_rows = (_height + kTileHeight - 1) / kTileHeight;
    const size_t tiles = static_cast<size_t>(_tile_cols) * _tile_rows;
    _last_tile_valid.assign(tiles, 0);
    _drawn.assign(tiles, 1);
    _last.Forget();
    _last_valid = false;
}

void RasterQueue::Clear(uint32_t argb) {
    if (_now.order.size() >= kMaxTris) Flush();
    _now.order.push_back(kClearItem | static_cast<uint32_t>(_now.clears.size()));
    _now.clears.push_back(argb);
}

void RasterQueue::Begin(const RasterState& st, Texture* texture) {
    if (_now.order.size() >= kMaxTris || _now.states.size() >= kMaxTris) Flush();
    if (texture && texture->Reader() != this) {
        // Drawn with by another device too: that one finishes first.
        if (TexelReader* other = texture->Reader()) other->ReleaseTexels(*texture);
        texture->SetReader(this);
        _textures.push_back(texture);
    }
    _now.states.push_back(st);
}

void RasterQueue::Add(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
    // Triangles the rasteriser would refuse (not finite, or wholly outside the
    // target) are left out.
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y) ||
        !std::isfinite(c.x) || !std::isfinite(c.y) || _now.states.empty())
        return;
    const float top = std::min({a.y, b.y, c.y}), bottom = std::max({a.y, b.y, c.y});
    const float left = std::min({a.x, b.x, c.x}), right = std::max({a.x, b.x, c.x});
    if (bottom < -2.0f || top > static_cast<float>(_height) + 2.0f) return;
    if (right < -2.0f || left > static_cast<float>(_width) + 2.0f) return;
    int row_begin, row_end, col_begin, col_end;
    SpanPixels(top, bottom, _height, &row_begin, &row_end);
    SpanPixels(left, right, _width, &col_begin, &col_end);
    if (row_begin >= row_end || col_begin >= col_end) return;
    const uint32_t index = static_cast<uint32_t>(_now.tris.size());
    _now.order.push_back(index);
    _now.tris.push_back(Tri {{a, b, c}, static_cast<uint32_t>(_now.states.size() - 1), col_begin / kTileWidth,
                             (col_end - 1) / kTileWidth + 1, row_begin / kTileHeight, (row_end - 1) / kTileHeight + 1,
                             kNoBase});
    // Small ones are cheaper to draw than to look at for clear tiles.
    if ((right - left) * (bottom - top) >= kClearTilesFrom * kTileWidth * kTileHeight) _now.large.push_back(index);
}

void RasterQueue::SortIntoTiles(Recording& rec) const {
    const size_t tiles = static_cast<size_t>(_tile_cols) * _tile_rows;
    auto each_tile = [&](uint32_t item, auto&& fn) {
        if (item & kClearItem) {
            for (size_t t = 0; t < tiles; ++t) fn(t);
            return;
        }
        const Tri& tri = rec.tris[item];
        const uint32_t clear_at = tri.clear_at;
        uint32_t flag = clear_at;
        for (int ty = tri.tile_row_begin; ty < tri.tile_row_end; ++ty)
            for (int tx = tri.tile_col_begin; tx < tri.tile_col_end; ++tx, ++flag)
                if (clear_at == kNoBase || !rec.clear_in_tile[flag]) fn(static_cast<size_t>(ty) * _tile_cols + tx);
    };
    rec.tile_start.assign(tiles + 1, 0);
    for (uint32_t item : rec.order) each_tile(item, [&](size_t t) { ++rec.tile_start[t + 1]; });
    for (size_t t = 0; t < tiles; ++t) rec.tile_start[t + 1] += rec.tile_start[t];
    rec.items.resize(rec.tile_start[tiles]);
    // Filled from each tile's start, which is then restored from its neighbour.
    for (uint32_t item : rec.order) each_tile(item, [&](size_t t) { rec.items[rec.tile_start[t]++] = item; });
    for (size_t t = tiles; t > 0; --t) rec.tile_start[t] = rec.tile_start[t - 1];
    rec.tile_start[0] = 0;
}

const TexelOpacity& RasterQueue::OpacityOf(const RasterState& st) {
    auto it = _opacity.find(st.texels);
    if (it == _opacity.end()) it = _opacity.emplace(st.texels, TexelOpacity(st.texels, st.tex_width, st.tex_height)).first;
    return it->second;
}

void RasterQueue::FindClearTiles(Recording& rec) {
    rec.clear_in_tile.clear();
    for (const uint32_t i : rec.large) {
        Tri& tri = rec.tris[i];
        const RasterState& st = rec.states[tri.state];
        if (!Rasterizer::ClearTexelsLeavePixels(st)) continue;
        const TexelOpacity& opacity = OpacityOf(st);
        if (!opacity.AnyClear()) continue;
        const TexelFootprint footprint(tri.v, st);
        if (!footprint.Known()) continue;
        tri.clear_at = static_cast<uint32_t>(rec.clear_in_tile.size());
        for (int ty = tri.tile_row_begin; ty < tri.tile_row_end; ++ty)
            for (int tx = tri.tile_col_begin; tx < tri.tile_col_end; ++tx) {
                const int x0 = tx * kTileWidth, x1 = std::min(_width, x0 + kTileWidth);
                const int y0 = ty * kTileHeight, y1 = std::min(_height, y0 + kTileHeight);
                Rasterizer::TexelRect texels;
                const bool known = footprint.In(x0, y0, x1, y1, &texels);
                rec.clear_in_tile.push_back(known && (texels.Empty() || opacity.Clear(texels)));
            }
    }
}

void RasterQueue::ForgetOpacity(const uint32_t* texels) { _opacity.erase(texels); }

uint32_t RasterQueue::BaseOf(const Recording& rec, int tile) {
    const uint32_t begin = rec.tile_start[tile], end = rec.tile_start[tile + 1];
    const int tx = tile % _tile_cols, ty = tile / _tile_cols;
    const int x0 = tx * kTileWidth, x1 = std::min(_width, x0 + kTileWidth);
    const int y0 = ty * kTileHeight, y1 = std::min(_height, y0 + kTileHeight);
    for (uint32_t i = end; i > begin; --i) {
        const uint32_t item = rec.items[i - 1];
        if (item & kClearItem) return i - 1;
        // The second half of a quad: the triangle recorded just before it,
        // with the same state, is the first.
        if (i - 1 == begin) break;
        const uint32_t first = rec.items[i - 2];
        if ((first & kClearItem) || first + 1 != item) continue;
        const Tri& a = rec.tris[first];
        const Tri& b = rec.tris[item];
        if (a.state != b.state) continue;
        const RasterState& st = rec.states[a.state];
        Rasterizer::TexelRect texels;
        if (Rasterizer::PairReplaces(a.v, b.v, st, x0, y0, x1, y1, &texels) && (texels.Empty() || OpacityOf(st).Opaque(texels)))
            return i - 2;
    }
    return kNoBase;
}

bool RasterQueue::DrawnAlike(int tile) {
    _now.tile_base[tile] = kNoBase;
    if (_now.tile_start[tile + 1] == _now.tile_start[tile]) return true;  // nothing drawn there
    if (!_last_valid || !_last_tile_valid[tile]) {
        _now.tile_base[tile] = BaseOf(_now, tile);
        return false;
    }
    // The whole drawing as at the last flush: the base is where it was (the
    // textures it depends on are unchanged, or the tile would not be valid).
    const uint32_t begin = _now.tile_start[tile], then = _last.tile_start[tile];
    const uint32_t count = _now.tile_start[tile + 1] - begin;
    bool whole = count == _last.tile_start[tile + 1] - then;
    for (uint32_t i = 0; whole && i < count; ++i) whole = SameItem(_now.items[begin + i], _last.items[then + i]);
    if (whole) {
        if (_last.tile_base[tile] == kNoBase) return false;
        _now.tile_base[tile] = begin + (_last.tile_base[tile] - then);
        return true;
    }
    _now.tile_base[tile] = BaseOf(_now, tile);
    return SameAsLast(tile);
}

bool RasterQueue::SameItem(uint32_t now, uint32_t then) const {
    if ((now ^ then) & kClearItem) return false;
    if (now & kClearItem) return _now.clears[now & ~kClearItem] == _last.clears[then & ~kClearItem];
    const Tri& a = _now.tris[now];
    const Tri& b = _last.tris[then];
    return std::memcmp(a.v, b.v, sizeof a.v) == 0 && _now.states[a.state] == _last.states[b.state];
}

bool RasterQueue::SameAsLast(int tile) const {
    // Only a drawing that starts from a clear or a hiding quad ends the same
    // whatever the tile held.
    const uint32_t base = _now.tile_base[tile], last_base = _last.tile_base[tile];
    if (base == kNoBase || last_base == kNoBase) return false;
    const uint32_t count = _now.tile_start[tile + 1] - base;
    if (count != _last.tile_start[tile + 1] - last_base) return false;
    const uint32_t begin = base, then = last_base;
    for (uint32_t i = 0; i < count; ++i)
        if (!SameItem(_now.items[begin + i], _last.items[then + i])) return false;
    return true;
}

void RasterQueue::DrawTile(void* self, unsigned index) {
    auto* q = static_cast<RasterQueue*>(self);
    const auto started = std::chrono::steady_clock::now();
    const uint32_t tile = q->_dirty[index];
    const int tx = static_cast<int>(tile) % q->_tile_cols, ty = static_cast<int>(tile) / q->_tile_cols;
    const int x0 = tx * kTileWidth, x1 = std::min(q->_width, x0 + kTileWidth);
    const int y0 = ty * kTileHeight, y1 = std::min(q->_height, y0 + kTileHeight);
    Rasterizer raster(q->_target, q->_width, q->_height, y0, y1, x0, x1);
    const Recording& rec = q->_now;
    // What comes before the base is hidden by it.
    const uint32_t base = rec.tile_base[tile] == kNoBase ? rec.tile_start[tile] : rec.tile_base[tile];
    for (uint32_t i = base; i < rec.tile_start[tile + 1]; ++i) {
        const uint32_t item = rec.items[i];
        if (item & kClearItem) {
            const uint32_t color = rec.clears[item & ~kClearItem] | 0xFF000000u;
            for (int y = y0; y < y1; ++y) {
                uint32_t* row = q->_target + static_cast<size_t>(y) * q->_width;
                std::fill(row + x0, row + x1, color);
            }
            continue;
        }
        const Tri& t = rec.tris[item];
        // A triangle recorded right after this one with the same state (the
        // other half of a quad) is drawn with it.
        if (i + 1 < rec.tile_start[tile + 1] && rec.items[i + 1] == item + 1 && rec.tris[item + 1].state == t.state) {
            raster.Pair(t.v, rec.tris[item + 1].v, rec.states[t.state]);
            ++i;
            continue;
        }
        raster.Triangle(t.v[0], t.v[1], t.v[2], rec.states[t.state]);
    }
    const auto took = std::chrono::steady_clock::now() - started;
    q->_work_ns.fetch_add(std::chrono::duration_cast<std::chrono::nanoseconds>(took).count(), std::memory_order_relaxed);
}

void RasterQueue::Flush() {
    if (_now.order.empty() || !_target) {
        _now.Forget();
        return;
    }
    FindClearTiles(_now);
    SortIntoTiles(_now);
    const int tiles = _tile_cols * _tile_rows;
    _now.tile_base.resize(static_cast<size_t>(tiles));
    _dirty.clear();
    for (int t = 0; t < tiles; ++t)
        if (!DrawnAlike(t)) _dirty.push_back(static_cast<uint32_t>(t));
    const unsigned max_helpers = _paced ? static_cast<unsigned>(_last_work_ns / kWorkPerThreadNs) : ~0u;
    _work_ns.store(0, std::memory_order_relaxed);
    _pool.Run(static_cast<unsigned>(_dirty.size()), &RasterQueue::DrawTile, this, max_helpers);
    _last_work_ns = _work_ns.load(std::memory_order_relaxed);
    for (uint32_t t : _dirty) _drawn[t] = 1;
    _last_tiles_drawn = static_cast<unsigned>(_dirty.size());
    // What was drawn now is what the next flush compares with.
    std::swap(_now, _last);
    _now.Forget();
    _last_valid = true;
    std::fill(_last_tile_valid.begin(), _last_tile_valid.end(), 1);
    KeepTexturesOfLast();
}

void RasterQueue::KeepTexturesOfLast() {
    std::vector<const uint32_t*> used;
    used.reserve(_last.states.size());
    for (const RasterState& st : _last.states)
        if (st.texels) used.push_back(st.texels);
    std::sort(used.begin(), used.end());
    auto kept = std::remove_if(_textures.begin(), _textures.end(), [&](Texture* t) {
        if (std::binary_search(used.begin(), used.end(), t->Texels())) return false;
        t->SetReader(nullptr);
        // It no longer tells this queue, so it may change unseen.
        ForgetOpacity(t->Texels());
        return true;
    });
    _textures.erase(kept, _textures.end());
}

void RasterQueue::ReleaseTexels(Texture& texture) {
    Flush();
    // The tiles it was drawn into cannot keep their pixels on its word.
    const uint32_t* texels = texture.Texels();
    const int tiles = _tile_cols * _tile_rows;
    if (_last_valid && !_last.tile_start.empty()) {
        for (int t = 0; t < tiles; ++t)
            for (uint32_t i = _last.tile_start[t]; i < _last.tile_start[t + 1] && _last_tile_valid[t]; ++i) {
                const uint32_t item = _last.items[i];
                if (!(item & kClearItem) && _last.states[_last.tris[item].state].texels == texels) _last_tile_valid[t] = 0;
            }
    }
    texture.SetReader(nullptr);
    _textures.erase(std::remove(_textures.begin(), _textures.end(), &texture), _textures.end());
    ForgetOpacity(texels);
}

void RasterQueue::LetGoOfTextures() {
    for (Texture* t : _textures) t->SetReader(nullptr);
    _textures.clear();
    _opacity.clear();
}

void RasterQueue::ClearDrawnTiles() { std::fill(_drawn.begin(), _drawn.end(), 0); }

}  // namespace plat
