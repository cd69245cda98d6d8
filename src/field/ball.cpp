#include "field/ball.h"

#include <exception>

#include "engine/logger.h"
#include "field/ball_tables.h"
#include "field/graph_obj.h"
#include "graphics/object_2d.h"
#include "graphics/plume.h"

CBall::CBall(const BallDesc& desc, std::unique_ptr<CGraphOBJ> graph_obj)
    : _graph_obj(std::move(graph_obj)), _desc(desc) {
    ApplySubstrateRule();
}

CBall::~CBall() { ReleaseGraph(); }

CGraphOBJ& CBall::Graph() const {
    ASSERT_THROW_IF_FAILED(_graph_obj.get() != NULL);
    return *_graph_obj;
}

void CBall::Update(bool count_time) {
    if (count_time) ++_existence_time;
    Graph().UpdateEffect();
    if (_state == bsMOVE || _state == bsSWAP) Step();
}

bool CBall::IsBusy() const { return _graph_obj && _graph_obj->HasEffect(); }

void CBall::SetPos(float x, float y) {
    Graph().SetPosition(x, y);
    UpdateSubstratePos();
}

void CBall::SetAngle(float degrees) { Graph().SetAngle(degrees); }

void CBall::SetVisible(bool visible) {
    CGraphOBJ& graph = Graph();
    if (visible == _visible) return;
    graph.SetVisible(visible);
    _visible = visible;
}

void CBall::SetAlpha(int alpha) {
    Graph().SetAlpha(alpha, -1);
    if (_lock) _lock->SetAlpha(alpha);
    if (_substrate_sprite) _substrate_sprite->SetAlpha(alpha, kAllCorners);
    _substrate_effect_visible = alpha >= 128;
}

void CBall::ChangeType(const BallDesc& desc, std::unique_ptr<CGraphOBJ> graph_obj) {
    _prev_desc = _desc;
    _desc = desc;
    _graph_obj = std::move(graph_obj);
    _visible = true;  // a new drawable is attached
    ApplySubstrateRule();
    _existence_time = 0;
}

void CBall::ReleaseGraph() { _graph_obj.reset(); }

void CBall::ApplySubstrateRule() {
    if (_desc.bonus_type != 0)
        SetSubstrate(0);
    else if (_desc.substrate_id != 0)
        SetSubstrate(_desc.substrate_id);
    else
        ClearSubstrate();
}

void CBall::ClearSubstrate() {
    _substrate_effect.reset();
    _substrate_effect_visible = false;
    _substrate_sprite.reset();
}

void CBall::SetSubstrate(int id) {
    const SubstrateDesc* desc = FindBallSubstrate(id);
    if (!desc) {
        ASSERT(false);
        return;
    }
    ClearSubstrate();
    if (desc->plume.empty()) {
        _substrate_sprite = std::make_unique<C2DObject>();
        _substrate_sprite->Create(0, 0, desc->graphics, true);
        if (id != 0) _substrate_sprite->SetColor(_desc.substrate_color, kAllCorners);
    } else {
        auto effect = std::make_unique<CPlume>();
        effect->Init();
        try {
            effect->StartEmitter(desc->plume, 0, 0);
            _substrate_effect = std::move(effect);
            _substrate_effect_visible = true;
        } catch (const std::exception& e) {
            // The player has logged the unknown name; the ball goes without.
            CLogger::Instance().Log(2, "Error: Substrate %d: %s", id, e.what());
        }
    }
    UpdateSubstratePos();
}

void CBall::UpdateSubstratePos() {
    if (!_substrate_effect && !_substrate_sprite) return;
    const CGraphOBJ& graph = Graph();
    const float cx = graph.GetLeft(0) + graph.GetWidth(0) / 2;
    const float cy = graph.GetTop(0) + graph.GetHeight(0) / 2;
    if (_substrate_effect) {
        _substrate_effect->SetEmittersPosition(cx, cy);
    } else {
        _substrate_sprite->SetPosition(cx - _substrate_sprite->GetWidth() / 2,
                                       cy - _substrate_sprite->GetHeight() / 2);
    }
}

void CBall::DrawSubstrate() {
    if (_state == bsDYING || _state == bsDEAD) return;
    if (_substrate_effect && _substrate_effect_visible)
        _substrate_effect->Render();
    else if (_substrate_sprite)
        _substrate_sprite->Render();
}

void CBall::DrawLocks() { g_BallLockKeeper->RenderAll(); }

void CBall::SetLock(int level) {
    const CGraphOBJ& graph = Graph();
    _lock = std::make_unique<CBallLock>(level, graph.GetLeft(0), graph.GetTop(0));
}

bool CBall::HitLock() {
    ASSERT_THROW_IF_FAILED(IsLocked());
    const bool broke = _lock->Hit();
    if (broke) _lock.reset();
    return broke;
}

void CBall::LoadSubstrates() { LoadBallSubstrates(); }

void CBall::LoadLockSolidity() { LoadBallLockSolidity(); }
