#include "platform/raster_queue.h"

#include <algorithm>
#include <cmath>

namespace plat {

namespace {
// Bands per thread: smaller bands even out frames whose work sits in a few rows.
constexpr unsigned kBandsPerThread = 4;
// A queue this long is rasterised at once, so that scenes that never present
// do not grow it without bound.
constexpr size_t kMaxTris = 1u << 16;
}  // namespace

RasterQueue::RasterQueue(unsigned threads) : _pool(threads) {}

RasterQueue::~RasterQueue() { Forget(); }

void RasterQueue::Bind(uint32_t* target, int width, int height) {
    Flush();
    _target = target;
    _width = width;
    _height = height;
    _bands = std::max(1u, std::min<unsigned>(_pool.Threads() * kBandsPerThread, static_cast<unsigned>(std::max(height, 1))));
    _band_rows = (std::max(height, 1) + static_cast<int>(_bands) - 1) / static_cast<int>(_bands);
    _bands = static_cast<unsigned>((std::max(height, 1) + _band_rows - 1) / _band_rows);
}

void RasterQueue::Clear(uint32_t argb) {
    if (_commands.size() >= kMaxTris) Flush();
    _commands.push_back(Command {kClear, 0, 0, 0, _height, argb});
}

void RasterQueue::Begin(const RasterState& st, Texture* texture) {
    if (_tris.size() >= kMaxTris || _commands.size() >= kMaxTris) Flush();
    if (texture && texture->Reader() != this) {
        // Drawn with by another device too: that one finishes first.
        if (TexelReader* other = texture->Reader()) other->ReleaseTexels();
        texture->SetReader(this);
        _textures.push_back(texture);
    }
    _commands.push_back(Command {static_cast<uint32_t>(_states.size()), static_cast<uint32_t>(_tris.size()), 0,
                                 _height, 0, 0});
    _states.push_back(st);
}

void RasterQueue::Add(const ScreenVertex& a, const ScreenVertex& b, const ScreenVertex& c) {
    // Triangles the rasteriser would refuse (not finite, or wholly above or
    // below the target) are left out; the rows kept are a margin wider than
    // the ones the snapped vertices can cover.
    if (!std::isfinite(a.x) || !std::isfinite(a.y) || !std::isfinite(b.x) || !std::isfinite(b.y) ||
        !std::isfinite(c.x) || !std::isfinite(c.y))
        return;
    const float lo = std::min({a.y, b.y, c.y}), hi = std::max({a.y, b.y, c.y});
    if (hi < -2.0f || lo > static_cast<float>(_height) + 2.0f) return;
    const int row_begin = std::max(0, static_cast<int>(std::floor(std::max(lo, -4.0f))) - 1);
    const int row_end = std::min(_height, static_cast<int>(std::ceil(std::min(hi, _height + 4.0f))) + 2);
    if (row_begin >= row_end) return;
    Command& cmd = _commands.back();
    cmd.row_begin = std::min(cmd.row_begin, row_begin);
    cmd.row_end = std::max(cmd.row_end, row_end);
    ++cmd.count;
    _tris.push_back(Tri {{a, b, c}, row_begin, row_end});
}

void RasterQueue::Replay(int row_begin, int row_end) {
    Rasterizer raster(_target, _width, _height, row_begin, row_end);
    for (const Command& cmd : _commands) {
        if (cmd.state == kClear) {
            std::fill(_target + static_cast<size_t>(row_begin) * _width, _target + static_cast<size_t>(row_end) * _width,
                      cmd.clear | 0xFF000000u);
            continue;
        }
        if (cmd.row_end <= row_begin || cmd.row_begin >= row_end) continue;
        const RasterState& st = _states[cmd.state];
        for (const Tri* t = _tris.data() + cmd.first, *end = t + cmd.count; t != end; ++t)
            if (t->row_end > row_begin && t->row_begin < row_end) raster.Triangle(t->v[0], t->v[1], t->v[2], st);
    }
}

void RasterQueue::Band(void* self, unsigned index) {
    auto* q = static_cast<RasterQueue*>(self);
    const int begin = static_cast<int>(index) * q->_band_rows;
    q->Replay(begin, std::min(q->_height, begin + q->_band_rows));
}

void RasterQueue::Flush() {
    if (!_commands.empty() && _target) _pool.Run(_bands, &RasterQueue::Band, this);
    Forget();
}

void RasterQueue::Forget() {
    for (Texture* t : _textures) t->SetReader(nullptr);
    _textures.clear();
    _commands.clear();
    _states.clear();
    _tris.clear();
}

}  // namespace plat
