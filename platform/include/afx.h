// afx.h: the class library's object root: CObject with run-time class information
// (DECLARE_DYNAMIC / IMPLEMENT_DYNAMIC), the diagnostic dump context and AfxTrace.
// No serialization and no dynamic creation: nothing in the program makes objects by class name.
#pragma once

#include <string>

#include "windows.h"

class CDumpContext;
class CObject;

struct CRuntimeClass {
    LPCSTR m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema;  // 0xFFFF: the class is not serializable
    const CRuntimeClass* m_pBaseClass;

    BOOL IsDerivedFrom(const CRuntimeClass* pBaseClass) const noexcept;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                              \
public:                                                          \
    static const CRuntimeClass class##class_name;                \
    const CRuntimeClass* GetRuntimeClass() const override;

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                        \
    const CRuntimeClass class_name::class##class_name = {#class_name, sizeof(class_name),     \
                                                         0xFFFF, RUNTIME_CLASS(base_class_name)}; \
    const CRuntimeClass* class_name::GetRuntimeClass() const { return RUNTIME_CLASS(class_name); }

class CObject {
public:
    static const CRuntimeClass classCObject;

    CObject() = default;
    CObject(const CObject&) = delete;
    CObject& operator=(const CObject&) = delete;
    virtual ~CObject() = default;

    virtual const CRuntimeClass* GetRuntimeClass() const;
    BOOL IsKindOf(const CRuntimeClass* pClass) const;

    // Checks the object's invariants; reports a broken one through _assert.
    virtual void AssertValid() const;
    // Writes "a <class name> at <address>" and, in derived classes, their fields.
    virtual void Dump(CDumpContext& dc) const;
};

// Diagnostic output. A context made with a string collects what is written into it; the
// default context writes to standard error.
class CDumpContext {
public:
    CDumpContext() = default;
    explicit CDumpContext(std::string* sink) noexcept : sink_(sink) {}

    CDumpContext& operator<<(LPCSTR text);
    CDumpContext& operator<<(const void* pointer);
    CDumpContext& operator<<(int value);
    CDumpContext& operator<<(UINT value);

private:
    void write(const std::string& text);
    std::string* sink_ = nullptr;
};

// printf-style diagnostic trace, written to standard error.
void AfxTrace(LPCSTR lpszFormat, ...) __attribute__((format(printf, 1, 2)));
#define TRACE AfxTrace

#define ASSERT(expression) \
    ((expression) ? static_cast<void>(0) : _assert(#expression, __FILE__, __LINE__))
#define ASSERT_VALID(pObject) ((pObject)->AssertValid())
