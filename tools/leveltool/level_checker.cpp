#include "level_checker.h"

#include <algorithm>

#include "field/level_limits.h"
#include "level_writer.h"

namespace leveltool {

bool CLevelChecker::CheckEpisode(const EpisodeDesign& episode, std::vector<std::string>& errors) {
    _errors = &errors;
    const size_t before = errors.size();
    _file = episode.file;
    _block = "episode " + std::to_string(episode.number);
    _block_line = episode.lines.block;
    const int fragment = _data.ArtefactFragment(episode.glove_base_id);
    const CGameDataIndex::BallKind* kind = _data.FindBall(fragment);
    if (fragment < 0)
        Error(episode.lines.Of("glove"), "no artefact " + std::to_string(episode.glove_base_id));
    else if (!kind || kind->life != -1 || !_data.IsDrawnBall(fragment))
        Error(episode.lines.Of("glove"), "the fragment kind " + std::to_string(fragment) + " of artefact " +
              std::to_string(episode.glove_base_id) + " is not a drawn fragment ball (life -1)");
    const int cells = _data.ArtefactCells(episode.glove_base_id);
    if (cells != 0 && cells != static_cast<int>(episode.levels.size()))
        Error(episode.lines.Of("glove"), "the artefact has " + std::to_string(cells) + " fragment cells for " +
              std::to_string(episode.levels.size()) + " levels");
    if (episode.levels.empty()) Error("no levels");
    if (!episode.background.empty()) CheckBackground(episode.background, episode.lines.Of("background"));
    if (episode.music.IsSet()) CheckMusic(episode.music, episode.lines.Of("music"));
    for (size_t i = 0; i < episode.levels.size(); ++i) {
        const LevelDesign& level = episode.levels[i];
        _block = "level " + std::to_string(level.number);
        _block_line = level.lines.block;
        if (level.number != static_cast<int>(i) + 1) Error("levels must be numbered 1, 2, ... in order");
        CheckLevel(episode, level);
    }
    return errors.size() == before;
}

void CLevelChecker::CheckLevel(const EpisodeDesign& episode, const LevelDesign& level) {
    CheckPalette(level);
    CheckBonuses(level);
    CheckMap(level);
    if (level.background.empty() && episode.background.empty()) Error("no background");
    if (!level.background.empty()) CheckBackground(level.background, level.lines.Of("background"));
    if (!level.music.IsSet() && !episode.music.IsSet()) Error("no music");
    if (level.music.IsSet()) CheckMusic(level.music, level.lines.Of("music"));
    if (level.rows_fall_delay <= 0 || level.rows_fall_delay > level_limits::kMaxRowsFallDelay)
        Error(level.lines.Of("rows_fall_delay"), "rows_fall_delay must be 1 to " + std::to_string(level_limits::kMaxRowsFallDelay));
    if (level.rows_at_start < 0 || level.rows_at_start > level.height) Error(level.lines.Of("rows_at_start"), "rows_at_start out of the field");
    if (level.ace_time <= 0 || level.ace_time > level_limits::kMaxAceTime)
        Error(level.lines.Of("ace_time"), "ace_time must be 1 to " + std::to_string(level_limits::kMaxAceTime));
    if (level.bonus_probability_min < 0 || level.bonus_probability_min > level.bonus_probability_max)
        Error(level.lines.Of("bonus_probability"), "bonus_probability needs 0 <= min <= max");
}

void CLevelChecker::CheckPalette(const LevelDesign& level) {
    const int line = level.lines.Of("palette");
    if (level.palette.size() < 3) Error(line, "the palette needs at least three ball kinds");
    for (size_t i = 0; i < level.palette.size(); ++i) {
        const int type = level.palette[i];
        const CGameDataIndex::BallKind* kind = _data.FindBall(type);
        if (!kind) {
            Error(line, "ball kind " + std::to_string(type) + " is not in Settings\\Balls.xml");
            continue;
        }
        if (kind->bonus_type != 0 || kind->life != 0)
            Error(line, "ball kind " + std::to_string(type) + " is a bonus or a fragment, not a palette kind");
        if (!_data.IsDrawnBall(type)) Error(line, "ball kind " + std::to_string(type) + " is not in Settings\\Bases\\Balls.XML");
        for (size_t j = 0; j < i; ++j)
            if (level.palette[j] == type) Error(line, "ball kind " + std::to_string(type) + " is twice in the palette");
        CheckEffects(type, line);
    }
}

void CLevelChecker::CheckBonuses(const LevelDesign& level) {
    for (size_t i = 0; i < level.bonuses.size(); ++i) {
        const BonusDesign& bonus = level.bonuses[i];
        const std::string name = "bonus kind " + std::to_string(bonus.graph_type);
        const CGameDataIndex::BallKind* kind = _data.FindBall(bonus.graph_type);
        if (!kind || kind->bonus_type == 0) {
            Error(bonus.line, name + " is not a bonus ball of Settings\\Balls.xml");
            continue;
        }
        if (!_data.IsDrawnBall(bonus.graph_type)) Error(bonus.line, name + " is not in Settings\\Bases\\Balls.XML");
        if (bonus.range_time <= 0 || bonus.plus_minus < 0 || bonus.plus_minus >= bonus.range_time)
            Error(bonus.line, name + ": its timer needs 0 <= spread < time");
        if (bonus.range_time > level_limits::kMaxBonusTime)
            Error(bonus.line, name + ": its time is above " + std::to_string(level_limits::kMaxBonusTime));
        for (size_t j = 0; j < i; ++j)
            if (_data.FindBall(level.bonuses[j].graph_type) &&
                _data.FindBall(level.bonuses[j].graph_type)->bonus_type == kind->bonus_type)
                Error(bonus.line, name + ": a second timer for the same bonus type");
        CheckEffects(bonus.graph_type, bonus.line);
        if (const pugi::xml_node config = _data.BonusConfig(kind->bonus_type)) {
            if (const char* sample = config.attribute("sample").value(); *sample && !_data.IsSample(sample))
                Error(bonus.line, name + ": its bonus sample '" + sample + "' is not in Settings\\Samples.xml");
            for (pugi::xml_node cfg : config.children())
                if (const char* alias = cfg.attribute("expl_alias").value(); *alias && !_data.IsExplosion(alias))
                    Error(bonus.line, name + ": its explosion '" + alias + "' is not in Settings\\Explosions.xml");
        }
    }
}

void CLevelChecker::CheckEffects(int graph_type, int line) {
    std::vector<std::string> explosions, samples;
    _data.GetBallEffects(graph_type, explosions, samples);
    for (const std::string& alias : explosions)
        if (!_data.IsExplosion(alias))
            Error(line, "ball kind " + std::to_string(graph_type) + " names the unknown explosion '" + alias + "'");
    for (const std::string& alias : samples)
        if (!_data.IsSample(alias))
            Error(line, "ball kind " + std::to_string(graph_type) + " names the unknown sample '" + alias + "'");
}

void CLevelChecker::CheckMap(const LevelDesign& level) {
    const int map_line = level.lines.Of("map");
    if (level.width <= 0 || level.height <= 0) {
        Error("no map");
        return;
    }
    if (level.width > kMaxWidth || level.height > kMaxHeight)
        Error(map_line, "the field is larger than " + std::to_string(kMaxWidth) + " x " + std::to_string(kMaxHeight));
    CheckScreenPlace(level);
    int generators = 0, tiles = 0;
    for (int y = 0; y < level.height; ++y)
        for (int x = 0; x < level.width; ++x) {
            const CellDesign& cell = level.At(x, y);
            const std::string at = " at (" + std::to_string(x) + ", " + std::to_string(y) + ")";
            const int line = level.lines.OfRow(y);
            if (cell.kind == CellDesign::kGenerator) {
                ++generators;
                if (!level.IsFieldCell(x, y + 1)) Error(line, "the entry cell" + at + " has no field cell below it");
                if (cell.generator_delay < 0 || cell.generator_delay > level_limits::kMaxGeneratorDelay)
                    Error(line, "the entry delay" + at + " must be 0 to " + std::to_string(level_limits::kMaxGeneratorDelay));
            }
            if (cell.kind != CellDesign::kPlain) continue;
            if (cell.layers > kMaxLayers) Error(line, "more than " + std::to_string(kMaxLayers) + " tile layers" + at);
            tiles += cell.layers > 0;
            if (cell.ball >= static_cast<int>(level.palette.size()))
                Error(line, "the start ball" + at + " names palette kind " + std::string(1, static_cast<char>('a' + cell.ball)) +
                      " beyond the palette");
            if (cell.lock < 0 || cell.lock > _data.LockStrengths())
                Error(line, "lock strength" + at + " must be 1 to " + std::to_string(_data.LockStrengths()));
        }
    if (generators == 0) Error(map_line, "no entry cell (G): no bird brings balls");
    CheckEntryDepths(level);
    if (tiles == 0) Error(map_line, "no puzzle tile: the level has no goal");
    const int base_tiles[] = {1, 6, 2, 3, 4, 5};
    for (int tile : base_tiles)
        if (!_data.IsTile(tile)) Error("tile kind " + std::to_string(tile) + " is not in Settings\\Bases\\Tiles.XML");
    CheckFeeding(level);
    CheckFragmentEntry(level);
}

// The game refuses a field larger than its screen and moves one that stands
// off it; the tool refuses both, with the game's own rules.
void CLevelChecker::CheckScreenPlace(const LevelDesign& level) {
    const int cell_w = _data.CellWidth(), cell_h = _data.CellHeight();
    const int screen_w = level_limits::kScreenWidth, screen_h = level_limits::kScreenHeight;
    if (!level_limits::FieldFitsScreen(level.width, level.height, cell_w, cell_h, screen_w, screen_h)) {
        Error(level.lines.Of("map"), "the field of " + std::to_string(level.width) + " x " + std::to_string(level.height) + " cells of " +
              std::to_string(cell_w) + " x " + std::to_string(cell_h) + " pixels is larger than the screen (" +
              std::to_string(screen_w) + " x " + std::to_string(screen_h) + ")");
        return;
    }
    int left = 0, top = 0;
    CLevelWriter::PlaceField(level, cell_w, cell_h, left, top);
    if (level_limits::ClampFieldEdge(left, level.width * cell_w, screen_w) != left ||
        level_limits::ClampFieldEdge(top, level.height * cell_h, screen_h) != top)
        Error(level.lines.Of("map"), "the field placed at (" + std::to_string(left) + ", " + std::to_string(top) + ") runs off the screen (" +
              std::to_string(screen_w) + " x " + std::to_string(screen_h) + ")");
}

// A row falls only while every bird's cell and the cell below it are free, so
// a bird over a short column would hold back the rows of all the others.
void CLevelChecker::CheckEntryDepths(const LevelDesign& level) {
    std::vector<std::pair<int, int>> entries;  // (depth, x + y * width)
    int deepest = 0;
    for (int y = 0; y < level.height; ++y)
        for (int x = 0; x < level.width; ++x) {
            if (level.At(x, y).kind != CellDesign::kGenerator) continue;
            int depth = 0;
            while (level.IsFieldCell(x, y + 1 + depth)) ++depth;
            entries.push_back({depth, x + y * level.width});
            deepest = std::max(deepest, depth);
        }
    for (const auto& [depth, at] : entries)
        if (depth + kMaxEntryDepthGap < deepest)
            Error(level.lines.OfRow(at / level.width), "the entry cell at (" + std::to_string(at % level.width) + ", " + std::to_string(at / level.width) +
                  ") has " + std::to_string(depth) + " cells below it, the deepest " + std::to_string(deepest) +
                  ": its column would hold back every row");
}

// Balls enter at the birds and fall straight down or slide diagonally down
// into a neighbour column; a cell no ball can reach would stay empty.
void CLevelChecker::CheckFeeding(const LevelDesign& level) {
    std::vector<char> fed(level.cells.size(), 0);
    const auto is_fed = [&](int x, int y) {
        return x >= 0 && y >= 0 && x < level.width && y < level.height && fed[static_cast<size_t>(y * level.width + x)];
    };
    for (int y = 0; y < level.height; ++y)
        for (int x = 0; x < level.width; ++x) {
            const CellDesign& cell = level.At(x, y);
            char& mark = fed[static_cast<size_t>(y * level.width + x)];
            if (cell.kind == CellDesign::kGenerator) mark = 1;
            if (cell.kind != CellDesign::kPlain) continue;
            // A locked start ball never moves, so nothing passes it.
            const bool reachable = is_fed(x, y - 1) || is_fed(x - 1, y - 1) || is_fed(x + 1, y - 1);
            mark = reachable && cell.lock == 0;
            if (!reachable && cell.ball < 0 && cell.lock == 0)
                Error(level.lines.OfRow(y), "no ball can reach the cell at (" + std::to_string(x) + ", " + std::to_string(y) + ")");
        }
}

void CLevelChecker::CheckFragmentEntry(const LevelDesign& level) {
    if (level.fragment_left < 0 || level.fragment_left > level.fragment_right) {
        Error(level.lines.Of("fragment_range"), "fragment_range needs 0 <= left <= right");
        return;
    }
    for (int y = 0; y < level.height; ++y)
        for (int x = std::max(level.fragment_left, 0); x <= std::min(level.fragment_right, level.width - 1); ++x)
            if (level.At(x, y).kind == CellDesign::kGenerator && level.IsFieldCell(x, y + 1)) return;
    Error(level.lines.Of("fragment_range"), "no entry cell within fragment_range: the fragment could not enter");
}

void CLevelChecker::CheckBackground(const std::string& set, int line) {
    const pugi::xml_node background = _data.Background(set);
    if (!background) {
        Error(line, "background set '" + set + "' is not in Settings\\Backgrounds.xml");
        return;
    }
    // The game keeps only so many layers and tiles of a background.
    int layers = 0, tiles = 0;
    for (pugi::xml_node layer : background.children("Layer")) {
        ++layers;
        if (!level_limits::IsFiniteSpeed(layer.attribute("speed").as_float()))
            Error(line, "background set '" + set + "' has a layer whose speed is not finite");
        for (pugi::xml_node tile : layer.children("Tile")) {
            ++tiles;
            if (!_data.IsBackgroundObject(tile.attribute("group_id").as_int(), tile.attribute("id").as_int()))
                Error(line, "background set '" + set + "' names object " + tile.attribute("group_id").value() + "/" +
                      tile.attribute("id").value() + " that Settings\\TileBase.xml lacks");
        }
    }
    if (layers > level_limits::kMaxBackgroundLayers || tiles > level_limits::kMaxBackgroundTiles)
        Error(line, "background set '" + set + "' has " + std::to_string(layers) + " layers and " + std::to_string(tiles) +
              " tiles; the game keeps " + std::to_string(level_limits::kMaxBackgroundLayers) + " and " +
              std::to_string(level_limits::kMaxBackgroundTiles));
}

void CLevelChecker::CheckMusic(const MusicDesign& music, int line) {
    const std::pair<const std::string*, int> tracks[] = {{&music.normal_alias, music.normal_track},
                                                         {&music.anxious_alias, music.anxious_track}};
    for (const auto& [alias, track] : tracks) {
        const int count = _data.MusicTracks(*alias);
        if (count < 0)
            Error(line, "music '" + *alias + "' is not in Settings\\Music.xml");
        else if (track < 0 || track >= count)
            Error(line, "music '" + *alias + "' has no track " + std::to_string(track));
    }
    // Written so that a NaN fails too.
    if (!(music.fade_speed > 0) || !level_limits::IsFiniteSpeed(music.fade_speed))
        Error(line, "the music's fade speed must be a number above 0");
}

void CLevelChecker::Error(int line, const std::string& message) {
    const std::string at = line > 0 ? ":" + std::to_string(line) : std::string();
    _errors->push_back(_file + at + ": " + _block + ": " + message);
}

}  // namespace leveltool
