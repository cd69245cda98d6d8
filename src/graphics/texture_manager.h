#pragma once
// The one texture store: textures by normalised file name, loaded on the first
// request and destroyed when the last holder gives them back; also grey copies
// for disabled GUI elements.
#include <map>
#include <memory>
#include <string>

#include "engine/noncopyable.h"
#include "graphics/texture.h"

class CTextureManager : NonCopyable {
public:
    static CTextureManager& Instance();
    // False once the program's store has been destroyed at exit (holders that
    // outlive it then have nothing to give back).
    static bool IsAlive();

    CTextureManager() = default;
    ~CTextureManager();

    // The texture of that file (never null); the caller becomes a holder. A
    // file that fails to load still gets an entry with a null texture and
    // size 0.
    CTexture* GetTexture(plat::RenderDevice* device, const char* file_name);
    // The caller stops being a holder; pointers not in the store are ignored.
    void ReleaseTexture(CTexture* texture);
    // A copy of every level under a "__cloned_<n>" name with one holder; null
    // when the pointer is not in the store or holds no texture.
    CTexture* CloneTexture(CTexture* texture);
    // Destroys every texture whatever its count.
    void ReleaseAll();

    size_t GetCount() const { return _textures.size(); }
    // The entry's key, empty when not in the store (tests and diagnostics).
    std::string FindName(const CTexture* texture) const;

private:
    using Map = std::map<std::string, std::unique_ptr<CTexture>>;
    Map::iterator Find(const CTexture* texture);

    long _clone_counter = 0;
    Map _textures;
};

// Keeps one texture of the program's store loaded for as long as it lives
// (it is one of the texture's holders), so that sprites made and dropped again
// during play find their picture in the store instead of reading and decoding
// its file each time. Without a device, or with no file named, it holds nothing.
class CTextureHold {
public:
    CTextureHold() = default;
    explicit CTextureHold(const std::string& file_name);
    ~CTextureHold() { Release(); }
    CTextureHold(CTextureHold&& other) noexcept : _texture(other._texture) { other._texture = nullptr; }
    CTextureHold& operator=(CTextureHold&& other) noexcept;
    CTextureHold(const CTextureHold&) = delete;
    CTextureHold& operator=(const CTextureHold&) = delete;

    // The texture held (null when none).
    const CTexture* Get() const { return _texture; }

private:
    void Release();
    CTexture* _texture = nullptr;
};
