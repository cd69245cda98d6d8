#include "headless_player.h"

#include <algorithm>


#include "engine/base_app.h"
#include "engine/engine_core.h"
#include "engine/game_clock.h"
#include "engine/random.h"
#include "field/ball.h"
#include "field/ball_desc.h"
#include "field/ball_state.h"
#include "field/balls_field.h"
#include "field/fake_game_scene_link.h"
#include "field/game_field.h"
#include "field/glove.h"
#include "field/level_cfg.h"
#include "field/tiles_field.h"
#include "graphics/explosion.h"
#include "gui/gui_test_support.h"
#include "headless_core.h"

namespace {

constexpr int kStateDefault = 1;
constexpr int kStateNextLevel = 2;
constexpr int kStateLifeLost = 5;

// Length of the run of `kind` through `cell` along (dx, dy) in a kinds map.
int Run(const std::vector<int>& kinds, int cell, int dx, int dy) {
    int column = 0, row = 0;
    g_LevelCFG->CellToPos(cell, column, row);
    const int kind = kinds[static_cast<size_t>(cell)];
    int run = 1;
    for (int s : {-1, 1})
        for (int k = 1;; ++k) {
            const int c = g_LevelCFG->PosToCell(column + s * k * dx, row + s * k * dy);
            if (c == CELL_ERROR || kinds[static_cast<size_t>(c)] != kind) break;
            ++run;
        }
    return run;
}

}  // namespace

CHeadlessPlayer::Result CHeadlessPlayer::Play(const std::string& level_path, const Options& options) {
    SeedGame(options.seed);
    _scene.state = kStateDefault;
    _scene.states.clear();
    _scene.score = 0;
    Result result;
    _swap = {};
    if (!Start(level_path)) return result;
    int wait = options.think_ticks;
    for (; result.ticks < options.max_ticks; ++result.ticks) {
        // The scene shows the episode's start message and takes it down.
        if (_field.NeedShowBeginEpisode()) _field.SetShowBeginEpisode(false);
        if (wait > 0) --wait;
        MoveRecord move;
        if (wait == 0 && ReadyForMove() && ChooseMove(move, options)) {
            Click(move.from);
            Click(move.to);
            ++result.moves;
            wait = options.think_ticks;
            if (_field.GetSwapFlag() == CGameField::sbSwapping)
                _swap = {move.from, move.to, _field.GetBallsField()->GetBallAt(move.from)};
        }
        Tick();
        WatchSwap(result);
        // Once the fragment has left the field (stage 2) the level is won: the
        // show that follows decides nothing.
        if (_scene.state == kStateNextLevel || _field.GetStage() >= 2) {
            result.won = true;
            break;
        }
        if (_scene.state == kStateLifeLost) {
            result.lost = true;
            break;
        }
    }
    result.score = _scene.score;
    return result;
}

bool CHeadlessPlayer::Start(const std::string& level_path) {
    CGlove& glove = CGlove::Instance();
    glove.ResetArtefacts();
    glove.SetActiveArtefact(_scene.episode);
    if (!_headless) {
        _headless = std::make_unique<CHeadlessCore>(*g_EngineCore);
        // A manager of its own, released with the player.
        explosion::SetExplosionManager(std::make_unique<CExplosion>());
    }
    // The scene tears the previous level down before it starts the next.
    if (_started) _field.ClearLevel();
    _started = true;
    return _field.LoadLevel(level_path, {});
}

CHeadlessPlayer::~CHeadlessPlayer() {
    if (_headless) explosion::ReleaseExplosionManager();
}

void CHeadlessPlayer::Tick() {
    // One frame period of game time per tick, as the main loop hands the
    // scene at the game's frame rate.
    GameClock().Advance(g_FramePeriod);
    _field.Update();
    CGlove::Instance().Update();
    // The frame's drawing steps the animations; nothing is drawn.
    CHeadlessCore::Scope scope(*_headless);
    _field.Render();
    CGlove::Instance().Render();
    explosion::GetExplosionManager()->Update();
}

bool CHeadlessPlayer::RefusedLine::HasBusyBall() const {
    for (const LineBall& ball : balls)
        if (ball.cell != from && ball.cell != to && ball.state != bsDEFAULT) return true;
    return false;
}

void CHeadlessPlayer::WatchSwap(Result& result) {
    if (!_swap.ball) return;
    CBallsField& balls = *_field.GetBallsField();
    if (balls.GetBallAt(_swap.to) != _swap.ball) {
        // On its way, or broken off when a bonus took one of the two.
        if (_field.GetSwapFlag() == CGameField::sbNone) _swap = {};
        return;
    }
    // The swap arrived in this tick and was checked: the field exchanged the
    // two, and a swap taken back is on its way again.
    const bool taken_back = _field.GetSwapFlag() == CGameField::sbSwapping;
    std::vector<int> line = LineCells(_swap.to);
    for (int cell : LineCells(_swap.from))
        if (std::find(line.begin(), line.end(), cell) == line.end()) line.push_back(cell);
    if (!line.empty()) {
        ++result.line_swaps;
        if (taken_back) {
            RefusedLine refused {_swap.from, _swap.to, {}};
            for (int cell : line) {
                const CBall* ball = balls.GetBallAt(cell);
                refused.balls.push_back(
                    {cell, ball ? ball->GetState() : -1, ball && ball->GetMark(), ball && ball->IsBonus()});
            }
            result.refused.push_back(std::move(refused));
        }
    }
    _swap = {};
}

