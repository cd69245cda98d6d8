#pragma once
// A sprite batch: one texture and every quad that uses it, drawn with one
// texture change and one draw call. It owns plain quads (glyphs, frame
// pieces) and draws attached outside objects (sprites) after them.
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "engine/noncopyable.h"
#include "graphics/textured_rect_base.h"
#include "platform/render_device.h"

class CTexture;

class CTexturedRectsList : NonCopyable {
public:
    CTexturedRectsList() = default;
    ~CTexturedRectsList();

    bool Init(plat::RenderDevice* device, CTexture* texture);
    // Binds a texture the caller already holds a reference of.
    void SetTexture(CTexture* texture);
    // Gives the old texture back and takes the named one from the store.
    bool SetTextureByName(const std::string& file_name);
    CTexture* GetTexture() const { return _texture; }

    // A new owned quad; returns its index.
    int AddRect(const CFloatRect& rect, const CFloatRect& tex_rect);
    int GetCount() const { return static_cast<int>(_tex_rect.size()); }
    // A negative index converts to a huge one and fails the range check.
    ATexturedRect* GetRect(size_t num);
    void MoveAll(float dx, float dy);
    void SetColor(uint32_t color);
    void SetAlpha(int alpha);

    // Attaches an outside object (its linked child first, beneath it).
    void Add(ATexturedRect* object);
    bool Remove(ATexturedRect* object);
    int GetAttachedCount() const { return static_cast<int>(_attached.size()); }
    ATexturedRect* GetAttached(int index) const { return _attached[static_cast<size_t>(index)]; }

    void Clear(size_t reserve);
    void SetAnimated(bool on) { _static = !on; }
    bool IsAnimated() const { return !_static; }
    void Invalidate() { _vertices_valid = false; }
    bool IsValid() const { return _vertices_valid; }
    bool MakeGrayscale();
    void Render();
    void Release();

    // Quads the vertex buffer holds, and how often it was filled (statistics
    // and tests).
    uint32_t GetCapacity() const { return _capacity; }
    uint32_t GetFillCount() const { return _fill_count; }

    // Expires when the batch is destroyed: a sprite that left its shared
    // batch still points at it and tests this before touching it.
    std::weak_ptr<void> GetLifeToken() const { return _life; }

private:
    plat::RenderDevice* _device = nullptr;
    std::unique_ptr<plat::VertexBuffer> _vertex_buffer;
    CTexture* _texture = nullptr;
    uint32_t _capacity = 0;
    std::vector<std::unique_ptr<ATexturedRect>> _tex_rect;
    std::vector<ATexturedRect*> _attached;
    bool _static = false;
    bool _vertices_valid = false;
    uint32_t _fill_count = 0;
    std::shared_ptr<int> _life = std::make_shared<int>(0);
};
