// CObject's run-time classes, the dump context and the trace.
#include <cstdarg>
#include <cstdio>
#include <string>

#include <afx.h>

#include "mfc/Trace.h"

const CRuntimeClass CObject::classCObject = {"CObject", sizeof(CObject), 0xFFFF, nullptr};

BOOL CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const noexcept {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == pBaseClass) return TRUE;
    return FALSE;
}

const CRuntimeClass* CObject::GetRuntimeClass() const { return RUNTIME_CLASS(CObject); }

BOOL CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

void CObject::AssertValid() const {}

void CObject::Dump(CDumpContext& dc) const {
    dc << "a " << GetRuntimeClass()->m_lpszClassName << " at " << static_cast<const void*>(this)
       << "\n";
}

void CDumpContext::write(const std::string& text) {
    if (sink_) {
        *sink_ += text;
    } else {
        std::fputs(text.c_str(), stderr);
    }
}

CDumpContext& CDumpContext::operator<<(LPCSTR text) {
    write(text ? text : "(null)");
    return *this;
}

CDumpContext& CDumpContext::operator<<(const void* pointer) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%p", pointer);
    write(buffer);
    return *this;
}

CDumpContext& CDumpContext::operator<<(int value) {
    write(std::to_string(value));
    return *this;
}

CDumpContext& CDumpContext::operator<<(UINT value) {
    write(std::to_string(value));
    return *this;
}

namespace platform::mfc {
namespace {

TraceSink& traceSink() {
    static TraceSink sink;
    return sink;
}

}  // namespace

void setTraceSink(TraceSink sink) { traceSink() = std::move(sink); }

}  // namespace platform::mfc

void AfxTrace(LPCSTR lpszFormat, ...) {
    va_list args;
    va_start(args, lpszFormat);
    va_list copy;
    va_copy(copy, args);
    const int length = std::vsnprintf(nullptr, 0, lpszFormat, copy);
    va_end(copy);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, lpszFormat, args);
    va_end(args);
    if (auto& sink = platform::mfc::traceSink(); sink) {
        sink(text);
    } else {
        std::fputs(text.c_str(), stderr);
    }
}
