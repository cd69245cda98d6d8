// The balls field's data: the ball types of Settings\Balls.xml and of the
// level, the level's initial balls, and the "BallsField" block of a saved game.
#include <algorithm>
#include <cmath>
#include <exception>

#include "engine/log_repeat_limit.h"
#include "engine/logger.h"
#include "engine/xml_file.h"
#include "engine/xml_node.h"
#include "engine/xml_node_list.h"
#include "field/ball_tables.h"
#include "field/ball_lock.h"
#include "field/balls_field.h"
#include "field/graph_obj_manager.h"
#include "field/level_cfg.h"
#include "field/level_limits.h"

namespace {

// The life of an artefact fragment ball.
constexpr int kFragmentLife = -1;

// Saved balls of bonus types carry the type they turn back into; others none.
constexpr int kNoPrevType = -999;

// The level's "Ball" or "Bonus" types that the balls base can draw.
template <class OnType>
void ReadLevelTypes(const CXMLNode& balls, const char* name, OnType on_type) {
    const CXMLNodeList nodes = balls.SelectNodes(name);
    for (int i = 0; i < nodes.GetLength(); ++i) {
        const CXMLNode node = nodes.GetItem(i);
        BallDesc desc;
        ParseBallDesc(node, desc);
        if (!g_BallsGraphBase->HasGraphType(desc.graph_type)) {
            CLogger::Instance().Log(3, "CBallsField: Not existing graphic type - %d", desc.graph_type);
            continue;
        }
        on_type(node, desc);
    }
}

// A start ball's lock held to the lock table: 0 (none) up to the strongest
// lock drawn; any other value is logged and the nearest of those is used.
int CheckedStartLock(int lock, int x, int y) {
    if (lock == 0) return 0;
    if (g_BallLockGraphics->empty()) LoadBallLockSolidity();
    const int strongest = static_cast<int>(g_BallLockGraphics->size());
    if (lock > 0 && lock <= strongest) return lock;
    const int used = std::clamp(lock, 0, strongest);
    CLogger::Instance().Log(2, "Error: CBallsField: the lock %d of the ball at x=%d, y=%d is not 0 to %d; %d is used.",
                            lock, x, y, strongest, used);
    return used;
}

// A bonus timer's length or spread, in frames: the timer draws from
// [time - spread, time + spread), so both are held to 0..kMaxBonusTime.
int CheckedBonusTime(const CXMLNode& node, const char* name, int graph_type) {
    const int value = node.GetAttributeInt(name, 0);
    if (level_limits::InRange(value, 0, level_limits::kMaxBonusTime)) return value;
    const int used = std::clamp(value, 0, level_limits::kMaxBonusTime);
    CLogger::Instance().Log(2, "Error: CBallsField: the bonus %d has %s %d, not 0 to %d; %d is used.", graph_type, name,
                            value, level_limits::kMaxBonusTime, used);
    return used;
}

}  // namespace

void CBallsField::LoadBalls(const std::string& path) {
    _global_types.clear();
    try {
        const CXMLFile document(path);
        const CXMLNodeList nodes = document.SelectNodes("//Balls/Ball");
        for (int i = 0; i < nodes.GetLength(); ++i) {
            BallDesc desc;
            if (ParseBallDesc(nodes.GetItem(i), desc)) _global_types.push_back(std::move(desc));
        }
    } catch (const std::exception& e) {
        CLogger::Instance().Log(2, "Error: The ball types could not be read from '%s': %s", path.c_str(), e.what());
    }
}

