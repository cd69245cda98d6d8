// plumec <effects.txt> <data_dir> <output.plume>
//
// Writes the particle-effect library that the game loads at start-up from a
// readable description. The description is a text file of lines; '#' starts
// a comment. Numbers are decimal; a value written with a trailing 'd' (such as
// 90d) is in degrees and stored in radians.
//
//   texture <id> <png file under data_dir>
//   emitter <name>
//       <emitter curve> <time> <value> [<time> <value> ...]
//       force <x> <y>
//       color <r> <g> <b> <a>                    emitter colour, 0..1
//       spacing even|random                      emission points
//       points <n>                               points per direction
//       reverse 0|1                              emit backwards
//       both 0|1                                 emit both ways
//       shape point|line|circle
//       type [<name>]
//           texture <id>|none
//           blend alpha|additive
//           angle_mode emission|fixed|random
//           angle <degrees>
//           flip_u 0|1    flip_v 0|1
//           burst 0|1                            one batch at the start only
//           colors [repeat <n>] <time> <r> <g> <b> <a> [...]   over the life, time 0..1
//           <type curve> <time> <value> [...]
//           attach <factor>                      0 stay, 1 follow the emitter
//           newest_first 0|1
//       end
//   end
//
// Emitter curves (over the emitter time, 50 units a second) multiply the
// start values of the types: life rate visibility spin speed gravity size
// wobble force_weight; besides: scale color_weight direction spread
// shape_angle shape_size.
// Type start curves (over the emitter time): life (in time units) rate
// (batches a second) visibility spin speed size gravity wobble force_weight,
// their variations life_var size_var rate_var speed_var force_weight_var
// wobble_var gravity_var, and over the particle's life (0..1): size_life
// speed_life spin_life wobble_life force_weight_life gravity_life
// visibility_life.
#include <png.h>

#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "graphics/plume_slots.h"

