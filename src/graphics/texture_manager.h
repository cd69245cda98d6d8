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
