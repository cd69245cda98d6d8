#pragma once
// The base of every screen of the game. Only active scenes are updated, drawn,
// given keys and told of activation. After its update a scene may ask the scene
// manager for a change through its request code.
#include <cstdint>
#include <string>

#include "engine/noncopyable.h"

class AScene : NonCopyable {
public:
    // Request codes.
    static constexpr int32_t kRequestNone = 0;
    static constexpr int32_t kRequestSwitch = 2;  // to the scene named by the next-scene name
    static constexpr int32_t kRequestQuit = 3;    // end the program in this frame

    explicit AScene(std::string name) : _name(std::move(name)) {}
    virtual ~AScene() = default;

    // Runs when the scene is switched to while its reset-needed flag is set;
    // the default clears the flag, so it runs once.
    virtual void Reset() { _reset_needed = 0; }
    // The result is not used by the scene manager.
    virtual bool Update() = 0;
    virtual void Render() = 0;
    virtual void OnKeyDown(uint16_t key) = 0;
    virtual void Init() = 0;
    virtual void Exit() = 0;
    virtual void OnActivate(bool active) = 0;

    bool IsActive() const { return _active != 0; }
    void SetActive(uint8_t active) { _active = active; }
    const std::string& GetName() const { return _name; }
    int32_t GetRequest() const { return _request; }
    void SetRequest(int32_t request) { _request = request; }
    bool IsResetNeeded() const { return _reset_needed != 0; }
    const std::string& GetNextScene() const { return _next_scene; }
    void SetNextScene(const std::string& name) { _next_scene = name; }
    void SetPrevScene(const std::string& name) { _prev_scene = name; }
    const std::string& GetPrevScene() const { return _prev_scene; }

protected:
    uint8_t _active = 0;
    uint8_t _reset_needed = 1;
    int32_t _request = kRequestNone;
    std::string _name;
    std::string _next_scene;
    std::string _prev_scene;
};