void CBallsField::LoadConfig(const CXMLNode& level) {
    const CLogRepeatLimit repeats;
    const CXMLNode balls = level.SelectSingleNode("Config").SelectSingleNode("Balls");
    if (balls.IsValid()) {
        _palette.clear();
        ReadLevelTypes(balls, "Ball", [this](const CXMLNode&, const BallDesc& desc) {
            // New balls are drawn from the palette, and fragments never die.
            if (desc.life == kFragmentLife) {
                CLogger::Instance().Log(2, "Error: CBallsField: the fragment kind %d cannot be a kind of new balls.",
                                        desc.graph_type);
                return;
            }
            _palette.push_back(desc);
        });
        _bonus_types.clear();
        // The timers go with the bonus types they belong to.
        _bonus_timers.Clear();
        ReadLevelTypes(balls, "Bonus", [this](const CXMLNode& node, const BallDesc& desc) {
            _bonus_types.push_back(desc);
            BonusTimer timer;
            timer.graph_type = desc.graph_type;
            timer.range_time = CheckedBonusTime(node, "range_time", desc.graph_type);
            timer.range_plus_minus = CheckedBonusTime(node, "range_time_plus_minus", desc.graph_type);
            _bonus_timers.Add(desc.bonus_type, timer);
        });
    } else {
        CLogger::Instance().Log(2, "Warning: CBallsField: the level has no 'Config/Balls', its ball types stay as they were.");
    }
    LoadCells(level);
}

void CBallsField::LoadCells(const CXMLNode& level) {
    _initial_cells.clear();
    const CXMLNodeList cells = level.SelectNodes("Balls/Cell");
    for (int i = 0; i < cells.GetLength(); ++i) {
        const CXMLNode node = cells.GetItem(i);
        const CXMLNode ball = node.SelectSingleNode("Ball");
        const int x = node.GetAttributeInt("x", -1);
        const int y = node.GetAttributeInt("y", -1);
        InitialCell initial;
        initial.graph_type = ball.GetAttributeInt("graph_type", -1);
        // The lock may stand on the cell or on its ball.
        initial.lock = CheckedStartLock(node.GetAttributeInt("lock", ball.GetAttributeInt("lock", 0)), x, y);
        initial.cell = g_LevelCFG->PosToCell(x, y);
        if (initial.cell == CELL_ERROR) {
            CLogger::Instance().Log(3, "CBallsField: Cell outside a file - x=%d, y=%d", x, y);
            continue;
        }
        if (!FindDesc(initial.graph_type) || !g_BallsGraphBase->HasGraphType(initial.graph_type)) {
            CLogger::Instance().Log(2, "Error: CBallsField: the ball at x=%d, y=%d has the unknown graph type %d.", x, y,
                                    initial.graph_type);
            continue;
        }
        // A fragment is never killed: three of them in a line would match in
        // every frame. Fragments enter the field only at the level's goal.
        if (FindDesc(initial.graph_type)->life == kFragmentLife) {
            CLogger::Instance().Log(2, "Error: CBallsField: the ball at x=%d, y=%d is the fragment kind %d; it is left out.",
                                    x, y, initial.graph_type);
            continue;
        }
        _initial_cells.push_back(initial);
    }
}

bool CBallsField::Serialize(CXMLFile& document, CXMLNode& parent) const {
    CXMLNode block = document.CreateNode("BallsField");
    if (!parent.AppendChild(block)) return false;
    for (size_t i = 0; i < _field.size(); ++i) {
        const CBall* ball = _field[i].get();
        if (!ball || ball->GetState() == bsNEW) continue;
        CXMLNode node = document.CreateNode("Ball");
        node.SetAttributeInt("cell_index", static_cast<int>(i));
        node.SetAttributeInt("graph_type", ball->GetDesc().graph_type);
        // A bonus ball made as one (no type before it) has nothing to turn back into.
        if (ball->IsBonus() && ball->GetPrevDesc().graph_type != 0)
            node.SetAttributeInt("prev_graph_type", ball->GetPrevDesc().graph_type);
        node.SetAttributeInt("lock_solidity", ball->GetLockSolidity());
        node.SetAttributeInt("existence_time", static_cast<int>(ball->GetExistenceTime()));
        node.SetAttributeFloat("fall_speed", ball->GetSpeed());
        // A moving or swapping ball is saved resting in the slot it holds.
        const int state = ball->GetState();
        node.SetAttributeInt("state", state == bsMOVE || state == bsSWAP ? bsDEFAULT : state);
        block.AppendChild(node);
    }
    return true;
}