namespace {

struct Curve {
    std::vector<std::pair<float, float>> keys;
};
struct ColorCurve {
    std::vector<std::array<float, 5>> keys {{0.0f, 1.0f, 1.0f, 1.0f, 1.0f}};
    int32_t repeat = 0;
    int32_t extra = 0;
};

const char* const kEmitterCurves[15] = {"life", "rate", "visibility", "spin", "speed", "gravity", "scale",
                                        "color_weight", "size", "wobble", "force_weight", "direction", "spread",
                                        "shape_angle", "shape_size"};
const float kEmitterDefaults[15] = {1, 1, 1, 1, 1, 1, 1, 0, 1, 1, 1, 0, 0, 0, 0};

const char* const kTypeCurves[23] = {
    "life", "rate", "visibility", "spin", "speed", "size", "gravity", "wobble", "force_weight", "life_var",
    "size_var", "rate_var", "speed_var", "force_weight_var", "wobble_var", "gravity_var", "size_life",
    "speed_life", "spin_life", "wobble_life", "force_weight_life", "gravity_life", "visibility_life"};
const float kTypeDefaults[23] = {50, 0, 1, 0, 0, 0.5f, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1};

struct Type {
    std::string name;
    bool has_texture = false;
    uint32_t texture = 0;
    int32_t ints[6] = {0, 1, 0, 0, 0, 0};  // alpha blend, random angle
    ColorCurve color;
    Curve curves[23];
    float attach = 0.0f;
    int32_t newest_first = 0;
};

struct Emitter {
    std::string name;
    Curve curves[15];
    float force[2] = {0, 0};
    std::vector<Type> types;
    float color[4] = {1, 1, 1, 1};
    int32_t ints[5] = {0, 1, 0, 0, 0};
};

struct Texture {
    uint32_t id = 0;
    std::string file;
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> bgra;  // bottom row first
};

struct Library {
    std::vector<Texture> textures;
    std::vector<Emitter> emitters;
};

[[noreturn]] void Fail(const std::string& where, const std::string& what) {
    throw std::runtime_error(where + ": " + what);
}

float Number(const std::string& tok, const std::string& where) {
    std::string t = tok;
    bool degrees = false;
    if (!t.empty() && t.back() == 'd') {
        degrees = true;
        t.pop_back();
    }
    char* end = nullptr;
    const float v = std::strtof(t.c_str(), &end);
    if (t.empty() || *end != '\0') Fail(where, "not a number: '" + tok + "'");
    return degrees ? v * 3.14159265f / 180.0f : v;
}

int32_t Integer(const std::string& tok, const std::string& where) {
    char* end = nullptr;
    const long v = std::strtol(tok.c_str(), &end, 10);
    if (tok.empty() || *end != '\0') Fail(where, "not an integer: '" + tok + "'");
    return static_cast<int32_t>(v);
}

int Index(const char* const* names, int count, const std::string& name) {
    for (int i = 0; i < count; ++i)
        if (name == names[i]) return i;
    return -1;
}

Curve ReadCurve(const std::vector<std::string>& tok, const std::string& where) {
    if (tok.size() < 3 || (tok.size() - 1) % 2 != 0) Fail(where, "a curve needs pairs of time and value");
    Curve c;
    for (size_t i = 1; i + 1 < tok.size(); i += 2) {
        const float t = Number(tok[i], where);
        if (!c.keys.empty() && t < c.keys.back().first) Fail(where, "curve times must ascend");
        c.keys.emplace_back(t, Number(tok[i + 1], where));
    }
    return c;
}

void Expect(const std::vector<std::string>& tok, size_t n, const std::string& where) {
    if (tok.size() != n) Fail(where, "'" + tok[0] + "' takes " + std::to_string(n - 1) + " value(s)");
}

void LoadPng(Texture& t, const std::string& path) {
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) Fail(path, "cannot read the PNG");
    image.format = PNG_FORMAT_BGRA;
    std::vector<uint8_t> top_down(PNG_IMAGE_SIZE(image));
    // A negative stride stores the rows bottom first, as the library keeps them.
    const png_int_32 stride = -static_cast<png_int_32>(PNG_IMAGE_ROW_STRIDE(image));
    if (!png_image_finish_read(&image, nullptr, top_down.data(), stride, nullptr)) {
        png_image_free(&image);
        Fail(path, "cannot decode the PNG");
    }
    t.width = image.width;
    t.height = image.height;
    t.bgra = std::move(top_down);
}

