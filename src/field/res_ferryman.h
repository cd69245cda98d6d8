#pragma once
// The tool credits of killed balls: a credit for the hammer (1), the feather
// (2) or the egg (3) adds to that tool's charge bar on the heads-up panel, and
// the credit that fills the bar makes the tool available. With an emitter
// named for the tool and a speed, the credit first flies from the ball to the
// bar as a particle emitter (an item carrier) and is applied on arrival;
// otherwise it is applied at once. Configured by "//Common/ResFerryman" of
// Settings\Bases\common.xml.
#include <list>
#include <memory>
#include <string>

#include "engine/vector2.h"
#include "field/tool_carriers.h"
#include "graphics/curve.h"

class CFlyParticles;
class CXMLNode;
class IBonusDataSource;

// The credit a ball kind carries: tool 0 none, 1 hammer, 2 feather, 3 egg.
struct ResCredit {
    int tool = 0;
    int amount = 0;
};

class CResFerryman : public IToolCarriers {
public:
    static constexpr const char* kConfigFile = "Settings\\Bases\\common.xml";
    static constexpr const char* kConfigPath = "//Common/ResFerryman";

    struct ItemCarrier {
        ResCredit credit;
        int step = 0;  // the next path point
        std::shared_ptr<CCurve> path;
        uint32_t emitter = 0;
    };

    // Reads the configuration file; a missing file or node is logged and
    // leaves every credit applied at once.
    explicit CResFerryman(IBonusDataSource* owner);
    // The same with the configuration node given (empty: the defaults).
    CResFerryman(IBonusDataSource* owner, const CXMLNode& config);
    CResFerryman(const CResFerryman&) = delete;
    CResFerryman& operator=(const CResFerryman&) = delete;

    // A killed ball's credit, from the ball's screen point toward the tool
    // bar's point. Ignored while the tool is available.
    void OnCredit(const ResCredit& credit, const CVector2& ball, const CVector2& bar);
    // Adds the credit to the tool's bar unless the tool does not exist yet in
    // this episode or (the hammer) it is in the hand; a filled bar makes the
    // tool available with its appear sample.
    void ApplyCredit(const ResCredit& credit);
    // Adds to the tool's bar whatever the episode; the credit that fills it
    // makes the tool available with its appear sample, or the one given.
    void FillBar(const ResCredit& credit, const char* appear_sample = nullptr);

    // Moves every carrier one path point; an arrived one delivers its credit.
    // The flying particles take their step too.
    void Update() override;
    void Render() override;
    // No carrier and no flying particle is under way.
    bool IsIdle() const override;
    // Drops every carrier, credits and all (level set-up). Their emitters
    // stop too: the particle player would keep a dropped one for the run.
    void Reset() override;
    // Stops every carrier's emitter and applies its credit now (a saved field
    // is being loaded).
    void DeliverAll();
    // Stops every carrier's emitter and drops them, credits and all, and
    // clears the flying particles (the level is torn down).
    void StopEmitters() override;
    // The field's second list of flying emitters, stepped, drawn, waited for
    // and cleared with the carriers (may be null).
    void SetFlyParticles(CFlyParticles* particles) { _fly_particles = particles; }

    // IToolCarriers: the field's kill hands the credit over here.
    void Send(int tool, int amount, const CVector2& from, const CVector2& to) override {
        OnCredit(ResCredit {tool, amount}, from, to);
    }

    const std::list<ItemCarrier>& GetCarriers() const { return _carriers; }
    float GetSpeed() const { return _speed; }
    const std::string& GetEmitterName(int tool) const;

private:
    void LoadConfig(const CXMLNode& config);
    // The credit could change the tool's bar now (the same gates as ApplyCredit).
    bool Accepts(const ResCredit& credit) const;
    bool Launch(const ResCredit& credit, const CVector2& from, const CVector2& to);

    std::string _emitter_hammer;
    std::string _emitter_feather;
    std::string _emitter_egg;
    float _speed = 0.0f;
    std::list<ItemCarrier> _carriers;
    IBonusDataSource* _owner = nullptr;
    CFlyParticles* _fly_particles = nullptr;
};
