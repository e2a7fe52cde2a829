// A left click in the running view steps the player toward the ground under the cursor, with
// the viewport, projection and view the device holds after the frames drawn so far.
#include <ostream>
#include <string>

#include <QTest>

#include "SceneFixture.h"

namespace test {
namespace {

void clickAt(QWidget* widget, QPoint point) {
    QTest::mouseClick(widget, Qt::LeftButton, {}, point);
}

TEST_F(SceneTest, AClickAtTheCentreAtStartUpStepsThePlayerToAboutZeroZeroOne) {
    settle();
    const int width = view().m_nWidth, height = view().m_nHeight;
    ASSERT_EQ(picture().size(), viewWidget()->size());  // the back buffer is the view's size

    // The ray along the line of sight from (0, 100, -100) meets the ground, at y = -1, near
    // (0, -1, 1); the step of one unit toward that point raised by one lands near (0, 0, 1).
    // Whether the centre pixel lies half a pixel off that line, as it does for an even height,
    // moves the point a little along the ground but not the step.
    clickAt(viewWidget(), QPoint(width / 2, height / 2));
    EXPECT_TRUE(VectorsNear(D3DXVECTOR3(0.0f, 0.0f, 1.0f), player().m_vPos, 0.01f));

    // One step per click, from wherever the player stands. A sixth of the view above the centre
    // the ray meets the ground some thirty units further on, far ahead of the player at any
    // view size, so the step goes straight on.
    clickAt(viewWidget(), QPoint(width / 2, height / 2 - height / 6));
    EXPECT_TRUE(VectorsNear(D3DXVECTOR3(0.0f, 0.0f, 2.0f), player().m_vPos, 0.02f));
}

struct MissCase {
    std::string name;
    bool drawFirst;  // the ground has no triangles to pick before it is drawn once
    double x, y;     // of the view's size
};

void PrintTo(const MissCase& c, std::ostream* out) { *out << c.name; }

class MissTest : public SceneTest, public ::testing::WithParamInterface<MissCase> {};

TEST_P(MissTest, AClickThatMeetsNoGroundMovesNothing) {
    const MissCase& c = GetParam();
    if (c.drawFirst) settle();
    const QPoint point(static_cast<int>(c.x * view().m_nWidth),
                       static_cast<int>(c.y * view().m_nHeight));
    if (c.drawFirst) {
        ASSERT_EQ(picture().pixel(point) & 0xFFFFFFu, 0x6E93BFu) << "not a point on the sky";
    }
    const D3DXVECTOR3 before = player().m_vPos;
    clickAt(viewWidget(), point);
    EXPECT_TRUE(VectorsNear(before, player().m_vPos, 0.0f));
}

// The top rows show the sky, beyond the ground's far edge.
INSTANTIATE_TEST_SUITE_P(Clicks, MissTest,
                         ::testing::Values(MissCase{"Sky", true, 0.5, 0.005},
                                           MissCase{"SkyAtTheLeft", true, 0.02, 0.005},
                                           MissCase{"GroundNotDrawnYet", false, 0.5, 0.5}),
                         [](const ::testing::TestParamInfo<MissCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace test
