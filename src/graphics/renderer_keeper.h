#pragma once
// Hands out shared sprite batches by texture name with reference counts, so
// that every sprite of one texture in a scene is drawn by one batch, and
// draws them all.
#include <memory>
#include <string>
#include <vector>

#include "engine/noncopyable.h"
#include "graphics/textured_rects_list.h"

class CRendererKeeper : NonCopyable {
public:
    CRendererKeeper() = default;
    ~CRendererKeeper();

    // The batch of that name (compared exactly), made on first request.
    CTexturedRectsList* GetRenderer(const std::string& texture_name);
    // False when the batch is not in the keeper.
    bool ReleaseRenderer(CTexturedRectsList* renderer);
    void ReleaseAll();
    // Draws every batch in the order of first request.
    void RenderAll();

    size_t GetCount() const { return _entries.size(); }

private:
    struct Entry {
        std::string name;
        std::unique_ptr<CTexturedRectsList> renderer;
        int ref_count = 0;
    };
    std::vector<Entry> _entries;
};