Library Parse(const std::string& source, const std::string& data_dir) {
    std::ifstream in(source);
    if (!in) Fail(source, "cannot open");
    Library lib;
    Emitter* emitter = nullptr;
    Type* type = nullptr;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        const std::string where = source + ":" + std::to_string(number);
        if (auto hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        std::istringstream words(line);
        std::vector<std::string> tok;
        for (std::string w; words >> w;) tok.push_back(w);
        if (tok.empty()) continue;
        const std::string& key = tok[0];

        if (type) {
            if (key == "end") {
                type = nullptr;
            } else if (key == "texture") {
                Expect(tok, 2, where);
                type->has_texture = tok[1] != "none";
                if (type->has_texture) type->texture = static_cast<uint32_t>(Integer(tok[1], where));
            } else if (key == "blend") {
                Expect(tok, 2, where);
                if (tok[1] != "alpha" && tok[1] != "additive") Fail(where, "blend is alpha or additive");
                type->ints[0] = tok[1] == "additive";
            } else if (key == "angle_mode") {
                Expect(tok, 2, where);
                if (tok[1] == "emission") type->ints[1] = 0;
                else if (tok[1] == "random") type->ints[1] = 1;
                else if (tok[1] == "fixed") type->ints[1] = 2;
                else Fail(where, "angle_mode is emission, fixed or random");
            } else if (key == "angle") {
                Expect(tok, 2, where);
                type->ints[2] = Integer(tok[1], where);
            } else if (key == "flip_u" || key == "flip_v" || key == "burst") {
                Expect(tok, 2, where);
                type->ints[key == "flip_u" ? 3 : key == "flip_v" ? 4 : 5] = Integer(tok[1], where);
            } else if (key == "colors") {
                size_t i = 1;
                ColorCurve c;
                c.keys.clear();
                if (tok.size() > 2 && tok[1] == "repeat") {
                    c.repeat = Integer(tok[2], where);
                    i = 3;
                }
                if (tok.size() <= i || (tok.size() - i) % 5 != 0) Fail(where, "colors takes groups of t r g b a");
                for (; i < tok.size(); i += 5) {
                    std::array<float, 5> k;
                    for (int j = 0; j < 5; ++j) k[j] = Number(tok[i + j], where);
                    if (!c.keys.empty() && k[0] < c.keys.back()[0]) Fail(where, "colour times must ascend");
                    c.keys.push_back(k);
                }
                type->color = c;
            } else if (key == "attach") {
                Expect(tok, 2, where);
                type->attach = Number(tok[1], where);
            } else if (key == "newest_first") {
                Expect(tok, 2, where);
                type->newest_first = Integer(tok[1], where);
            } else if (int slot = Index(kTypeCurves, 23, key); slot >= 0) {
                type->curves[slot] = ReadCurve(tok, where);
            } else {
                Fail(where, "unknown particle type line '" + key + "'");
            }
        } else if (emitter) {
            if (key == "end") {
                emitter = nullptr;
            } else if (key == "type") {
                emitter->types.emplace_back();
                type = &emitter->types.back();
                if (tok.size() > 1) type->name = tok[1];
            } else if (key == "force") {
                Expect(tok, 3, where);
                emitter->force[0] = Number(tok[1], where);
                emitter->force[1] = Number(tok[2], where);
            } else if (key == "color") {
                Expect(tok, 5, where);
                for (int i = 0; i < 4; ++i) emitter->color[i] = Number(tok[i + 1], where);
            } else if (key == "spacing") {
                Expect(tok, 2, where);
                if (tok[1] != "even" && tok[1] != "random") Fail(where, "spacing is even or random");
                emitter->ints[0] = tok[1] == "even";
            } else if (key == "points" || key == "reverse" || key == "both") {
                Expect(tok, 2, where);
                emitter->ints[key == "points" ? 1 : key == "reverse" ? 2 : 3] = Integer(tok[1], where);
            } else if (key == "shape") {
                Expect(tok, 2, where);
                if (tok[1] == "point") emitter->ints[4] = 0;
                else if (tok[1] == "line") emitter->ints[4] = 1;
                else if (tok[1] == "circle") emitter->ints[4] = 2;
                else Fail(where, "shape is point, line or circle");
            } else if (int slot = Index(kEmitterCurves, 15, key); slot >= 0) {
                emitter->curves[slot] = ReadCurve(tok, where);
            } else {
                Fail(where, "unknown emitter line '" + key + "'");
            }
        } else if (key == "texture") {
            Expect(tok, 3, where);
            Texture t;
            t.id = static_cast<uint32_t>(Integer(tok[1], where));
            t.file = tok[2];
            for (const Texture& other : lib.textures)
                if (other.id == t.id) Fail(where, "texture id used twice");
            LoadPng(t, (std::filesystem::path(data_dir) / t.file).string());
            lib.textures.push_back(std::move(t));
        } else if (key == "emitter") {
            Expect(tok, 2, where);
            if (tok[1].size() > 127) Fail(where, "names are at most 127 characters");
            lib.emitters.emplace_back();
            emitter = &lib.emitters.back();
            emitter->name = tok[1];
        } else {
            Fail(where, "unknown line '" + key + "'");
        }
    }
    if (type || emitter) Fail(source, "missing 'end' at the end of the file");
    for (const Emitter& e : lib.emitters)
        for (const Type& t : e.types) {
            if (!t.has_texture) continue;
            bool found = false;
            for (const Texture& tex : lib.textures) found = found || tex.id == t.texture;
            if (!found) Fail(source, "emitter '" + e.name + "' uses texture " + std::to_string(t.texture) +
                                         ", which is not declared");
        }
    return lib;
}

