// The trophy room of the program's artefact keeper.
#include "field/glove.h"
#include "frontend/trophy_room.h"

namespace {

class CGloveTrophyRoom : public ITrophyRoom {
public:
    void ResetForNewGame() override {
        CGlove::Instance().ResetArtefacts();
        CGlove::Instance().ResetTrophyRoom();
    }
    void Restore(const CXMLNode& node) override { CGlove::Instance().DeserializeTrophyRoom(node); }
    void ShowTrophies(int count) override { CGlove::Instance().ShowTrophies(count); }
    void Render() override { CGlove::Instance().RenderTrophyRoom(); }
    void Update() override { CGlove::Instance().UpdateTrophyRoom(); }
    bool IsIdle() const override { return CGlove::Instance().IsTrophyRoomIdle(); }
};

}  // namespace

ITrophyRoom& GloveTrophyRoom() {
    static CGloveTrophyRoom room;
    return room;
}
