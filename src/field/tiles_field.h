#pragma once
// What lies under the balls: a base tile in every cell of the level and, in
// some cells, a stack of puzzle layers that the player clears one hit at a
// time. The field reads the level's "Field" node, draws the tiles through
// one renderer keeper, lets the puzzle layers appear at level start, burns a
// row of fire over the lowest row of the playing field, fades with the rest
// of the board (ITilesDataSource, through its dissolver) and keeps its
// puzzle layers in the saved game's "VovaroCells" block.
//
// Level format, inside the level's "Config" node:
//   <Field field_width="8" field_height="8">
//     <Cell x="0" y="0" active="1"><Group tile="1"/><Group tile="2"/><Group tile="3"/></Cell>
//     <Cell x="3" y="0" type="GENERATOR" delay="40"><Group tile="1"/></Cell>
//   </Field>
// The first Group is the cell's base tile; the others are its puzzle layers,
// the last one in the file shown (and cleared) first.
#include <memory>
#include <vector>

#include "field/generators.h"
#include "field/tiles_data_source.h"
#include "field/tiles_records.h"
#include "graphics/renderer_keeper.h"

class CTilesAppearer;
class CTilesDissolver;
class CTilesFire;
class CXMLFile;
class CXMLNode;

class CTilesField : public ITilesDataSource {
public:
    // Reads the fire's description (CTilesFire); a missing one throws.
    CTilesField();
    ~CTilesField();
    CTilesField(const CTilesField&) = delete;
    CTilesField& operator=(const CTilesField&) = delete;

    // Reads the level's cells from `config`'s "Field" child (the level
    // geometry must already be loaded); false, and nothing changed, without
    // one. Cells outside the field are logged and skipped.
    bool LoadConfig(const CXMLNode& config);
    // Builds the loaded level: base tiles, puzzle layers, fire, and starts
    // the appearance. A base tile missing from the tiles base is a failed
    // check that throws "Assertion failed".
    void Build();
    void Update();
    // The tiles and puzzle layers, then the fire.
    void Render();
    // Level teardown: no tiles, no puzzle layers, no fire.
    void Clear();

    // Removes one puzzle layer of the cell; the number removed (1, or 0 when
    // the cell holds none).
    int DamageTile(int cell);

    bool IsActiveCell(int cell) const;
    // The generator cells in level-file order, for CGenerators::Load.
    std::vector<GeneratorCell> GetGenerators() const { return _generators; }
    // The puzzle layers of the level as loaded: the level's goal.
    int GetTotalLayers() const;
    // The puzzle layers still on the field.
    int GetRemainingLayers() const;
    // The puzzle cell still holds more than the layer it shows.
    bool HasMoreLayers(int cell) const;
    // Some cell of the level has more than one puzzle layer.
    bool HasMultiLayerCells() const { return _multi_layer; }

    void StartAppear();
    bool IsAppearing() const;
    void FinishAppear();

    // Fades base tiles, fire and puzzle layers out (255 -> 0) or in over
    // `speed` ticks (a step of 255 / speed).
    void DissolveOut(int speed);
    void DissolveIn(int speed);
    bool IsDissolving() const;

    // Writes "VovaroCells" with one "Cell" per puzzle cell still on the field
    // (its "index" and the "graph_types" of the layers still on it, the one
    // shown first) under `parent`.
    void Serialize(CXMLNode& parent, CXMLFile& document) const;
    // Reads "VovaroCells/Cell" under `node` into the built level: the listed
    // cells get their saved layers (a restored cell needs only those hits),
    // the others none; everything is shown at once.
    bool Deserialize(const CXMLNode& node);

    // ITilesDataSource.
    bool IsCellEmpty(int cell) const override;
    bool HasCell(int cell) const override;
    void SetAlpha(int alpha) override;
    void SetVisible(int cell, bool visible) override;
    void SetCellAlpha(int cell, int alpha) override;

    // For the level's drawing and its tests.
    const std::vector<CTileRecord>& GetRecords() const { return _records; }
    const std::vector<CLayeredCell>& GetLayeredCells() const { return _layered_cells; }
    const std::vector<CVovaroCell>& GetVovaroCells() const { return _vovaro_cells; }
    // The base tile of a cell, null when there is none.
    const CGraphOBJ* GetTileObject(int cell) const;
    // The puzzle layer a cell shows, null when it is no puzzle cell.
    const CGraphOBJ* GetLayerObject(int cell) const;
    const CTilesFire& GetFire() const { return *_fire; }

private:
    void BuildTiles();
    // Puzzle cells anew from `cells`; the other cells lose theirs.
    void BuildLayers(const std::vector<CLayeredCell>& cells);
    std::shared_ptr<CGraphOBJ> CreateTileObject(int cell, int graph_type, int state);
    // The layer object of a puzzle cell, its animation stopped.
    std::shared_ptr<CGraphOBJ> CreateLayerObject(int cell, int graph_type);
    void AnimateLastCells();
    // The layer object of a puzzle cell (null when it has no picture); a
    // cell that is no puzzle cell fails the check "false".
    CGraphOBJ* CheckedLayerObject(int cell);
    CVovaroCell* FindVovaroCell(int cell);
    const CVovaroCell* FindVovaroCell(int cell) const;
    void IndexVovaroCells();

    // First, so that every sprite leaves its batches before they go.
    std::shared_ptr<CRendererKeeper> _ren_keeper;
    std::vector<CTileRecord> _records;
    std::vector<GeneratorCell> _generators;
    std::vector<CLayeredCell> _layered_cells;
    std::vector<CCellTile> _cells;
    std::vector<CVovaroCell> _vovaro_cells;
    // Per cell of the level: the index of its puzzle cell, -1 for none.
    std::vector<int> _vovaro_index;
    std::shared_ptr<CTilesAppearer> _appearer;
    std::shared_ptr<CTilesDissolver> _dissolver;
    std::unique_ptr<CTilesFire> _fire;
    bool _multi_layer = false;
};
