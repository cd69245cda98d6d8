#include "design_parser.h"

#include <cctype>
#include <charconv>
#include <sstream>

namespace leveltool {

namespace {

std::vector<std::string> SplitWords(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line.substr(0, line.find('#')));
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

bool ToInt(const std::string& text, int& value) {
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    return ec == std::errc() && ptr == end;
}

}  // namespace

bool CDesignParser::Parse(const std::string& text, const std::string& file, EpisodeDesign& episode,
                          std::vector<std::string>& errors) {
    _episode = &episode;
    _errors = &errors;
    _file = file;
    _line = 0;
    _in_map = false;
    _ok = true;
    episode.file = file;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        ++_line;
        const std::vector<std::string> words = SplitWords(line);
        if (!words.empty()) ParseLine(words);
    }
    if (_in_map) Error("the last map has no 'end'");
    if (episode.number <= 0) Error("no 'episode' line");
    return _ok;
}

bool CDesignParser::ParseLine(const std::vector<std::string>& words) {
    if (_in_map) {
        if (words.size() == 1 && words[0] == "end") {
            _in_map = false;
            if (_episode->levels.back().height == 0) Error("the map has no rows");
            return true;
        }
        return ParseMapRow(words);
    }
    if (words[0] == "level") {
        std::vector<int> n;
        if (!Ints(words, 1, n)) return false;
        LevelDesign level;
        level.number = n[0];
        level.lines.block = _line;
        _episode->levels.push_back(std::move(level));
        return true;
    }
    SourceLines& lines = _episode->levels.empty() ? _episode->lines : _episode->levels.back().lines;
    lines.keys[words[0]] = _line;
    return _episode->levels.empty() ? ParseEpisodeKey(words) : ParseLevelKey(words);
}

bool CDesignParser::ParseEpisodeKey(const std::vector<std::string>& words) {
    const std::string& key = words[0];
    std::vector<int> n;
    if (key == "episode") {
        if (!Ints(words, 1, n)) return false;
        _episode->number = n[0];
        _episode->lines.block = _line;
    } else if (key == "glove") {
        if (!Ints(words, 1, n)) return false;
        _episode->glove_base_id = n[0];
    } else if (key == "background" && words.size() == 2) {
        _episode->background = words[1];
    } else if (key == "music") {
        return ParseMusic(words, _episode->music);
    } else {
        Error("unknown episode key '" + key + "'");
        return false;
    }
    return true;
}

bool CDesignParser::ParseLevelKey(const std::vector<std::string>& words) {
    LevelDesign& level = _episode->levels.back();
    const std::string& key = words[0];
    std::vector<int> n;
    struct Single {
        const char* key;
        int* value;
    };
    const Single singles[] = {{"rows_at_start", &level.rows_at_start},
                              {"rows_fall_delay", &level.rows_fall_delay},
                              {"ace_time", &level.ace_time},
                              {"step_generate_special", &level.step_generate_special}};
    for (const Single& single : singles) {
        if (key != single.key) continue;
        if (!Ints(words, 1, n)) return false;
        *single.value = n[0];
        return true;
    }
    if (key == "palette") {
        if (!Ints(words, words.size() - 1, n)) return false;
        level.palette = n;
    } else if (key == "bonus") {
        if (!Ints(words, 3, n)) return false;
        level.bonuses.push_back({n[0], n[1], n[2], _line});
    } else if (key == "bonus_probability") {
        if (!Ints(words, 2, n)) return false;
        level.bonus_probability_min = n[0];
        level.bonus_probability_max = n[1];
    } else if (key == "fragment_range") {
        if (!Ints(words, 2, n)) return false;
        level.fragment_left = n[0];
        level.fragment_right = n[1];
    } else if (key == "background" && words.size() == 2) {
        level.background = words[1];
    } else if (key == "music") {
        return ParseMusic(words, level.music);
    } else if (key == "map" && words.size() == 1) {
        if (level.height != 0) {
            Error("a second map for one level");
            return false;
        }
        _in_map = true;
    } else {
        Error("unknown level key '" + key + "'");
        return false;
    }
    return true;
}

bool CDesignParser::ParseMusic(const std::vector<std::string>& words, MusicDesign& music) {
    if (words.size() != 5 && words.size() != 6) {
        Error("music needs: calm alias, track, anxious alias, track [, fade speed]");
        return false;
    }
    if (!ToInt(words[2], music.normal_track) || !ToInt(words[4], music.anxious_track)) {
        Error("a music track is not a number");
        return false;
    }
    music.normal_alias = words[1];
    music.anxious_alias = words[3];
    if (words.size() == 6) {
        try {
            music.fade_speed = std::stof(words[5]);
        } catch (const std::exception&) {
            Error("the music's fade speed is not a number");
            return false;
        }
    }
    return true;
}

bool CDesignParser::ParseMapRow(const std::vector<std::string>& words) {
    LevelDesign& level = _episode->levels.back();
    if (level.height > 0 && static_cast<int>(words.size()) != level.width) {
        Error("map row of " + std::to_string(words.size()) + " cells, the first row has " +
              std::to_string(level.width));
        return false;
    }
    level.width = static_cast<int>(words.size());
    level.lines.rows.push_back(_line);
    bool ok = true;
    for (const std::string& token : words) {
        CellDesign cell;
        ok = ParseCell(token, cell) && ok;
        level.cells.push_back(cell);
    }
    ++level.height;
    return ok;
}

bool CDesignParser::ParseCell(const std::string& token, CellDesign& cell) {
    const auto bad = [&](const char* why) {
        Error("map cell '" + token + "': " + why);
        return false;
    };
    if (token == "-") return true;
    if (token[0] == 'G') {
        cell.kind = CellDesign::kGenerator;
        if (token.size() > 1 && !ToInt(token.substr(1), cell.generator_delay)) return bad("the delay is not a number");
        return true;
    }
    cell.kind = CellDesign::kPlain;
    if (token[0] >= '1' && token[0] <= '9')
        cell.layers = token[0] - '0';
    else if (token[0] != '.')
        return bad("a cell starts with '.', a layer count, 'G' or is '-'");
    size_t i = 1;
    if (i < token.size() && token[i] >= 'a' && token[i] <= 'z') cell.ball = token[i++] - 'a';
    if (i < token.size() && token[i] == 'L') {
        if (i + 2 != token.size() || !std::isdigit(static_cast<unsigned char>(token[i + 1])))
            return bad("'L' takes one digit");
        cell.lock = token[i + 1] - '0';
        i = token.size();
    }
    if (i != token.size()) return bad("unexpected characters");
    return true;
}

bool CDesignParser::Ints(const std::vector<std::string>& words, size_t count, std::vector<int>& out) {
    out.clear();
    if (words.size() != count + 1 || count == 0) {
        Error("'" + words[0] + "' takes " + (count ? std::to_string(count) : std::string("some")) + " numbers");
        return false;
    }
    for (size_t i = 1; i < words.size(); ++i) {
        int value = 0;
        if (!ToInt(words[i], value)) {
            Error("'" + words[i] + "' is not a number");
            return false;
        }
        out.push_back(value);
    }
    return true;
}

void CDesignParser::Error(const std::string& message) {
    _ok = false;
    _errors->push_back(_file + ":" + std::to_string(_line) + ": " + message);
}

}  // namespace leveltool
