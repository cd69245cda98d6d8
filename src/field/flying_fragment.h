#pragma once
// A fragment on its way to an artefact: a ball that left the field (its
// drawable moved into the artefact keeper's batches) or the completed
// artefact's treasure picture on its way to the trophy room. It advances one
// point of its path per step, resizes from its start size to its target
// size on the way, and drags its particle trail along.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/vector2.h"
#include "graphics/curve.h"

class CBall;
class C2DObject;
class CRendererKeeper;

class CFlyingFragment {
public:
    // Below this distance (in pixels, the length of (|dx|, |dy|)) the path is
    // the straight line from start to target.
    static constexpr float kNearDistance = 4.0f;
    // Path points per pixel of straight distance in each span.
    static constexpr float kPixelsPerPoint = 5.0f;

    // The key points of a fragment's flight from `from` to `to` (top-left
    // corners): straight when near or when `straight`; else one cell down and
    // to the left, along that row past the field's left edge, then to the
    // target.
    static std::vector<CVector2> FlightPoints(const CVector2& from, const CVector2& to, bool straight);
    // The sampled path through FlightPoints.
    static bool BuildFlightPath(CCurve& path, const CVector2& from, const CVector2& to, bool straight);

    // A ball of the field to the cell at `target` of size `target_size`; its
    // drawable moves into `keeper` (required) for the flight.
    CFlyingFragment(int base_id, int cell, std::shared_ptr<CBall> ball, const CVector2& target,
                    const CVector2& target_size, CRendererKeeper* keeper, const std::string& trail);
    // A sprite of its own on the straight path to `target`.
    CFlyingFragment(int base_id, std::shared_ptr<C2DObject> sprite, const CVector2& target);
    ~CFlyingFragment();
    CFlyingFragment(const CFlyingFragment&) = delete;
    CFlyingFragment& operator=(const CFlyingFragment&) = delete;

    // One point further; true once it stands on the target.
    bool Step();
    // Draws a sprite flight; a ball's drawable is drawn by the keeper it
    // moved into, the trail by the owner with the other trails.
    void Render();
    // The trail's emitter, 0 when none runs.
    uint32_t GetTrail() const { return _trail; }
    // Ends the trail at once (a flight dropped on its way); otherwise it
    // fades by itself once it is no longer drawn.
    void StopTrail();

    int GetBaseId() const { return _base_id; }
    int GetCell() const { return _cell; }
    bool IsTreasure() const { return _sprite != nullptr; }
    // A fragment that a restored game already counts as placed flies on but
    // does not land.
    void SetLands(bool lands) { _lands = lands; }
    bool Lands() const { return _lands && !IsTreasure(); }
    bool HasArrived() const { return _arrived; }
    CVector2 GetPosition() const;
    const CCurve& GetPath() const { return _path; }

private:
    void PlaceAt(float t);

    int _base_id;
    int _cell = -1;
    std::shared_ptr<CBall> _ball;
    std::shared_ptr<C2DObject> _sprite;
    CCurve _path;
    int _index = 0;
    CVector2 _start_size;
    CVector2 _target_size;
    uint32_t _trail = 0;
    bool _arrived = false;
    bool _lands = true;
};
