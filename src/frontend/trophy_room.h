#pragma once
// What the menu and the episode selector use of the trophy room (the artefact
// keeper's): the program hands them the real room (GloveTrophyRoom), the
// scenes' tests a stand-in that says when its animations have ended.
class CXMLNode;

class ITrophyRoom {
public:
    virtual ~ITrophyRoom() = default;

    // A new game: no fragments collected, no trophy shown.
    virtual void ResetForNewGame() = 0;
    // The trophies of a saved game ("TrophyRoom" under the node).
    virtual void Restore(const CXMLNode& node) = 0;
    // Trophies 0 to count - 1 shown, the rest hidden.
    virtual void ShowTrophies(int count) = 0;
    virtual void Render() = 0;
    virtual void Update() = 0;
    // No trophy effect runs and no fragment flies.
    virtual bool IsIdle() const = 0;
};

// The program's trophy room.
ITrophyRoom& GloveTrophyRoom();
