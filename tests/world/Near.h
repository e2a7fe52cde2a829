// Near.h: comparing the world's vectors and matrices within single-precision error.
#pragma once

#include <gtest/gtest.h>

#include <d3dx9math.h>

namespace test {

inline void ExpectNear(const D3DXVECTOR3& expected, const D3DXVECTOR3& actual,
                       float tolerance = 1e-5f) {
    EXPECT_NEAR(expected.x, actual.x, tolerance);
    EXPECT_NEAR(expected.y, actual.y, tolerance);
    EXPECT_NEAR(expected.z, actual.z, tolerance);
}

inline void ExpectNear(const D3DXMATRIX& expected, const D3DXMATRIX& actual,
                       float tolerance = 1e-5f) {
    for (int row = 0; row < 4; ++row) {
        for (int col = 0; col < 4; ++col) {
            SCOPED_TRACE(testing::Message() << "element _" << row + 1 << col + 1);
            EXPECT_NEAR(expected.m[row][col], actual.m[row][col], tolerance);
        }
    }
}

inline D3DXMATRIX Identity() {
    D3DXMATRIX m;
    D3DXMatrixIdentity(&m);
    return m;
}

}  // namespace test
