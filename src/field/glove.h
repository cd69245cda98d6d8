#pragma once
// The artefacts of the episodes and the trophy room. Each episode builds one
// artefact from the fragments that enter its levels' fields: a fragment that
// leaves the field at the bottom flies to the artefact panel beside the field
// and lands in the artefact's next cell; the completed artefact is coloured
// with effects and later flies into the trophy room of the episode selector.
// One object for the run, built on first use from Settings\Artefact.xml.
//
// Per frame the game scene calls Update, UpdateFlyingFragments, Render and
// RenderFlyingFragments: the panel with its effects, and the flights (in
// screen space, over everything). The trophy room steps and draws the
// flights itself.
#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include "engine/noncopyable.h"
#include "engine/vector2.h"
#include "field/artefact_desc.h"
#include "field/artefact_emitters.h"
#include "field/artefact_record.h"
#include "field/fader.h"
#include "field/trophy.h"
#include "graphics/renderer_keeper.h"
#include "gui/dialog_slider2.h"

class CBall;
class C2DObject;
class CFlyingFragment;
class CMenuPageControl;
class CXMLFile;
class CXMLNode;

class CGlove : NonCopyable {
public:
    static constexpr const char* kFileName = "Settings\\Artefact.xml";

    // The one glove, read from kFileName on first use.
    static CGlove& Instance();

    // A glove of the descriptions in `file_name`; a file that cannot be read
    // is logged and leaves no artefact.
    explicit CGlove(const std::string& file_name);
    ~CGlove();

    // ---- descriptions
    bool IsValidBase(int base_id) const;
    int GetBaseCount() const { return static_cast<int>(_descs.size()); }
    // The description of a valid base id (an invalid one logs and throws
    // "Assertion failed").
    const ArtefactDesc& GetDesc(int base_id) const;

    // ---- the artefact of the game
    // The artefact that the episode's fragments build; an invalid id logs
    // and throws "Assertion failed".
    void SetActiveArtefact(int base_id);
    int GetActiveArtefact() const { return _active; }
    // Slides the panel in (true) or out, with its sound and fade.
    void ShowArtefact(bool show);
    // Shows or hides the panel at once.
    void SetArtefactShown(bool show);
    bool IsArtefactShown() const { return _shown; }
    bool IsPanelMoving() const;
    // The kind of the next fragment ball, -1 when the active artefact is full
    // (or there is none).
    int NextFragmentGraphType() const;
    // A fragment ball that left the bottom of the field flies to the active
    // artefact's next cell. A full artefact logs and throws "Assertion failed".
    void FlyFragmentToArtefact(std::shared_ptr<CBall> ball);
    // The completed active artefact flies out to (true) or in from the
    // trophy room, on a straight path.
    void StartTreasureFlight(bool out);

    // The panel: colouring, effects, explosions, fade.
    void Update();
    // One step of every flight, landing the fragments that arrived; true
    // when the last flight ended in this step.
    bool UpdateFlyingFragments();
    // The panel, shifted by its slider, while it is shown or moving.
    void Render();
    void RenderFlyingFragments();
    // No fragment flies and the effects are done.
    bool IsIdle() const;
    // No explosion runs, the colouring and the artefact's effects are over
    // and nothing is pending.
    bool IsEffectsDone() const;
    // The panel has stopped and nothing of the glove is busy.
    bool IsPanelIdle() const { return !IsPanelMoving() && IsIdle(); }

    // ---- saved game: "Artefact" and "TrophyRoom" under `node` (the saved
    // game's root); Deserialize reads "Artefact" (the trophy room is read by
    // DeserializeTrophyRoom). False, logged, when the data was damaged; what
    // could be read is restored and nothing throws.
    bool Serialize(CXMLFile& xml, CXMLNode& node) const;
    bool Deserialize(const CXMLNode& node);

    // A new game: every artefact empty, nothing flying or running.
    void ResetArtefacts();
    // The game scene goes away: the same, and no active artefact.
    void Clear();

    // ---- state, for the field, the scenes and the tests
    int GetPlacedCount(int base_id) const;
    int GetFlyingCount(int base_id) const;
    bool IsColored(int base_id) const;
    const ArtefactRecord* GetRecord(int base_id) const;
    const std::list<std::unique_ptr<CFlyingFragment>>& GetFlyingFragments() const { return _flying; }
    const CDialogSlider2& GetSlider() const { return _slider; }

    // ---- trophy room
    // The trophy of an episode's artefact; a second one for the id logs and
    // throws "Assertion failed", an invalid id likewise.
    void AddTrophy(int base_id);
    // The first n trophies collected and visible, the others neither.
    void ShowTrophies(int n);
    void RenderTrophyRoom();
    void UpdateTrophyRoom();
    bool IsTrophyRoomIdle() const;
    // A new game: no trophy collected or shown, no effect, page 0.
    void ResetTrophyRoom();
    // Resets the room, then sets the trophies of "TrophyRoom/Trophy" under
    // `node` collected and visible; unknown ids are ignored.
    void DeserializeTrophyRoom(const CXMLNode& node);
    const std::vector<Trophy>& GetTrophies() const { return _trophies; }
    // The page the room's page control shows (0 without a page control).
    uint32_t GetTrophyPage() const;

private:
    void Load(const std::string& file_name);
    ArtefactRecord& Record(int base_id) { return _records[static_cast<size_t>(base_id)]; }
    // The panel pictures of the active artefact.
    void BuildPanel();
    void AttachCells(int base_id, bool attach);
    CVector2 SlideShift() const;
    void LandArrived();
    void LandFragment(int base_id, bool with_effects);
    void ColorArtefact(int base_id, bool with_effects);
    void StartEffects(int base_id);
    void ReleaseColor(ArtefactRecord& record);
    void ApplyPanelAlpha();
    void PlayPendingSound();
    Trophy* FindTrophy(int id);
    void OnTreasureArrived();
    void UpdatePageUnderMouse();

    std::vector<ArtefactDesc> _descs;
    std::vector<ArtefactRecord> _records;
    // The batches of the placed fragments (panel space) and of the flights
    // (screen space).
    CRendererKeeper _ren_keeper;
    CRendererKeeper _fly_keeper;
    std::list<std::unique_ptr<CFlyingFragment>> _flying;
    std::vector<std::shared_ptr<C2DObject>> _panel;  // background, grey
    CFader _fader;
    int _active = -1;
    bool _shown = false;
    CDialogSlider2 _slider;
    CArtefactEmitters _explosions;
    bool _color_pending = false;
    bool _effect_pending = false;
    std::string _pending_sound;
    // The trophy room.
    std::vector<Trophy> _trophies;
    std::unique_ptr<CMenuPageControl> _page_control;
    // Scratch list of the trails drawn each frame.
    std::vector<uint32_t> _trails;
};
