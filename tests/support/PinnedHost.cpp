// Every test process starts from the same fonts, locale and Qt settings, whatever the machine it
// runs on has installed or its desktop sets: the view's size follows the menu's and the bars'
// font heights, and the click and picture tests follow the view's size. Linked into every suite,
// so a suite started by hand sees what CTest gives it.
#include <cstdlib>

namespace {

// What a desktop sets to scale, restyle or re-theme Qt, and where fontconfig would look instead.
constexpr const char* kHostSettings[] = {
    "QT_SCALE_FACTOR", "QT_SCREEN_SCALE_FACTORS", "QT_AUTO_SCREEN_SCALE_FACTOR",
    "QT_ENABLE_HIGHDPI_SCALING", "QT_SCALE_FACTOR_ROUNDING_POLICY", "QT_FONT_DPI",
    "QT_USE_PHYSICAL_DPI", "QT_QPA_PLATFORMTHEME", "QT_STYLE_OVERRIDE",
    "XDG_CURRENT_DESKTOP", "DESKTOP_SESSION", "KDE_FULL_SESSION",
    "FONTCONFIG_PATH", "FONTCONFIG_SYSROOT",
};

// Constructed before main, so before Qt or fontconfig read any of it.
struct PinnedHost {
    PinnedHost() {
        for (const char* name : kHostSettings) unsetenv(name);
        setenv("FONTCONFIG_FILE", ORVEK_TEST_FONTCONFIG, 1);  // only the packaged fonts
        setenv("LC_ALL", "C.UTF-8", 1);  // on every Debian system, unlike any named locale
    }
} const pinnedHost;

}  // namespace
