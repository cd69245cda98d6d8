#include "platform/render_device.h"

#include <algorithm>
#include <cstring>

#include "platform/render_device_impl.h"

namespace plat {

RasterState RenderDevice::Impl::MakeRasterState() const {
    RasterState st;
    if (texture) {
        st.texels = texture->Texels();
        st.tex_width = static_cast<int>(texture->Width());
        st.tex_height = static_cast<int>(texture->Height());
    }
    st.linear = Stage(TextureStageState::MagFilter) == kFilterLinear || Stage(TextureStageState::MinFilter) == kFilterLinear;
    st.wrap_u = Stage(TextureStageState::AddressU) == kAddressWrap;
    st.wrap_v = Stage(TextureStageState::AddressV) == kAddressWrap;
    st.color_op = Stage(TextureStageState::ColorOp);
    st.color_arg1 = Stage(TextureStageState::ColorArg1);
    st.color_arg2 = Stage(TextureStageState::ColorArg2);
    st.alpha_op = Stage(TextureStageState::AlphaOp);
    st.alpha_arg1 = Stage(TextureStageState::AlphaArg1);
    st.alpha_arg2 = Stage(TextureStageState::AlphaArg2);
    st.blend = State(RenderState::AlphaBlendEnable) != 0;
    st.src_blend = State(RenderState::SrcBlend);
    st.dest_blend = State(RenderState::DestBlend);
    st.cull = State(RenderState::CullMode);
    return st;
}

const Matrix& RenderDevice::Impl::Combined() {
    if (combined_dirty) {
        combined = transforms[0] * transforms[1] * transforms[2];
        combined_dirty = false;
    }
    return combined;
}

Result RenderDevice::Clear(uint32_t argb) {
    Impl& d = *_impl;
    if (d.immediate) {
        std::fill(d.back.begin(), d.back.end(), argb | 0xFF000000u);
        d.present_all = true;
        return kOk;
    }
    d.queue->Clear(argb);
    return kOk;
}

Result RenderDevice::BeginScene() {
    if (_impl->in_scene) return kErrInvalidCall;
    _impl->in_scene = true;
    return kOk;
}

Result RenderDevice::EndScene() {
    if (!_impl->in_scene) return kErrInvalidCall;
    _impl->in_scene = false;
    _impl->Flush();
    return kOk;
}

Result RenderDevice::DrawTriangles(const uint8_t* vertices, uint32_t stride, uint32_t first, uint32_t count,
                                   const uint16_t* indices, uint32_t triangle_count) {
    Impl& d = *_impl;
    if (stride < sizeof(Vertex)) return kErrInvalidCall;
    const Matrix& m = d.Combined();
    const float half_w = d.pp.width * 0.5f, half_h = d.pp.height * 0.5f;
    d.scratch.resize(count);
    for (uint32_t i = 0; i < count; ++i) {
        Vertex v;
        std::memcpy(&v, vertices + static_cast<size_t>(first + i) * stride, sizeof v);
        float x = v.x * m(0, 0) + v.y * m(1, 0) + v.z * m(2, 0) + m(3, 0);
        float y = v.x * m(0, 1) + v.y * m(1, 1) + v.z * m(2, 1) + m(3, 1);
        float w = v.x * m(0, 3) + v.y * m(1, 3) + v.z * m(2, 3) + m(3, 3);
        if (w != 0.0f && w != 1.0f) {
            x /= w;
            y /= w;
        }
        ScreenVertex& s = d.scratch[i];
        s.x = (x + 1.0f) * half_w;
        s.y = (1.0f - y) * half_h;
        s.color = v.color;
        s.u = v.u;
        s.v = v.v;
    }
    RasterState st = d.MakeRasterState();
    if (d.immediate) d.present_all = true;
    else d.queue->Begin(st, st.texels ? d.texture : nullptr);
    for (uint32_t t = 0; t < triangle_count; ++t) {
        uint32_t i0 = 3 * t, i1 = 3 * t + 1, i2 = 3 * t + 2;
        if (indices) {
            i0 = indices[i0] - first;
            i1 = indices[i1] - first;
            i2 = indices[i2] - first;
            if (i0 >= count || i1 >= count || i2 >= count) return kErrInvalidCall;
        }
        if (d.immediate)
            Rasterizer(d.back.data(), static_cast<int>(d.pp.width), static_cast<int>(d.pp.height))
                .Triangle(d.scratch[i0], d.scratch[i1], d.scratch[i2], st);
        else
            d.queue->Add(d.scratch[i0], d.scratch[i1], d.scratch[i2]);
    }
    return kOk;
}

Result RenderDevice::DrawIndexedTriangleList(uint32_t min_index, uint32_t num_vertices, uint32_t start_index,
                                             uint32_t triangle_count) {
    Impl& d = *_impl;
    if (!d.stream || !d.indices || d.stride == 0) return kErrInvalidCall;
    if (static_cast<size_t>(start_index) + 3ull * triangle_count > d.indices->Count()) return kErrInvalidCall;
    size_t first = static_cast<size_t>(d.base_vertex) + min_index;
    if ((first + num_vertices) * d.stride > d.stream->Size()) return kErrInvalidCall;
    // Indices are relative to the base vertex; the scratch holds the referenced range.
    const uint16_t* idx = d.indices->Data() + start_index;
    return DrawTriangles(d.stream->Data() + static_cast<size_t>(d.base_vertex) * d.stride, d.stride, min_index,
                         num_vertices, idx, triangle_count);
}

Result RenderDevice::DrawTriangleList(uint32_t start_vertex, uint32_t triangle_count) {
    Impl& d = *_impl;
    if (!d.stream || d.stride == 0) return kErrInvalidCall;
    if ((static_cast<size_t>(start_vertex) + 3ull * triangle_count) * d.stride > d.stream->Size()) return kErrInvalidCall;
    return DrawTriangles(d.stream->Data(), d.stride, start_vertex, 3 * triangle_count, nullptr, triangle_count);
}

Result RenderDevice::DrawTriangleListUP(uint32_t triangle_count, const void* vertices, uint32_t stride) {
    if (!vertices) return kErrInvalidCall;
    return DrawTriangles(static_cast<const uint8_t*>(vertices), stride, 0, 3 * triangle_count, nullptr, triangle_count);
}

}  // namespace plat
