#include "graphics/object_2d.h"

#include <exception>

#include "engine/logger.h"
#include "graphics/texture.h"

C2DObject::C2DObject(const C2DObject& other) : CTexturedRect() { *this = other; }

C2DObject& C2DObject::operator=(const C2DObject& other) {
    if (this == &other) return *this;
    RemoveShadow();
    ReleaseRenderer();
    // A shared batch that was left keeps no hold on the copy: it takes the
    // source's batch, or none.
    _renderer = nullptr;
    CTexturedRect::operator=(other);
    SetLinked(false);
    _shared = other._shared;
    _child_offset_x = other._child_offset_x;
    _child_offset_y = other._child_offset_y;
    if (other.Renderer() && other._shared) {
        SetRenderer(other._renderer);
    } else if (other.Renderer()) {
        _own_renderer = std::make_unique<CTexturedRectsList>();
        if (CTexture* texture = other._renderer->GetTexture()) texture->AddRef();
        _own_renderer->SetTexture(other._renderer->GetTexture());
        _renderer = _own_renderer.get();
        _shared = false;
        _renderer->Add(this);
    }
    if (other._child) CreateShadow();
    return *this;
}

C2DObject::~C2DObject() {
    ReleaseRenderer();
    _child.reset();
}

bool C2DObject::Create(float x, float y, const CGraphicsDesc& desc, bool own_renderer) {
    return Create(x, y, desc, SpriteAnimation(desc), own_renderer);
}

bool C2DObject::Create(float x, float y, const CGraphicsDesc& desc, const CAnimation& animation, bool own_renderer) {
    Init(x, y, static_cast<float>(desc.width), static_cast<float>(desc.height), animation);
    if (own_renderer) CreateRenderer(desc.texture);
    SetColor(desc.color, kAllCorners);
    SetAlpha(static_cast<int>(desc.color >> 24), kAllCorners);
    return true;
}

CAnimation C2DObject::SpriteAnimation(const CGraphicsDesc& desc) {
    CAnimation animation;
    if (!desc.animation_file.empty()) {
        bool loaded = false;
        try {
            loaded = animation.LoadAnimation(desc.animation_file);
        } catch (const std::exception& e) {
            CLogger::Instance().Log(2, "Error: Animation file '%s' failed: %s", desc.animation_file.c_str(), e.what());
        }
        // A sprite always has a frame to read its texture rectangle from; a
        // file that failed half-way gives none of its frames either.
        if (!loaded || animation.GetFrameCount() == 0) {
            CLogger::Instance().Log(2, "Error: Animation file '%s' not used, one frame taken from the tex_rect of '%s'.",
                                    desc.animation_file.c_str(), desc.texture.c_str());
            animation.Reset(false, 0);
            animation.AddFrame(desc.tex_rect, nullptr);
        }
    } else {
        animation.AddFrame(desc.tex_rect, nullptr);
    }
    return animation;
}

void C2DObject::Init(float x, float y, float width, float height, const CAnimation& animation) {
    CTexturedRect::Init(CFloatRect(x, y, x + width, y + height), animation);
    MarkStale();
}

void C2DObject::InitFromTexRect(float x, float y, float width, float height, const CFloatRect& tex_rect) {
    CAnimation animation;
    animation.AddFrame(tex_rect, nullptr);
    Init(x, y, width, height, animation);
}

bool C2DObject::CreateRenderer(const std::string& texture_name) {
    ASSERT_THROW_IF_FAILED(!IsRendererShared() && "Feature not implemented yet!");
    _renderer = nullptr;
    _own_renderer = std::make_unique<CTexturedRectsList>();
    if (!_own_renderer->SetTextureByName(texture_name)) {
        _own_renderer.reset();
        return false;
    }
    _renderer = _own_renderer.get();
    _shared = false;
    _renderer->Add(this);
    return true;
}

bool C2DObject::SetRenderer(CTexturedRectsList* renderer) {
    if (!renderer) return false;
    ReleaseRenderer();
    _renderer = renderer;
    _renderer_life = renderer->GetLifeToken();
    _shared = true;
    _renderer->Add(this);
    return true;
}

void C2DObject::DetachRenderer() {
    if (!_shared) return;
    if (CTexturedRectsList* renderer = Renderer()) renderer->Remove(this);
}

void C2DObject::ReleaseRenderer() {
    if (_shared) {
        DetachRenderer();
        return;
    }
    if (_own_renderer) _own_renderer->Release();
    _own_renderer.reset();
    _renderer = nullptr;
}

void C2DObject::Render() {
    if (CTexturedRectsList* renderer = Renderer()) renderer->Render();
}

bool C2DObject::MakeGrayscale() {
    if (_shared || !_renderer) return false;
    return _renderer->MakeGrayscale();
}

bool C2DObject::CreateShadow() {
    if (IsLinked()) return false;
    if (!_child) _child = std::make_shared<CTexturedRect>();
    CFloatRect rect = GetRect();
    rect.Offset(_child_offset_x, _child_offset_y);
    // The shadow takes the frames without their polygons.
    const bool polygons = _animation.HasPolygons();
    _animation.SetPolygons(false);
    _child->Init(rect, _animation);
    _animation.SetPolygons(polygons);
    _child->SetColor(0x202020, kAllCorners);
    _child->SetAlpha(100, kAllCorners);
    if (CTexturedRectsList* renderer = Renderer()) {
        renderer->Remove(this);
        SetLinked(true);
        renderer->Add(this);
    } else {
        SetLinked(true);
    }
    return true;
}

void C2DObject::RemoveShadow() {
    if (!IsLinked()) return;
    CTexturedRectsList* renderer = Renderer();
    if (renderer && _child) renderer->Remove(_child.get());
    SetLinked(false);
}

void C2DObject::SetSize(float width, float height) { Inflate(width - GetWidth(), height - GetHeight()); }

void C2DObject::SetColor(uint32_t color, int corner) {
    CTexturedRect::SetColor(color, corner);
    MarkStale();
}

void C2DObject::SetAlpha(int alpha, int corner) {
    CTexturedRect::SetAlpha(alpha, corner);
    MarkStale();
}

void C2DObject::SetAngle(float degrees) {
    if (IsLinked() && _child) _child->SetAngle(degrees);
    CTexturedRect::SetAngle(degrees);
    MarkStale();
}

void C2DObject::Move(float dx, float dy) {
    CTexturedRect::SetPosition(GetLeft() + dx, GetTop() + dy);
    if (IsLinked() && _child) _child->SetPosition(GetLeft() + _child_offset_x, GetTop() + _child_offset_y);
    MarkStale();
}

void C2DObject::SetPosition(float x, float y) {
    if (IsLinked() && _child) _child->SetPosition(x + _child_offset_x, y + _child_offset_y);
    CTexturedRect::SetPosition(x, y);
    MarkStale();
}

void C2DObject::Inflate(float dw, float dh) {
    if (IsLinked() && _child) _child->Inflate(dw, dh);
    CTexturedRect::Inflate(dw, dh);
    MarkStale();
}

void C2DObject::StopAnimation() {
    if (IsLinked() && _child) _child->StopAnimation();
    CTexturedRect::StopAnimation();
}

void C2DObject::StartAnimation() {
    if (IsLinked() && _child) _child->StartAnimation();
    CTexturedRect::StartAnimation();
}

void C2DObject::OnRendererDestroyed(const CTexturedRectsList* renderer) {
    if (_renderer != renderer || !_shared) return;
    _renderer = nullptr;
    _shared = false;
}
