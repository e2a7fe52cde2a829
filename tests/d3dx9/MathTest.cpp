#include <cmath>

#include <gtest/gtest.h>

#include <d3dx9math.h>

namespace {

constexpr float kTolerance = 1e-5f;

void ExpectMatrixNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual, float tolerance) {
    for (int r = 0; r < 4; ++r)
        for (int c = 0; c < 4; ++c)
            EXPECT_NEAR(expected.m[r][c], actual.m[r][c], tolerance) << "row " << r << " col " << c;
}

void ExpectVectorNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual) {
    EXPECT_NEAR(expected.x, actual.x, kTolerance);
    EXPECT_NEAR(expected.y, actual.y, kTolerance);
    EXPECT_NEAR(expected.z, actual.z, kTolerance);
}

D3DXMATRIX Identity() {
    D3DXMATRIX m;
    return *D3DXMatrixIdentity(&m);
}

TEST(Vec3, NormalizeGivesUnitLengthAndZeroForZero) {
    D3DXVECTOR3 v(3.0f, 0.0f, 4.0f);
    D3DXVec3Normalize(&v, &v);  // in place
    ExpectVectorNear({0.6f, 0.0f, 0.8f}, v);
    const D3DXVECTOR3 zero(0.0f, 0.0f, 0.0f);
    D3DXVECTOR3 out(9.0f, 9.0f, 9.0f);
    D3DXVec3Normalize(&out, &zero);
    EXPECT_EQ(zero, out);
}

TEST(Vec3, CrossIsLeftOperandFirstAndMayAlias) {
    D3DXVECTOR3 up(0.0f, 1.0f, 0.0f);
    const D3DXVECTOR3 dir(0.6f, 0.0f, 0.8f);
    D3DXVECTOR3 right;
    D3DXVec3Cross(&right, &up, &dir);
    ExpectVectorNear({0.8f, 0.0f, -0.6f}, right);  // (dir.z, 0, -dir.x)
    D3DXVec3Cross(&up, &up, &dir);
    ExpectVectorNear(right, up);
}

TEST(Vec3, TransformCoordDividesByW) {
    D3DXMATRIX projection;
    D3DXMatrixPerspectiveFovLH(&projection, D3DX_PI / 2, 1.0f, 1.0f, 3.0f);
    const D3DXVECTOR3 nearPoint(0.0f, 0.0f, 1.0f);
    const D3DXVECTOR3 farPoint(2.0f, 0.0f, 3.0f);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &nearPoint, &projection);
    ExpectVectorNear({0.0f, 0.0f, 0.0f}, out);
    D3DXVec3TransformCoord(&out, &farPoint, &projection);
    ExpectVectorNear({2.0f / 3.0f, 0.0f, 1.0f}, out);
}

TEST(Matrix, RotationYTurnsPlusZTowardPlusX) {
    D3DXMATRIX r;
    D3DXMatrixRotationY(&r, D3DX_PI / 2);
    const D3DXVECTOR3 forward(0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &forward, &r);
    ExpectVectorNear({1.0f, 0.0f, 0.0f}, out);
    const float c = std::cos(0.3f), s = std::sin(0.3f);
    ExpectMatrixNear(D3DXMATRIX(c, 0, -s, 0, 0, 1, 0, 0, s, 0, c, 0, 0, 0, 0, 1),
                     *D3DXMatrixRotationY(&r, 0.3f), kTolerance);
}

TEST(Matrix, RotationAxisMatchesRotationYForAnyAxisLengthAndIsIdentityAtZero) {
    const D3DXVECTOR3 longY(0.0f, 5.0f, 0.0f);
    D3DXMATRIX byAxis, byY;
    D3DXMatrixRotationAxis(&byAxis, &longY, 0.7f);
    ExpectMatrixNear(*D3DXMatrixRotationY(&byY, 0.7f), byAxis, kTolerance);
    const D3DXVECTOR3 zero(0.0f, 0.0f, 0.0f);
    EXPECT_EQ(Identity(), *D3DXMatrixRotationAxis(&byAxis, &zero, 0.0f));
}

