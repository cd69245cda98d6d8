#pragma once
// The game scene's field in the running program: the puzzle field the scene
// owns for the whole run, and the program's one artefact keeper.
#include <memory>

#include "game/scene_field.h"

class CGameField;

class CLiveSceneField : public ISceneField {
public:
    CLiveSceneField();
    ~CLiveSceneField() override;

    bool LoadLevel(const std::string& path, const std::function<void(const CXMLNode&)>& load_background) override;
    void ClearLevel() override;
    void RestartLevel() override;
    void Update() override;
    void Render() override;
    void OnBallMove() override;
    void OnGameStateChanged(int state) override;
    void QueueLevelEndSteps() override;
    void QueueLifeLostSteps() override;
    bool ProcessEndIteration() override;
    bool NeedShowBeginEpisode() const override;
    void SetShowBeginEpisode(bool show) override;
    void TakeHammer() override;
    void UseEgg() override;
    void UseFeather() override;
    LevelStatistics GetLevelStatistics() const override;
    bool GetHintSource(const HintInfo& hint, CVector2& point) override;
    void SetPraiseArea(const CFloatRect& area) override;
    bool Serialize(CXMLFile& document, CXMLNode& parent) override;
    bool Deserialize(const CXMLNode& node) override;
    void DebugGiveTool(int tool, int amount) override;
    void DebugPlaceBonus(int type) override;
    void DebugPlaceBird() override;
    void DebugStartMixer() override;
    void DebugDropRow() override;

    void AddTrophy(int glove_base_id) override;
    void SetActiveArtefact(int glove_base_id) override;
    void UpdateArtefacts() override;
    void RenderArtefacts() override;
    void RenderFlyingFragments() override;
    void StartTreasureFlight() override;
    bool IsArtefactsIdle() override;
    void ResetArtefacts() override;
    void ClearArtefacts() override;

    CGameField& GetField() { return *_field; }

private:
    std::shared_ptr<CGameField> _field;
};
