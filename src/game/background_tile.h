#pragma once
// One tile of a background layer: a sprite drawn by the layer's renderer
// keeper, or a particle emitter of the explosion manager, that enters at a
// given frame, travels down or left through the bounds, wraps around a number
// of times and may turn and pulse its alpha.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/angle.h"
#include "engine/float_rect.h"
#include "engine/graphics_desc.h"
#include "game/background_desc.h"
#include "graphics/object_2d.h"

class CRendererKeeper;
class CXMLFile;

// An object of Settings\TileBase.xml.
struct BackgroundObjectDesc {
    CGraphicsDesc graphics;
    float angle = 0;
    std::string emitter;  // empty: a sprite tile
};

// "//TileBase/Group" elements indexed by group_id, each a list of objects indexed by id.
using BackgroundCatalogue = std::vector<std::vector<BackgroundObjectDesc>>;

// Reads the catalogue from an open TileBase file.
BackgroundCatalogue ReadBackgroundCatalogue(const CXMLFile& file);

class CBackgroundTile {
public:
    static constexpr int32_t kNoEmitter = -999;

    CBackgroundTile() = default;
    CBackgroundTile(const CBackgroundTile&) = delete;
    CBackgroundTile& operator=(const CBackgroundTile&) = delete;
    ~CBackgroundTile();

    // False (logged) when the tile names a group or object the catalogue lacks.
    // With `late_start` false a tile that should have entered before the
    // current frame is not moved ahead (the bounds cannot measure the shift).
    bool Init(const BackgroundCatalogue& catalogue, CRendererKeeper& keeper, const CBackgroundLayerDesc& layer,
              const CBackgroundTileDesc& desc, const CFloatRect& bounds, bool late_start = true);
    void Update();
    // Draws the emitter, when the tile has one running.
    void RenderEmitter();

    bool IsActive() const { return _active != 0; }
    bool IsFinished() const { return _finished != 0; }
    bool IsWrapping() const { return _wrapping != 0; }
    bool HasEmitter() const { return _has_emitter != 0; }
    int32_t GetCyclesLeft() const { return _cycles_left; }
    float GetX() const { return _x; }
    float GetY() const { return _y; }
    float GetAlpha() const { return _alpha; }
    const CGraphicsDesc& GetGraphics() const { return _graphics; }
    // Null for an emitter tile.
    const C2DObject* GetSprite() const { return _sprite.get(); }
    const C2DObject& GetSecondSprite() const { return _second; }
    int32_t GetEmitterId() const { return _emitter_id; }

private:
    void Activate();
    void Finish();
    void Move();
    void MoveEmitter(float dx, float dy);
    void MoveSprite(float dx, float dy);
    void MakeSprite(C2DObject& sprite, float x, float y, CRendererKeeper& keeper);
    void ParkSecond();

    uint8_t _active = 0, _finished = 0, _is_static = 0;
    uint32_t _horizontal = 0;
    int32_t _cycles_left = 0;
    CFloatRect _bounds;
    float _y = 0, _x = 0;
    uint8_t _has_emitter = 0;
    int32_t _emitter_id = kNoEmitter;
    std::string _emitter_name;
    std::unique_ptr<C2DObject> _sprite;
    C2DObject _second;
    uint8_t _wrapping = 0;
    CGraphicsDesc _graphics;
    CBackgroundTileDesc _desc;
    float _speed = 0;
    CAngle _angle;
    float _alpha = 0, _alpha_step = 0;
};
