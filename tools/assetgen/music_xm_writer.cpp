#include "music_xm_writer.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "platform/file_handle.h"

namespace assetgen::xm {

namespace {

class Out {
public:
    void U8(uint32_t v) { bytes.push_back(static_cast<uint8_t>(v)); }
    void U16(uint32_t v) { U8(v & 0xFF); U8((v >> 8) & 0xFF); }
    void U32(uint32_t v) { U16(v & 0xFFFF); U16(v >> 16); }
    void Text(const std::string& s, size_t width) {
        for (size_t i = 0; i < width; ++i) U8(i < s.size() ? static_cast<uint8_t>(s[i]) : 0);
    }
    void Zeros(size_t n) { bytes.insert(bytes.end(), n, 0); }
    std::vector<uint8_t> bytes;
};

std::vector<uint8_t> PackPattern(const Pattern& p) {
    Out out;
    for (const Cell& c : p.cells) {
        uint8_t flags = 0x80;
        if (c.note) flags |= 0x01;
        if (c.instrument) flags |= 0x02;
        if (c.volume) flags |= 0x04;
        if (c.effect) flags |= 0x08;
        if (c.param) flags |= 0x10;
        out.U8(flags);
        if (c.note) out.U8(c.note);
        if (c.instrument) out.U8(c.instrument);
        if (c.volume) out.U8(c.volume);
        if (c.effect) out.U8(c.effect);
        if (c.param) out.U8(c.param);
    }
    return out.bytes;
}

}  // namespace

void Write(const std::string& path, const Module& m) {
    if (m.orders.empty() || m.orders.size() > 256 || m.patterns.empty() || m.patterns.size() > 256 ||
        m.instruments.size() > 128 || m.channels < 1 || m.channels > 32)
        throw std::runtime_error("module out of range: " + path);
    Out out;
    out.Text("Extended Module: ", 17);
    out.Text(m.name, 20);
    out.U8(0x1A);
    out.Text("vovaro assetgen", 20);
    out.U16(0x0104);
    out.U32(276);  // header size, counted from this field
    out.U16(static_cast<uint32_t>(m.orders.size()));
    out.U16(0);  // restart position
    out.U16(static_cast<uint32_t>(m.channels));
    out.U16(static_cast<uint32_t>(m.patterns.size()));
    out.U16(static_cast<uint32_t>(m.instruments.size()));
    out.U16(1);  // linear frequency table
    out.U16(static_cast<uint32_t>(m.speed));
    out.U16(static_cast<uint32_t>(m.bpm));
    for (size_t i = 0; i < 256; ++i) out.U8(i < m.orders.size() ? m.orders[i] : 0);

    for (const Pattern& p : m.patterns) {
        if (p.channels != m.channels) throw std::runtime_error("pattern channel count differs: " + path);
        std::vector<uint8_t> packed = PackPattern(p);
        out.U32(9);
        out.U8(0);
        out.U16(static_cast<uint32_t>(p.rows));
        out.U16(static_cast<uint32_t>(packed.size()));
        out.bytes.insert(out.bytes.end(), packed.begin(), packed.end());
    }

    for (const Instrument& ins : m.instruments) {
        const size_t start = out.bytes.size();
        out.U32(263);
        out.Text(ins.name, 22);
        out.U8(0);
        out.U16(1);   // one sample
        out.U32(40);  // sample header size
        out.Zeros(96);  // every note plays sample 0
        for (size_t i = 0; i < 12; ++i) {
            if (i < ins.envelope.size()) {
                out.U16(ins.envelope[i].tick);
                out.U16(ins.envelope[i].value);
            } else {
                out.U32(0);
            }
        }
        out.Zeros(48);  // panning envelope
        out.U8(static_cast<uint32_t>(std::min<size_t>(ins.envelope.size(), 12)));
        out.U8(0);
        out.U8(static_cast<uint32_t>(std::max(ins.sustain_point, 0)));
        out.U8(0);
        out.U8(0);
        out.Zeros(3);
        uint32_t env_type = ins.envelope.empty() ? 0 : 1;
        if (!ins.envelope.empty() && ins.sustain_point >= 0) env_type |= 2;
        out.U8(env_type);
        out.U8(0);
        out.Zeros(4);  // vibrato
        out.U16(static_cast<uint32_t>(ins.fadeout));
        out.Zeros(263 - (out.bytes.size() - start));

        const uint32_t bytes = static_cast<uint32_t>(ins.data.size() * 2);
        out.U32(bytes);
        out.U32(static_cast<uint32_t>(ins.loop_start * 2));
        out.U32(static_cast<uint32_t>(ins.loop_length * 2));
        out.U8(static_cast<uint32_t>(ins.volume));
        out.U8(static_cast<uint32_t>(static_cast<uint8_t>(static_cast<int8_t>(ins.finetune))));
        out.U8((ins.loop_length > 0 ? 1u : 0u) | 0x10u);  // forward loop, 16-bit
        out.U8(static_cast<uint32_t>(ins.panning));
        out.U8(static_cast<uint32_t>(static_cast<uint8_t>(static_cast<int8_t>(ins.relative_note))));
        out.U8(0);
        out.Text(ins.name, 22);
        int16_t previous = 0;  // samples are stored as deltas
        for (int16_t v : ins.data) {
            out.U16(static_cast<uint16_t>(static_cast<int16_t>(v - previous)));
            previous = v;
        }
    }

    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    plat::UniqueFile f(std::fopen(path.c_str(), "wb"));
    if (!f) throw std::runtime_error("cannot write " + path);
    if (std::fwrite(out.bytes.data(), 1, out.bytes.size(), f.get()) != out.bytes.size() || !plat::CloseFile(f))
        throw std::runtime_error("write failed: " + path);
}

}  // namespace assetgen::xm
