// ResourceTesting.h: lookups and checks shared by the resource tables' tests.
#pragma once

#include <algorithm>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "mfc/ResourceTables.h"

namespace test {

// The entry of `table` with `id`, or null.
template <class T>
const T* findById(std::span<const T> table, UINT id) {
    auto it = std::ranges::find(table, id, &T::id);
    return it == table.end() ? nullptr : &*it;
}

// UTF-8, so that expected texts read as written and failures print legibly. Unpaired surrogates
// become U+FFFD.
std::string utf8(std::u16string_view text);

// The string table's text for `id`, in UTF-8; nullopt without an entry.
std::optional<std::string> stringFor(UINT id);

// What is wrong with a picture's shape or characters, or nullopt when nothing is.
std::optional<std::string> pictureFault(const platform::mfc::PictureResource& picture);

}  // namespace test
