#pragma once
// The bottom-row salute: whenever a ball leaves an active cell of the field's
// lowest row, the cell fires an explosion and a set of animated sprites, a
// sound is queued and points are awarded. When the last sprite has played
// out, the salute raises field flag 2. Described once by "//Common/Salute" of
// Settings\Bases\Common.xml; re-armed at every level set-up.
#include <memory>
#include <string>
#include <vector>

#include "engine/graphics_desc.h"
#include "engine/noncopyable.h"
#include "engine/vector2.h"

class C2DObject;
class CRendererKeeper;
class CXMLFile;
class CXMLNode;
class IBonusDataSource;

class CSalute : NonCopyable {
public:
    static constexpr const char* kFileName = "Settings\\bases\\common.xml";
    static constexpr const char* kNodePath = "//Common/Salute";

    struct WatchedCell {
        int cell = -1;
        bool filled = false;  // a ball was seen in the cell since the last firing
        std::vector<std::shared_ptr<C2DObject>> sprites;
    };
    struct SaluteLayer {
        CGraphicsDesc graphics;
        CVector2 offset;  // from the cell's top-left
    };

    // Reads the description from kFileName; a missing file or node leaves an
    // empty one (logged). The owner outlives the salute.
    explicit CSalute(IBonusDataSource* owner);
    // The same from the description node itself.
    CSalute(IBonusDataSource* owner, const CXMLNode& description);
    ~CSalute();

    // Watches every active cell of the lowest row that holds an active cell.
    void Init();
    // Fires at every watched cell that a ball has left; true when one fired.
    bool Check();
    void Render();
    bool IsRunning() const { return _running != 0; }

    const std::vector<WatchedCell>& GetWatchedCells() const { return _watched; }
    const std::vector<SaluteLayer>& GetLayers() const { return _layers; }

private:
    void Load(const CXMLNode& description);
    void ReleaseSprites();
    void Fire(WatchedCell& watched);

    IBonusDataSource* _owner;
    std::vector<WatchedCell> _watched;
    std::string _expl_alias;
    CVector2 _offset_plume;
    std::string _sound;
    std::vector<SaluteLayer> _layers;
    std::unique_ptr<CRendererKeeper> _keeper;
    int _running = 0;
    int _score = 0;
    std::string _label_name;
};
