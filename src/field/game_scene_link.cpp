#include "field/game_scene_link.h"

namespace {

// The one game scene of the program, as the field reaches it.
IGameSceneLink* g_game_scene_link = nullptr;

}  // namespace

void SetGameSceneLink(IGameSceneLink* link) { g_game_scene_link = link; }

IGameSceneLink* GetGameSceneLink() { return g_game_scene_link; }
