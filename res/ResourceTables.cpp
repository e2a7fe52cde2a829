#include "ResourceParts.h"

const platform::mfc::ResourceTables& platform::mfc::applicationResources() {
    // Built on first use, so a lookup made during static initialisation finds it complete.
    static const ResourceTables tables{
        .language = res::kLanguage,
        .menus = res::menus(),
        .accelerators = res::acceleratorTables(),
        .strings = res::strings(),
        .bitmaps = res::bitmaps(),
        .toolBars = res::toolBars(),
        .icons = res::icons(),
        .dialogs = res::dialogs(),
        .version = &res::version(),
    };
    return tables;
}
