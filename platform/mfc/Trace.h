// Trace.h: where AfxTrace's output goes. Default: standard error; tests capture it.
#pragma once

#include <functional>
#include <string_view>

namespace platform::mfc {

using TraceSink = std::function<void(std::string_view text)>;
// An empty function restores standard error.
void setTraceSink(TraceSink sink);

}  // namespace platform::mfc
