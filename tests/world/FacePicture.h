// FacePicture.h: what the face pictures in data/ look like (tools/make_data.cpp draws them), and
// a check that one of them appears upright and unmirrored wherever it is drawn.
#pragma once

#include <functional>

#include <gtest/gtest.h>

#include "PictureScene.h"

namespace test {

// Spots of every face picture (128 x 128 texels, rows from the top), each well inside one flat
// area. Together they tell an upright picture from one mirrored either way, turned half round
// or transposed.
struct FaceMark {
    const char* name;
    float x, y;  // texels
    bool ink;    // the marks' dark colour, a quarter of the tint; otherwise the tint itself
};
constexpr float kFacePictureSize = 128.0f;
inline const FaceMark kFaceMarks[] = {
    {"dark square in the top-left corner", 14, 14, true},
    {"plain top-right corner", 114, 14, false},
    {"top bar of the F", 40, 38, true},
    {"foot of the F", 22, 104, true},
    {"plain spot where a transposed F's foot would be", 104, 22, false},
    {"shaft of the arrow", 94, 80, true},
    {"plain spot under the F", 60, 100, false},
};

inline Rgb InkOf(Rgb tint) {
    return {tint.r / 4, tint.g / 4, tint.b / 4};
}

// Reads the last frame at every mark of a picture of the given tint; at(u, v) is the world point
// where the picture should show texture coordinates (u, v), (0, 0) being its top-left corner.
inline void ExpectFacePicture(const PictureScene& scene, Rgb tint,
                              const std::function<D3DXVECTOR3(float u, float v)>& at) {
    for (const FaceMark& mark : kFaceMarks) {
        SCOPED_TRACE(mark.name);
        int x = 0, y = 0;
        ASSERT_TRUE(scene.project(at(mark.x / kFacePictureSize, mark.y / kFacePictureSize), x, y));
        const Rgb expected = mark.ink ? InkOf(tint) : tint;
        const Rgb seen = RgbOf(scene.pixel(x, y));
        EXPECT_TRUE(NearColour(expected, seen))
            << "pixel " << x << ", " << y << ": expected " << expected << ", saw " << seen;
    }
}

}  // namespace test
