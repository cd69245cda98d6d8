#include "game/live_scene_field.h"

#include "field/game_field.h"
#include "field/glove.h"
#include "game/c3d_game.h"

CLiveSceneField::CLiveSceneField() : _field(std::make_shared<CGameField>()) {}

CLiveSceneField::~CLiveSceneField() = default;

bool CLiveSceneField::LoadLevel(const std::string& path, const std::function<void(const CXMLNode&)>& load_background) {
    return _field->LoadLevel(path, load_background);
}
void CLiveSceneField::ClearLevel() { _field->ClearLevel(); }
void CLiveSceneField::RestartLevel() { _field->RestartLevel(); }
void CLiveSceneField::Update() { _field->Update(); }
void CLiveSceneField::Render() { _field->Render(); }
void CLiveSceneField::OnBallMove() { _field->OnBallMove(); }
void CLiveSceneField::OnGameStateChanged(int state) { _field->OnGameStateChanged(state); }
void CLiveSceneField::QueueLevelEndSteps() { _field->QueueLevelEndSteps(); }
void CLiveSceneField::QueueLifeLostSteps() { _field->QueueLifeLostSteps(); }
bool CLiveSceneField::ProcessEndIteration() { return _field->ProcessEndIteration(); }
bool CLiveSceneField::NeedShowBeginEpisode() const { return _field->NeedShowBeginEpisode(); }
void CLiveSceneField::SetShowBeginEpisode(bool show) { _field->SetShowBeginEpisode(show); }
void CLiveSceneField::TakeHammer() { _field->TakeHammer(); }
void CLiveSceneField::UseEgg() { _field->UseEgg(); }
void CLiveSceneField::UseFeather() { _field->UseFeather(); }
LevelStatistics CLiveSceneField::GetLevelStatistics() const { return _field->GetLevelStatistics(); }
bool CLiveSceneField::GetHintSource(const HintInfo& hint, CVector2& point) { return _field->GetHintSource(hint, point); }
void CLiveSceneField::SetPraiseArea(const CFloatRect& area) { _field->SetPraiseArea(area); }
bool CLiveSceneField::Serialize(CXMLFile& document, CXMLNode& parent) { return _field->Serialize(document, parent); }
bool CLiveSceneField::Deserialize(const CXMLNode& node) { return _field->Deserialize(node); }
void CLiveSceneField::DebugGiveTool(int tool, int amount) { _field->DebugGiveTool(tool, amount); }
void CLiveSceneField::DebugPlaceBonus(int type) { _field->DebugPlaceBonus(type); }
void CLiveSceneField::DebugPlaceBird() { _field->DebugPlaceBird(); }
void CLiveSceneField::DebugStartMixer() { _field->DebugStartMixer(); }
void CLiveSceneField::DebugDropRow() { _field->DebugDropRow(); }

void CLiveSceneField::AddTrophy(int glove_base_id) { CGlove::Instance().AddTrophy(glove_base_id); }
void CLiveSceneField::SetActiveArtefact(int glove_base_id) { CGlove::Instance().SetActiveArtefact(glove_base_id); }
void CLiveSceneField::UpdateArtefacts() {
    CGlove& glove = CGlove::Instance();
    glove.Update();
    glove.UpdateFlyingFragments();
}
void CLiveSceneField::RenderArtefacts() { CGlove::Instance().Render(); }
void CLiveSceneField::RenderFlyingFragments() { CGlove::Instance().RenderFlyingFragments(); }
// The completed artefact flies out to the trophy room.
void CLiveSceneField::StartTreasureFlight() { CGlove::Instance().StartTreasureFlight(true); }
bool CLiveSceneField::IsArtefactsIdle() { return CGlove::Instance().IsIdle(); }
void CLiveSceneField::ResetArtefacts() { CGlove::Instance().ResetArtefacts(); }
void CLiveSceneField::ClearArtefacts() { CGlove::Instance().Clear(); }

// The program's scene is made here, beside the live field it drives, so that
// the scene links without the puzzle field where a stand-in serves.
c3DGame& c3DGame::Instance() {
    if (!g_Game.Get()) g_Game.Reset(std::make_unique<c3DGame>(std::make_unique<CLiveSceneField>()));
    return *g_Game.Get();
}
