#pragma once
// What the field needs of the game scene that owns it: the game state, the
// score, where the player is in the game, the tool panel, the danger signal
// and the mood music. The game scene implements it and registers itself; the
// field asks GetGameSceneLink and goes without when none is registered.
#include <cstdint>

#include "engine/vector2.h"

// The player's tools, numbered as the field and the heads-up panel count them.
enum GameTool : int32_t { kToolHammer = 1, kToolFeather = 2, kToolEgg = 3 };

enum GameState : int {
    gsDefault = 1,
    gsNextLevel = 2,
    gsNextEpisode = 3,
    gsGameOver = 4,
    gsLifeLost = 5,
    gsPause = 6,
    gsHint = 7,
    gsGameWon = 8,
    gsHelp = 9,
};

class IGameSceneLink {
public:
    virtual int GetState() const = 0;
    // The field sets gsNextLevel when the level is complete and gsLifeLost
    // when a life is lost.
    virtual void SetState(int state) = 0;
    // Adds to the score (clamped at 0 by the scene).
    virtual void AddScore(int points) = 0;
    // Indexes counted from 0.
    virtual int GetLevelNumber() const = 0;
    virtual int GetEpisodeNumber() const = 0;
    virtual bool IsLastLevel() const = 0;

    // Tools: 1 hammer, 2 feather, 3 egg.
    virtual bool IsToolAvailable(int tool) = 0;
    virtual void EnableTool(int tool, bool on) = 0;
    virtual void ShowToolImage(int tool, bool show) = 0;
    virtual void ResetToolProgress(int tool) = 0;
    virtual void EnableToolBlinks(bool on) = 0;
    // True when the tool's charge bar shows full.
    virtual bool AddToolProgress(int tool, int amount) = 0;
    // False when the tool has no charge to report.
    virtual bool GetToolProgress(int tool, int& amount) = 0;
    virtual void SetToolProgress(int tool, int amount) = 0;
    // The leading end of the tool's charge bar on the screen.
    virtual bool GetToolProgressPoint(int tool, CVector2& point) = 0;
    // The tool's button on the screen (the hints point at it).
    virtual bool GetToolButtonPos(int tool, CVector2& pos) = 0;

    // Starts the life indicator's danger animation (in gsDefault only).
    virtual void ShowDanger() = 0;
    virtual void SwitchMood() = 0;

protected:
    ~IGameSceneLink() = default;
};

// The registered scene, null when none is. The scene unregisters (null)
// before it goes away.
void SetGameSceneLink(IGameSceneLink* link);
IGameSceneLink* GetGameSceneLink();