class Writer {
public:
    void U32(uint32_t v) {
        for (int i = 0; i < 4; ++i) _bytes.push_back(static_cast<uint8_t>(v >> (8 * i)));
    }
    void I32(int32_t v) { U32(static_cast<uint32_t>(v)); }
    void F32(float f) {
        uint32_t v;
        std::memcpy(&v, &f, 4);
        U32(v);
    }
    void ShortString(const std::string& s) {
        _bytes.push_back(static_cast<uint8_t>(s.size()));
        _bytes.insert(_bytes.end(), s.begin(), s.end());
    }
    void Bytes(const std::vector<uint8_t>& b) { _bytes.insert(_bytes.end(), b.begin(), b.end()); }
    void WriteCurve(const Curve& c, float default_value) {
        if (c.keys.empty()) {
            U32(1);
            F32(0.0f);
            F32(default_value);
            return;
        }
        U32(static_cast<uint32_t>(c.keys.size()));
        for (auto [t, v] : c.keys) {
            F32(t);
            F32(v);
        }
    }
    const std::vector<uint8_t>& Data() const { return _bytes; }

private:
    std::vector<uint8_t> _bytes;
};

std::vector<uint8_t> Write(const Library& lib) {
    Writer w;
    w.U32(0x4D554C50);  // "PLUM", not read by the game
    w.U32(1);
    w.U32(static_cast<uint32_t>(lib.textures.size()));
    for (const Texture& t : lib.textures) {
        w.ShortString(std::filesystem::path(t.file).filename().string().substr(0, 127));
        w.U32(t.id);
        w.U32(t.width);
        w.U32(t.height);
        w.U32(32);
        w.Bytes(t.bgra);
    }
    w.U32(static_cast<uint32_t>(lib.emitters.size()));
    for (const Emitter& e : lib.emitters) {
        for (int slot : Plume::kEmitterFileSlots) w.WriteCurve(e.curves[slot], kEmitterDefaults[slot]);
        w.F32(e.force[0]);
        w.F32(e.force[1]);
        w.U32(static_cast<uint32_t>(e.types.size()));
        for (const Type& t : e.types) {
            w.U32(t.has_texture ? 1 : 0);
            if (t.has_texture) w.U32(t.texture);
            w.ShortString(t.name.substr(0, 127));
            for (int32_t v : t.ints) w.I32(v);
            w.U32(static_cast<uint32_t>(t.color.keys.size()));
            for (const auto& k : t.color.keys)
                for (float f : k) w.F32(f);
            w.I32(t.color.repeat);
            w.I32(t.color.extra);
            for (int slot : Plume::kTypeFileSlots) w.WriteCurve(t.curves[slot], kTypeDefaults[slot]);
            w.F32(t.attach);
            w.I32(t.newest_first);
        }
        w.ShortString(e.name);
        for (float c : e.color) w.F32(c);
        for (int32_t v : e.ints) w.I32(v);
    }
    return w.Data();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: plumec <effects.txt> <data_dir> <output.plume>\n");
        return 2;
    }
    try {
        const Library lib = Parse(argv[1], argv[2]);
        const std::vector<uint8_t> bytes = Write(lib);
        const std::filesystem::path out(argv[3]);
        if (out.has_parent_path()) std::filesystem::create_directories(out.parent_path());
        const std::string temp = out.string() + ".tmp";
        {
            std::ofstream file(temp, std::ios::binary | std::ios::trunc);
            file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
            if (!file) throw std::runtime_error(temp + ": cannot write");
        }
        std::filesystem::rename(temp, out);
        std::printf("plumec: %zu emitters, %zu textures, %zu bytes -> %s\n", lib.emitters.size(),
                    lib.textures.size(), bytes.size(), argv[3]);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "plumec: %s\n", e.what());
        return 1;
    }
    return 0;
}