TEST(Matrix, MultiplyAppliesTheLeftOperandFirstAndMayAlias) {
    D3DXMATRIX rotation, translation = Identity();
    D3DXMatrixRotationY(&rotation, D3DX_PI / 2);
    translation._41 = 5.0f;
    D3DXMATRIX product;
    D3DXMatrixMultiply(&product, &rotation, &translation);
    const D3DXVECTOR3 forward(0.0f, 0.0f, 1.0f);
    D3DXVECTOR3 out;
    D3DXVec3TransformCoord(&out, &forward, &product);
    ExpectVectorNear({6.0f, 0.0f, 0.0f}, out);  // turned to +x, then moved
    D3DXMatrixMultiply(&rotation, &rotation, &translation);
    EXPECT_EQ(product, rotation);
}

TEST(Matrix, InverseUndoesAndRefusesSingular) {
    D3DXMATRIX m;
    D3DXMatrixRotationY(&m, 0.4f);
    m._41 = 3.0f;
    m._42 = -2.0f;
    D3DXMATRIX inverse, product;
    ASSERT_NE(nullptr, D3DXMatrixInverse(&inverse, nullptr, &m));
    ExpectMatrixNear(Identity(), *D3DXMatrixMultiply(&product, &m, &inverse), kTolerance);

    D3DXMATRIX singular = Identity();
    singular._11 = 0.0f;
    D3DXMATRIX untouched = Identity();
    float determinant = 1.0f;
    EXPECT_EQ(nullptr, D3DXMatrixInverse(&untouched, &determinant, &singular));
    EXPECT_EQ(0.0f, determinant);
    EXPECT_EQ(Identity(), untouched);
}

TEST(Matrix, LookAtFromOverviewEye) {
    const D3DXVECTOR3 eye(0.0f, 100.0f, -100.0f), at(0.0f, 0.0f, 0.0f), up(0.0f, 1.0f, 0.0f);
    D3DXMATRIX view;
    D3DXMatrixLookAtLH(&view, &eye, &at, &up);
    const float h = std::sqrt(0.5f);
    const float distance = 100.0f * std::sqrt(2.0f);
    ExpectMatrixNear(D3DXMATRIX(1, 0, 0, 0, 0, h, -h, 0, 0, h, h, 0, 0, 0, distance, 1), view,
                     1e-4f);
}

TEST(Matrix, PerspectiveFovLH) {
    D3DXMATRIX p;
    D3DXMatrixPerspectiveFovLH(&p, D3DX_PI / 2, 2.0f, 1.0f, 1000.0f);
    const float q = 1000.0f / 999.0f;
    ExpectMatrixNear(D3DXMATRIX(0.5f, 0, 0, 0, 0, 1, 0, 0, 0, 0, q, 1, 0, 0, -q, 0), p, 1e-5f);
}

TEST(Color, PacksClampedRoundedChannelsAsArgb) {
    struct Case {
        int line;
        D3DXCOLOR color;
        DWORD argb;
    };
    const Case kCases[] = {
        {__LINE__, {1, 1, 0, 1}, 0xFFFFFF00u},           // the overlay's yellow
        {__LINE__, {2, -1, 0.5f, 1}, 0xFFFF0080u},       // clamped; 0.5 * 255 + 0.5 rounds up
        {__LINE__, {0.2f, 0.4f, 0.6f, 0.0f}, 0x00336699u},
    };
    for (const Case& c : kCases) {
        SCOPED_TRACE(c.line);
        EXPECT_EQ(c.argb, static_cast<DWORD>(c.color));
    }
    EXPECT_EQ(0xFF6E93BFu, static_cast<DWORD>(D3DXCOLOR(0xFF6E93BFu)));
}

}  // namespace