bool CBallsField::Deserialize(const CXMLNode& state, int fragments_due) {
    _field.clear();
    _field.resize(static_cast<size_t>(g_LevelCFG->GetCellCount()));
    _moves.clear();
    bool all = true;
    const CLogRepeatLimit repeats;
    const CXMLNodeList nodes = state.SelectNodes("BallsField/Ball");
    for (int i = 0; i < nodes.GetLength(); ++i) {
        try {
            all = RestoreBall(nodes.GetItem(i), fragments_due) && all;
        } catch (const std::exception& e) {
            CLogger::Instance().Log(2, "Error: CBallsField: saved ball %d not restored: %s", i, e.what());
            all = false;
        }
    }
    return all;
}

bool CBallsField::RestoreBall(const CXMLNode& node, int& fragments_due) {
    const int cell_index = node.GetAttributeInt("cell_index", 0);
    const int graph_type = node.GetAttributeInt("graph_type", 0);
    const int prev_graph_type = node.GetAttributeInt("prev_graph_type", kNoPrevType);
    if (!g_LevelCFG->IsValidCell(cell_index)) {
        CLogger::Instance().Log(2, "Error: CBallsField: saved ball in cell %d outside the field.", cell_index);
        return false;
    }
    // A fragment is never killed, so one the level has not brought in could
    // stay on the field for good, or match with others in every frame.
    const auto is_fragment = [this](int type) {
        const BallDesc* desc = FindDesc(type);
        return desc && desc->life == kFragmentLife;
    };
    if (is_fragment(graph_type) || is_fragment(prev_graph_type)) {
        if (fragments_due <= 0) {
            CLogger::Instance().Log(2, "Error: CBallsField: saved ball in cell %d is a fragment the level has not brought "
                                    "in; it is left out.", cell_index);
            return false;
        }
        --fragments_due;
    }
    // A previous type of 0 (written by older saves) means none.
    if (prev_graph_type == kNoPrevType || prev_graph_type == 0) {
        CreateBall(cell_index, graph_type);
    } else {
        CreateBall(cell_index, prev_graph_type);
        ChangeBallGraph(cell_index, graph_type);
    }
    int saved_state = node.GetAttributeInt("state", bsDEFAULT);
    if (saved_state == bsDYING) saved_state = bsDEAD;
    // Only resting and dead balls are written; anything else comes back resting.
    if (saved_state != bsDEAD) saved_state = bsDEFAULT;
    SetBallState(cell_index, saved_state);
    CBall& ball = *_field[static_cast<size_t>(cell_index)];
    bool ok = true;
    int lock_solidity = node.GetAttributeInt("lock_solidity", 0);
    if (lock_solidity != 0) {
        const int max_lock = CBallLock::MaxLevel();
        if (lock_solidity < 0 || lock_solidity > max_lock) {
            CLogger::Instance().Log(2, "Error: CBallsField: saved ball in cell %d has the lock %d outside 0..%d; clamped.",
                                    cell_index, lock_solidity, max_lock);
            lock_solidity = std::clamp(lock_solidity, 0, max_lock);
            ok = false;
        }
        if (lock_solidity != 0) ball.SetLock(lock_solidity);
    }
    float speed = node.GetAttributeFloat("fall_speed", 0);
    if (!std::isfinite(speed)) {
        // The motion clamps any finite speed into its bounds, but not this.
        CLogger::Instance().Log(2, "Error: CBallsField: saved ball in cell %d has no finite speed; it rests.", cell_index);
        speed = 0;
        ok = false;
    }
    ball.SetSpeed(speed);
    return ok;
}