std::vector<int> CHeadlessPlayer::LineCells(int cell) const {
    const int count = g_LevelCFG->GetCellCount();
    std::vector<int> kinds(static_cast<size_t>(count));
    for (int c = 0; c < count; ++c) kinds[static_cast<size_t>(c)] = KindAt(c);
    std::vector<int> cells;
    int column = 0, row = 0;
    g_LevelCFG->CellToPos(cell, column, row);
    for (const auto& [dx, dy] : {std::pair {1, 0}, std::pair {0, 1}}) {
        if (Run(kinds, cell, dx, dy) < 3) continue;
        for (int s : {-1, 1})
            for (int k = s == -1 ? 1 : 0;; ++k) {
                const int c = g_LevelCFG->PosToCell(column + s * k * dx, row + s * k * dy);
                if (c == CELL_ERROR || kinds[static_cast<size_t>(c)] != kinds[static_cast<size_t>(cell)]) break;
                if (std::find(cells.begin(), cells.end(), c) == cells.end()) cells.push_back(c);
            }
    }
    return cells;
}

bool CHeadlessPlayer::ReadyForMove() const {
    return !_field.IsInputBlocked() && _field.GetSwapFlag() == CGameField::sbNone &&
           _field.GetSelectionState() == 0 && !const_cast<CGameField&>(_field).IsAnyBallBusy();
}

bool CHeadlessPlayer::ChooseMove(MoveRecord& move, const Options& options) {
    _moves.clear();
    if (!_field.FindAvailableMoves(_moves) || _moves.empty()) return false;
    // The field as kinds, to see which lines a move would make.
    const int count = g_LevelCFG->GetCellCount();
    _kinds.assign(static_cast<size_t>(count), -1);
    for (int cell = 0; cell < count; ++cell) _kinds[static_cast<size_t>(cell)] = KindAt(cell);
    const auto pick = [&](size_t n) { return static_cast<size_t>(RandomInt(0, static_cast<uint32_t>(n - 1))); };
    if (static_cast<int>(RandomInt(0, 99)) < options.careless_percent) {
        move = _moves[pick(_moves.size())];
        return true;
    }
    int best = -1;
    std::vector<MoveRecord> best_moves;
    for (const MoveRecord& candidate : _moves) {
        const int hit = TilesHit(candidate);
        if (hit > best) {
            best = hit;
            best_moves.clear();
        }
        if (hit == best) best_moves.push_back(candidate);
    }
    move = best_moves[pick(best_moves.size())];
    return true;
}

int CHeadlessPlayer::KindAt(int cell) const {
    CBallsField& balls = *_field.GetBallsField();
    if (balls.IsCellEmpty(cell) || balls.IsFragmentBall(cell)) return -1 - cell;  // matches nothing
    return balls.GetBall(cell).graph_type;
}

int CHeadlessPlayer::FindFragment() const {
    CBallsField& balls = *_field.GetBallsField();
    for (int cell = 0; cell < g_LevelCFG->GetCellCount(); ++cell)
        if (!balls.IsCellEmpty(cell) && balls.IsFragmentBall(cell)) return cell;
    return CELL_ERROR;
}

bool CHeadlessPlayer::IsTarget(int cell, int fragment) const {
    if (fragment == CELL_ERROR) return _field.GetTilesField()->HasCell(cell);
    int column = 0, row = 0, fragment_column = 0, fragment_row = 0;
    g_LevelCFG->CellToPos(cell, column, row);
    g_LevelCFG->CellToPos(fragment, fragment_column, fragment_row);
    return column == fragment_column && row > fragment_row;
}

int CHeadlessPlayer::TilesHit(const MoveRecord& move) const {
    std::vector<int> kinds = _kinds;
    std::swap(kinds[static_cast<size_t>(move.from)], kinds[static_cast<size_t>(move.to)]);
    // With the fragment on the field the balls under it are the target.
    const int fragment = FindFragment();
    int hit = 0;
    for (int cell : {move.from, move.to})
        for (const auto& [dx, dy] : {std::pair {1, 0}, std::pair {0, 1}}) {
            if (Run(kinds, cell, dx, dy) < 3) continue;
            int column = 0, row = 0;
            g_LevelCFG->CellToPos(cell, column, row);
            for (int s : {-1, 1})
                for (int k = s == -1 ? 1 : 0;; ++k) {
                    const int c = g_LevelCFG->PosToCell(column + s * k * dx, row + s * k * dy);
                    if (c == CELL_ERROR || kinds[static_cast<size_t>(c)] != kinds[static_cast<size_t>(cell)]) break;
                    hit += IsTarget(c, fragment) ? 1 : 0;
                }
        }
    return hit;
}

void CHeadlessPlayer::Click(int cell) {
    float x = 0, y = 0;
    g_LevelCFG->CellCenterToScr(cell, x, y);
    gui_test::CoreDriver::MoveTo(static_cast<int>(x), static_cast<int>(y));
    gui_test::CoreDriver::Button(true);
    gui_test::CoreDriver::Frame();
    _field.OnBallMove();
    gui_test::CoreDriver::Button(false);
    gui_test::CoreDriver::Frame();
    _field.OnBallMove();
}
