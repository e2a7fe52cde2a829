#include <cstring>
#include <vector>

#include <gtest/gtest.h>

#include "DeviceTesting.h"

namespace {

using test::ComRef;
using test::DeviceFixture;
using test::Vertex;

ComRef<IDirect3DIndexBuffer9> indexBuffer(DeviceFixture& f, const std::vector<DWORD>& indices) {
    ComRef<IDirect3DIndexBuffer9> ib;
    const UINT bytes = static_cast<UINT>(indices.size() * sizeof(DWORD));
    EXPECT_EQ(D3D_OK, f.device->CreateIndexBuffer(bytes, 0, D3DFMT_INDEX32, D3DPOOL_DEFAULT,
                                                  ib.put(), nullptr));
    void* data = nullptr;
    EXPECT_EQ(D3D_OK, ib->Lock(0, bytes, &data, 0));
    if (data) std::memcpy(data, indices.data(), bytes);
    ib->Unlock();
    return ib;
}

TEST(DeviceLimits, AreReportedAsADirect3D9DeviceOfTheCommonKindReportsThem) {
    DeviceFixture f;
    D3DCAPS9 caps{};
    ASSERT_EQ(D3D_OK, f.device->GetDeviceCaps(&caps));
    EXPECT_EQ(0xFFFFFu, caps.MaxPrimitiveCount);
    EXPECT_EQ(0xFFFFFFu, caps.MaxVertexIndex);
    EXPECT_EQ(D3DERR_INVALIDCALL, f.device->GetDeviceCaps(nullptr));
}

TEST(DeviceLimits, ADrawOfMorePrimitivesThanTheLimitIsRefused) {
    DeviceFixture f;
    struct Case {
        int line;
        UINT primitives;
        HRESULT result;
    };
    const Case kCases[] = {
        {__LINE__, 0xFFFFF, D3D_OK},
        {__LINE__, 0x100000, D3DERR_INVALIDCALL},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        // Degenerate triangles: every corner the same point, so nothing is drawn but the count.
        EXPECT_EQ(c.result,
                  f.draw(D3DPT_TRIANGLESTRIP, std::vector<Vertex>(c.primitives + 2, f.at(1, 1)),
                         c.primitives));

        ComRef<IDirect3DIndexBuffer9> ib =
            indexBuffer(f, std::vector<DWORD>(std::size_t{c.primitives} * 3, 0));
        ComRef<IDirect3DVertexBuffer9> vb = f.buffer({f.at(1, 1)});
        f.device->SetStreamSource(0, vb.get(), 0, sizeof(Vertex));
        f.device->SetIndices(ib.get());
        f.device->BeginScene();
        EXPECT_EQ(c.result, f.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, 0, 0, 1, 0,
                                                           c.primitives));
        f.device->EndScene();
    }
}

// A negative base vertex index lets large index values reach a small buffer, so the limit on
// the indices themselves shows apart from the buffer's size.
TEST(DeviceLimits, AnIndexedDrawPastTheLargestVertexIndexIsRefused) {
    DeviceFixture f;
    struct Case {
        int line;
        DWORD first;  // the draw's indices: first, first + 1, first + 2
        HRESULT result;
    };
    const Case kCases[] = {
        {__LINE__, 0xFFFFFD, D3D_OK},              // the last one is the largest allowed
        {__LINE__, 0xFFFFFE, D3DERR_INVALIDCALL},  // one past it
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        ComRef<IDirect3DIndexBuffer9> ib = indexBuffer(f, {c.first, c.first + 1, c.first + 2});
        ComRef<IDirect3DVertexBuffer9> vb = f.buffer({f.at(1, 1), f.at(6, 1), f.at(1, 6)});
        f.device->SetFVF(test::kVertexFormat);
        f.device->SetStreamSource(0, vb.get(), 0, sizeof(Vertex));
        f.device->SetIndices(ib.get());
        f.device->BeginScene();
        EXPECT_EQ(c.result,
                  f.device->DrawIndexedPrimitive(D3DPT_TRIANGLELIST, -static_cast<INT>(c.first),
                                                 c.first, 3, 0, 1));
        f.device->EndScene();
    }
}

}  // namespace
