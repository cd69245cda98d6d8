#pragma once
// The list of named scenes, and the application frame that runs them: update,
// render and keys go to the active scenes in list order, initialisation and
// exit to all. The manager does not own the scenes.
#include <string>
#include <vector>

#include "engine/base_app.h"
#include "engine/scene.h"

class CSceneManager : public ABaseApp {
public:
    CSceneManager() = default;
    // Runs Exit, then releases the list (never the scenes).
    ~CSceneManager() override;

    // Appends the scene unless it is null or its name is already listed.
    void AddScene(AScene* scene);
    AScene* FindScene(const std::string& name) const;
    // Makes the named scene active (resetting it first when it needs it) and
    // remembers `from` as its previous scene; nothing when it is unknown or active.
    void SwitchToScene(const std::string& name, const std::string& from);
    void ActivateScene(const std::string& name) { SwitchToScene(name, ""); }
    const std::vector<AScene*>& Scenes() const { return _scenes; }

    void Init() override;
    void Exit() override;
    bool Update() override;
    void Render() override;
    void OnKeyDown(uint16_t key) override;
    void OnActivate(bool active) override;

protected:
    bool _quit = false;
    std::vector<AScene*> _scenes;
};
