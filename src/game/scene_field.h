#pragma once
// What the game scene drives of the puzzle field and of the artefact keeper.
// The running program hands the scene the real field (CLiveSceneField); the
// scene's tests hand it a recording stand-in, so the scene's rules can be
// checked without a level on screen.
#include <functional>
#include <string>

#include "field/level_statistics.h"

class CFloatRect;
class CVector2;
class CXMLFile;
class CXMLNode;
struct HintInfo;

class ISceneField {
public:
    virtual ~ISceneField() = default;

    // ---- the field
    // Reads the level file; its "//Level/Background" node goes to `load_background`.
    virtual bool LoadLevel(const std::string& path, const std::function<void(const CXMLNode&)>& load_background) = 0;
    virtual void ClearLevel() = 0;
    virtual void RestartLevel() = 0;
    virtual void Update() = 0;
    virtual void Render() = 0;
    virtual void OnBallMove() = 0;
    virtual void OnGameStateChanged(int state) = 0;
    virtual void QueueLevelEndSteps() = 0;
    virtual void QueueLifeLostSteps() = 0;
    // One end step; true when none is left.
    virtual bool ProcessEndIteration() = 0;
    virtual bool NeedShowBeginEpisode() const = 0;
    virtual void SetShowBeginEpisode(bool show) = 0;
    virtual void TakeHammer() = 0;
    virtual void UseEgg() = 0;
    virtual void UseFeather() = 0;
    // Score, time and last word of the level; the scene fills the rest.
    virtual LevelStatistics GetLevelStatistics() const = 0;
    virtual bool GetHintSource(const HintInfo& hint, CVector2& point) = 0;
    // The screen beside the scene's heads-up panel: the field's score popups stay in it.
    virtual void SetPraiseArea(const CFloatRect& area) = 0;
    virtual bool Serialize(CXMLFile& document, CXMLNode& parent) = 0;
    virtual bool Deserialize(const CXMLNode& node) = 0;
    virtual void DebugGiveTool(int tool, int amount) = 0;
    virtual void DebugPlaceBonus(int type) = 0;
    virtual void DebugPlaceBird() = 0;
    virtual void DebugStartMixer() = 0;
    virtual void DebugDropRow() = 0;

    // ---- the artefacts (one keeper for the program)
    // The trophy of an episode (one per episode, at start-up).
    virtual void AddTrophy(int glove_base_id) = 0;
    virtual void SetActiveArtefact(int episode) = 0;
    virtual void UpdateArtefacts() = 0;
    virtual void RenderArtefacts() = 0;
    virtual void RenderFlyingFragments() = 0;
    virtual void StartTreasureFlight() = 0;
    virtual bool IsArtefactsIdle() = 0;
    virtual void ResetArtefacts() = 0;
    virtual void ClearArtefacts() = 0;
};
