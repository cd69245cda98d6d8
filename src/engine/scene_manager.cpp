#include "engine/scene_manager.h"

CSceneManager::~CSceneManager() { CSceneManager::Exit(); }

void CSceneManager::AddScene(AScene* scene) {
    if (!scene || FindScene(scene->GetName())) return;
    _scenes.push_back(scene);
}

AScene* CSceneManager::FindScene(const std::string& name) const {
    for (AScene* s : _scenes)
        if (s->GetName() == name) return s;
    return nullptr;
}

void CSceneManager::SwitchToScene(const std::string& name, const std::string& from) {
    AScene* scene = FindScene(name);
    if (!scene || scene->IsActive()) return;
    scene->SetPrevScene(from);
    if (scene->IsResetNeeded()) scene->Reset();
    scene->SetActive(1);
}

void CSceneManager::Init() {
    for (AScene* s : _scenes) s->Init();
}

void CSceneManager::Exit() {
    for (AScene* s : _scenes) s->Exit();
    _scenes.clear();
}

bool CSceneManager::Update() {
    // Indexed walk: a switch may activate a scene further down, which then
    // updates in this same frame.
    for (size_t i = 0; i < _scenes.size(); ++i) {
        AScene* s = _scenes[i];
        if (!s->IsActive()) continue;
        s->Update();
        switch (s->GetRequest()) {
            case AScene::kRequestSwitch: SwitchToScene(s->GetNextScene(), s->GetName()); break;
            case AScene::kRequestQuit: _quit = true; break;
            default: break;
        }
        s->SetRequest(AScene::kRequestNone);
    }
    return !_quit;
}

void CSceneManager::Render() {
    for (AScene* s : _scenes)
        if (s->IsActive()) s->Render();
}

void CSceneManager::OnKeyDown(uint16_t key) {
    for (AScene* s : _scenes)
        if (s->IsActive()) s->OnKeyDown(key);
}

void CSceneManager::OnActivate(bool active) {
    ABaseApp::OnActivate(active);
    for (AScene* s : _scenes)
        if (s->IsActive()) s->OnActivate(active);
}
