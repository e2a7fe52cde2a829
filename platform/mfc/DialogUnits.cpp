#include "mfc/DialogUnits.h"

#include <QFontMetrics>
#include <QStringList>

namespace platform::mfc {
namespace {

constexpr int kLogicalDpi = 96;
constexpr int kPointsPerInch = 72;

// (a * b) / c rounded half away from zero, as the platform's MulDiv.
int mulDiv(int a, int b, int c) {
    const long long product = static_cast<long long>(a) * b;
    const long long half = c / 2;
    return static_cast<int>(product >= 0 ? (product + half) / c : (product - half) / c);
}

}  // namespace

QFont dialogFont(const QString& faceName, int pointSize) {
    QFont font;
    QStringList families;
    families << faceName << QStringLiteral("Gulim") << QStringLiteral("NanumGothic")
             << QStringLiteral("Noto Sans CJK KR") << QStringLiteral("UnDotum");
    font.setFamilies(families);
    font.setPixelSize(mulDiv(pointSize, kLogicalDpi, kPointsPerInch));
    return font;
}

DialogBaseUnits baseUnitsOf(const QFont& font) {
    const QFontMetrics metrics(font);
    const int letters =
        metrics.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
    return {(letters / 26 + 1) / 2, metrics.height()};
}

QRect toPixels(const DialogBaseUnits& units, int x, int y, int cx, int cy) {
    return QRect(mulDiv(x, units.x, 4), mulDiv(y, units.y, 8), mulDiv(cx, units.x, 4),
                 mulDiv(cy, units.y, 8));
}

}  // namespace platform::mfc
