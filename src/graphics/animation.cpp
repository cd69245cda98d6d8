#include "graphics/animation.h"

#include <algorithm>
#include <limits>

#include "engine/game_math.h"
#include "engine/helpers.h"
#include "engine/logger.h"
#include "engine/random.h"
#include "engine/xml_file.h"

namespace {

// Texel coordinates of frames and polygons are kept within this distance of
// the texture's origin (textures are at most 16384 texels a side), so every
// size taken from them is a finite float that fits an int.
constexpr double kMaxTexelCoordinate = 65536;

float TexelCoordinate(const std::string& text) {
    const double v = StrToFloat(text);
    if (v != v) return 0;  // "nan"
    return static_cast<float>(std::clamp(v, -kMaxTexelCoordinate, kMaxTexelCoordinate));
}

// A size in whole pixels; sizes of rectangles made in code may be anything.
int WholeSize(float v) {
    return TruncClamped(v, std::numeric_limits<int>::min(), std::numeric_limits<int>::max());
}

}  // namespace

void CAnimation::Reset(bool running, int default_delay) {
    _frames.clear();
    _running = running;
    _default_delay = default_delay;
    _animate_once = false;
    _polygons = false;
    _speed = 1.0f;
    _tick = 0;
    _frame_count = 0;
    _current = 0;
    if (running) _frames.reserve(16);
}

void CAnimation::AddFrame(const CFloatRect& tex_rect, const CPolygon* polygon) {
    SAnimationFrame frame;
    frame.tex_rect = tex_rect;
    if (polygon) frame.polygon = *polygon;
    frame.next_frame = _frame_count + 1;
    frame.delay = _default_delay;
    _frames.push_back(std::move(frame));
    _polygons = polygon != nullptr;
    ++_frame_count;
    ASSERT(static_cast<size_t>(_frame_count) == _frames.size());
}

bool CAnimation::Update() {
    if (!_running || _frames.empty()) return false;
    ++_tick;
    if (static_cast<float>(_frames[static_cast<size_t>(_current)].delay) * _speed > static_cast<float>(_tick))
        return false;
    _tick = 0;
    _current = _frames[static_cast<size_t>(_current)].next_frame;
    if (_current < 0 || _current >= _frame_count) {
        if (_animate_once) {
            _running = false;
            _current = _frame_count - 1;
        } else {
            _current = 0;
        }
    }
    return true;
}

void CAnimation::SetFrame(int index) {
    if (index >= 0 && index < _frame_count) _current = index;
}

const CFloatRect& CAnimation::GetCurrentTexRect() const {
    static const CFloatRect kNone;
    if (_current < 0 || static_cast<size_t>(_current) >= _frames.size()) return kNone;
    return _frames[static_cast<size_t>(_current)].tex_rect;
}

CPolygon* CAnimation::GetCurrentPolygon() {
    if (_current < 0 || static_cast<size_t>(_current) >= _frames.size()) return nullptr;
    return &_frames[static_cast<size_t>(_current)].polygon;
}

const CPolygon* CAnimation::GetCurrentPolygon() const {
    if (_current < 0 || static_cast<size_t>(_current) >= _frames.size()) return nullptr;
    return &_frames[static_cast<size_t>(_current)].polygon;
}

bool CAnimation::LoadAnimation(const std::string& file_name) {
    CXMLFile file(file_name);
    const CXMLNodeList frame_nodes = file.SelectNodes("//Animation/Frame");
    const CXMLNode root = file.SelectSingleNode("//Animation");
    const int n = static_cast<int>(frame_nodes.GetLength());
    if (n <= 0) {
        CLogger::Instance().Log(2, "Error: Animation from file %s has no frames!", file_name.c_str());
        return false;
    }

    const bool reverse = root.GetAttributeBool("reverse", false);
    if (_frame_count > 0) Reset(false, 0);
    _frames.reserve(static_cast<size_t>(2 * n - 2 > n ? 2 * n - 2 : n));
    _default_delay = root.GetAttributeInt("speed", 3);
    _animate_once = n >= 2 ? root.GetAttributeBool("animate_once", false) : false;

    std::vector<std::string> parts;
    for (int i = 0; i < n; ++i) {
        const CXMLNode node = frame_nodes.GetItem(i);
        // "poly": a count c and then c pairs of texel coordinates.
        Tokenize(&parts, node.GetAttribute("poly", ""), " ,");
        const int count = parts.empty() ? 0 : StrToInt(parts[0]);
        std::vector<CVector2> points;
        const bool poly_ok = count > 0 && static_cast<size_t>(count) <= (parts.size() - 1) / 2;
        if (poly_ok)
            for (size_t k = 0; k < static_cast<size_t>(count); ++k)
                points.emplace_back(TexelCoordinate(parts[1 + 2 * k]), TexelCoordinate(parts[2 + 2 * k]));

        Tokenize(&parts, node.GetAttribute("tex_rect", "0"), " ,");
        if (parts.size() < 4) {
            CLogger::Instance().Log(2, "Error: Animation from file %s. Invalid tex_rect!", file_name.c_str());
            return false;
        }
        const CFloatRect rect(TexelCoordinate(parts[0]), TexelCoordinate(parts[1]), TexelCoordinate(parts[2]),
                              TexelCoordinate(parts[3]));
        if (poly_ok) {
            const CPolygon polygon(points);
            AddFrame(rect, &polygon);
        } else {
            AddFrame(rect, nullptr);
        }
        SAnimationFrame& frame = _frames.back();
        frame.next_frame = node.GetAttributeInt("next_frame", _frame_count);
        frame.delay = node.GetAttributeInt("delay", _default_delay);
    }

    // Ping-pong: the inner frames again, backwards.
    if (reverse && n >= 2) {
        for (int i = n - 2; i >= 1; --i) {
            SAnimationFrame copy = _frames[static_cast<size_t>(i)];
            copy.next_frame = static_cast<int>(_frames.size()) + 1;
            _frames.push_back(std::move(copy));
        }
        _frame_count = static_cast<int>(_frames.size());
    }

    const int start = root.GetAttributeInt("start_frame", -999);
    if ((start == -999 || start >= _frame_count) && _frame_count > 1)
        _current = fx::rand() % (_frame_count - 1);
    else
        SetFrame(start);
    _running = _frame_count >= 2;
    return true;
}

void CAnimation::FitPolygons(const CFloatRect& rect) {
    if (!_polygons) return;
    const int W = WholeSize(rect.Width()), H = WholeSize(rect.Height());
    for (auto& f : _frames) {
        const int w = WholeSize(f.tex_rect.Width()), h = WholeSize(f.tex_rect.Height());
        if (w == 0 || h == 0) continue;
        f.polygon.Scale(plat::Matrix::Scaling(static_cast<float>(W) / w, static_cast<float>(H) / h, 0));
    }
}

void CAnimation::ScalePolygons(const plat::Matrix& scaling) {
    if (!_polygons) return;
    for (auto& f : _frames) f.polygon.Scale(scaling);
}

void CAnimation::SetPolygonsRotationCenter(float x, float y) {
    if (!_polygons) return;
    for (auto& f : _frames) f.polygon.SetRotationCenter(x, y);
}

void CAnimation::TransformCurrentPolygon(const plat::Matrix& rotation, const plat::Matrix& scaling,
                                         const plat::Matrix& translation) {
    if (!_polygons) return;
    if (CPolygon* p = GetCurrentPolygon()) p->Transform(rotation, scaling, translation);
}
