#pragma once
// A short visual effect on an artefact picture. The artefact keeper holds its
// effects by shared pointers and calls Render and Update every frame until
// IsActive answers false, then drops them.
class IArtefactEffect {
public:
    virtual ~IArtefactEffect() = default;
    // Draws what the effect draws itself (some effects only change a sprite
    // that its owner draws).
    virtual void Render() = 0;
    virtual void Update() = 0;
    virtual bool IsActive() = 0;
};
