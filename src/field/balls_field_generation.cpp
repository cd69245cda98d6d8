// The balls of dropped rows: where they may enter, which types they take
// (prepared sequences, the palette, the special type), and their release.
#include <algorithm>

#include "engine/game_math.h"
#include "engine/logger.h"
#include "field/balls_field.h"
#include "field/debug_tools.h"
#include "field/game_cfg.h"
#include "field/level_cfg.h"

bool CBallsField::CanDropInto(int cell_index) const {
    ASSERT_THROW_IF_FAILED(g_LevelCFG->IsValidCell(cell_index));
    if (!IsCellEmpty(cell_index)) return false;
    const int below = cell_index + g_LevelCFG->GetFieldWidth();
    return !g_LevelCFG->IsValidCell(below) || IsCellEmpty(below);
}

bool CBallsField::GenerateBalls(std::vector<DropCell>& drops) {
    if (_palette.empty()) {
        CLogger::Instance().Log(2, "CBalls: No Balls");
        return false;
    }
    ++_generation;
    const int special_graph_type = g_GameCFG->GetInt("special_graph_type");
    // A step of 0 or less would divide by zero: it counts as every generation.
    const int step = std::max(1, g_LevelCFG->GetInt("step_generate_special"));
    const std::vector<int>* sequence = _sequences.empty() ? nullptr : &_sequences.front();
    size_t i = 0;
    for (size_t j = 0; i < drops.size(); ++j) {
        const DropCell drop = drops[i];
        if (!CanDropInto(drop.cell)) {
            ++i;
            continue;
        }
        int type = 0;
        if (drop.kind == DropCell::kSpecial) {
            type = _generation % static_cast<uint32_t>(step) == 0 ? special_graph_type : RandomPaletteType();
        } else {
            // A sequence shorter than the drops, or an entry left unprepared,
            // gives a random type.
            if (sequence && j < sequence->size()) type = (*sequence)[j];
            if (type == 0) type = RandomPaletteType();
        }
        CreateBall(drop.cell, type);
        SetBallState(drop.cell, bsNEW);
        drops.erase(drops.begin() + static_cast<std::ptrdiff_t>(i));
    }
    if (sequence) _sequences.erase(_sequences.begin());
    return drops.empty();
}

void CBallsField::SettleNewBalls() {
    for (size_t i = 0; i < _field.size(); ++i) {
        CBall* ball = _field[i].get();
        if (!ball || ball->GetState() != bsNEW) continue;
        SetBallState(static_cast<int>(i), bsDEFAULT);
        ball->SetMark(true);
    }
}

int CBallsField::PickTypeExcluding(const std::vector<int>& excluded) const {
    if (_palette.empty()) {
        CLogger::Instance().Log(2, "CBalls: No Balls");
        return 0;
    }
    std::vector<int> candidates;
    for (const BallDesc& desc : _palette)
        if (std::find(excluded.begin(), excluded.end(), desc.graph_type) == excluded.end())
            candidates.push_back(desc.graph_type);
    if (candidates.empty()) return RandomPaletteType();
    return candidates[static_cast<size_t>(RandomRange(0, static_cast<int>(candidates.size())))];
}

void CBallsField::PrepareSequences(const std::vector<uint16_t>& map, int count, int size) {
    if (DEBUG_GAME::g_PrintFieldMap) {
        DEBUG_GAME::DumpFieldMap(map, false);
        DEBUG_GAME::DumpFieldMap(map, true);
    }
    const int width = g_LevelCFG->GetFieldWidth();
    const size_t cells = std::min(map.size(), _field.size());
    std::vector<int> types(_field.size(), 0);
    for (size_t c = 0; c < _field.size(); ++c)
        if (_field[c]) types[c] = _field[c]->GetDesc().graph_type;

    std::vector<int> neighbours;
    for (size_t c = 0; c < cells; ++c) {
        if ((map[c] & 0xFF) == 0) continue;
        neighbours.clear();
        const int cell = static_cast<int>(c);
        for (int n : {cell - width, cell - 1, cell + 1, cell + width})
            if (g_LevelCFG->IsValidCell(n) && types[static_cast<size_t>(n)] != 0)
                neighbours.push_back(types[static_cast<size_t>(n)]);
        types[c] = PickTypeExcluding(neighbours);
    }

    _sequences.resize(static_cast<size_t>(std::max(0, count)));
    for (std::vector<int>& sequence : _sequences) sequence.resize(static_cast<size_t>(std::max(0, size)));
    for (size_t c = 0; c < cells; ++c) {
        const size_t generation = map[c] & 0xFF;
        const size_t position = map[c] >> 8;
        if (generation == 0) continue;
        if (generation > _sequences.size() || position >= _sequences[generation - 1].size()) {
            CLogger::Instance().Log(2, "Error: CBallsField: prepared cell %d (generation %d, place %d) past the sequences.",
                                    static_cast<int>(c), static_cast<int>(generation), static_cast<int>(position));
            continue;
        }
        _sequences[generation - 1][position] = types[c];
    }
}
