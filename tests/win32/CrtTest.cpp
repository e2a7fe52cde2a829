#include <cstdlib>

#include <gtest/gtest.h>

#include <windows.h>

#include "PlatformFixtures.h"

namespace {

TEST(Rand, FollowsTheOriginalRuntimesSequenceFromSeedOne) {
    std::srand(1);
    // x = x * 214013 + 2531011 from 1; each result is bits 16..30.
    const int kExpected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358};
    for (int expected : kExpected) EXPECT_EQ(expected, std::rand());
    std::srand(1);
    EXPECT_EQ(41, std::rand());
}

TEST(Assert, ReportGoesToTheHandlerAndReturns) {
    test::AssertCapture capture;
    _assert("x > 0", "file.cpp", 12);
    ASSERT_EQ(1u, capture.reports.size());
    EXPECT_EQ("x > 0", capture.reports[0].expression);
    EXPECT_EQ("file.cpp", capture.reports[0].file);
    EXPECT_EQ(12u, capture.reports[0].line);
}

TEST(Assert, WithoutHandlerWritesToStandardError) {
    testing::internal::CaptureStderr();
    _assert("flag", "a.cpp", 3);
    EXPECT_EQ("Assertion failed: flag, file a.cpp, line 3\n",
              testing::internal::GetCapturedStderr());
}

TEST(MessageBox, WithoutWindowingSideIsWrittenAndAnsweredOk) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(IDOK, MessageBoxA(nullptr, "Error", "Cannot found", MB_OK));
    EXPECT_EQ("[Cannot found] Error\n", testing::internal::GetCapturedStderr());
}

TEST(MessageBox, PresenterReceivesOwnerTextCaptionAndType) {
    test::MessageBoxCapture boxes;
    MessageBoxA(nullptr, nullptr, "D3DXCreateFont fail", MB_OK);
    ASSERT_EQ(1u, boxes.shown.size());
    EXPECT_EQ("(null)", boxes.shown[0].text);
    EXPECT_EQ("D3DXCreateFont fail", boxes.shown[0].caption);
    EXPECT_EQ(MB_OK, boxes.shown[0].type);
}

TEST(SetRect, StoresTheFourEdgesAsGiven) {
    RECT r;
    SetRect(&r, 5, 25, 0, 0);
    EXPECT_EQ(5, r.left);
    EXPECT_EQ(25, r.top);
    EXPECT_EQ(0, r.right);
    EXPECT_EQ(0, r.bottom);
}

TEST(GetCursorPos, FailsWithOriginWithoutSourceAndReadsSourceOtherwise) {
    POINT p{7, 7};
    EXPECT_FALSE(GetCursorPos(&p));
    EXPECT_EQ(0, p.x);
    platform::win32::setCursorSource([] { return POINT{300, -20}; });
    EXPECT_TRUE(GetCursorPos(&p));
    EXPECT_EQ(300, p.x);
    EXPECT_EQ(-20, p.y);
    platform::win32::setCursorSource({});
}

}  // namespace
