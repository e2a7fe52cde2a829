// afxmsg_.h: message maps. A map is a static table of entries, each binding a window message or a
// command id to a handler through a small thunk that unpacks wParam and lParam as the message
// defines them; maps chain to the base class's map. Only the ON_ macros this program and the
// layer use; no ON_COMMAND_RANGE, ON_NOTIFY or registered messages.
#pragma once

#include "windows.h"

class CCmdTarget;
class CCmdUI;

// One call through a map: the message with its parameters, the command-UI of an update, and
// the handler's answer.
struct AFX_MSGCALL {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    void* pExtra;
    LRESULT lResult;
};

// Returns FALSE when the handler declined the call (ON_COMMAND_EX), so routing goes on.
using AFX_PMSGTHUNK = BOOL (*)(CCmdTarget* pTarget, AFX_MSGCALL& call);

struct AFX_MSGMAP_ENTRY {
    UINT nMessage;  // WM_COMMAND for command entries
    UINT nCode;     // CN_COMMAND or CN_UPDATE_COMMAND_UI for command entries
    UINT nID;
    UINT nLastID;
    AFX_PMSGTHUNK pfn;  // null ends the table
};

struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();  // null for the root map
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Filled by OnCmdMsg instead of calling, when the caller only asks whether a handler exists.
struct AFX_CMDHANDLERINFO {
    CCmdTarget* pTarget;
    AFX_PMSGTHUNK pfn;
};

constexpr int CN_COMMAND = 0;
constexpr int CN_UPDATE_COMMAND_UI = -1;

#define afx_msg

#define DECLARE_MESSAGE_MAP()                        \
protected:                                           \
    static const AFX_MSGMAP* GetThisMessageMap();    \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
    const AFX_MSGMAP* theClass::GetMessageMap() const { return GetThisMessageMap(); }     \
    const AFX_MSGMAP* theClass::GetThisMessageMap() {                                     \
        using ThisClass [[maybe_unused]] = theClass;                                      \
        using TheBaseClass = baseClass;                                                   \
        static const AFX_MSGMAP_ENTRY messageEntries[] = {

#define END_MESSAGE_MAP()                                                                 \
        {0, 0, 0, 0, nullptr}};                                                           \
        static const AFX_MSGMAP messageMap = {&TheBaseClass::GetThisMessageMap,           \
                                              &messageEntries[0]};                        \
        return &messageMap;                                                               \
    }

// The thunk is a lambda inside the class's own GetThisMessageMap, so it may call protected handlers.
#define AFX_MSG_ENTRY(message, code, firstId, lastId, ...)                                 \
    {message, static_cast<UINT>(code), static_cast<UINT>(firstId), static_cast<UINT>(lastId), \
     [](CCmdTarget* pTarget, [[maybe_unused]] AFX_MSGCALL& call) -> BOOL {               \
         [[maybe_unused]] ThisClass* self = static_cast<ThisClass*>(pTarget);             \
         __VA_ARGS__                                                                      \
     }},

#define AFX_MSG_MOUSE(message, handler) \
    AFX_MSG_ENTRY(message, 0, 0, 0,     \
                  self->handler(static_cast<UINT>(call.wParam),                           \
                                CPoint(GET_X_LPARAM(call.lParam), GET_Y_LPARAM(call.lParam))); \
                  return TRUE;)

#define ON_WM_CREATE()                                                                    \
    AFX_MSG_ENTRY(WM_CREATE, 0, 0, 0,                                                     \
                  call.lResult = self->OnCreate(reinterpret_cast<LPCREATESTRUCT>(call.lParam)); \
                  return TRUE;)
#define ON_WM_DESTROY() AFX_MSG_ENTRY(WM_DESTROY, 0, 0, 0, self->OnDestroy(); return TRUE;)
#define ON_WM_CLOSE() AFX_MSG_ENTRY(WM_CLOSE, 0, 0, 0, self->OnClose(); return TRUE;)
#define ON_WM_PAINT() AFX_MSG_ENTRY(WM_PAINT, 0, 0, 0, self->OnPaint(); return TRUE;)
#define ON_WM_SIZE()                                                                      \
    AFX_MSG_ENTRY(WM_SIZE, 0, 0, 0,                                                       \
                  self->OnSize(static_cast<UINT>(call.wParam),                            \
                               LOWORD(static_cast<UINT_PTR>(call.lParam)),                \
                               HIWORD(static_cast<UINT_PTR>(call.lParam)));               \
                  return TRUE;)
#define ON_WM_SETFOCUS()                                                                  \
    AFX_MSG_ENTRY(WM_SETFOCUS, 0, 0, 0,                                                   \
                  self->OnSetFocus(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam))); \
                  return TRUE;)
#define ON_WM_KILLFOCUS()                                                                 \
    AFX_MSG_ENTRY(WM_KILLFOCUS, 0, 0, 0,                                                  \
                  self->OnKillFocus(CWnd::FromHandle(reinterpret_cast<HWND>(call.wParam))); \
                  return TRUE;)
#define ON_WM_MOUSEMOVE() AFX_MSG_MOUSE(WM_MOUSEMOVE, OnMouseMove)
#define ON_WM_LBUTTONDOWN() AFX_MSG_MOUSE(WM_LBUTTONDOWN, OnLButtonDown)
#define ON_WM_LBUTTONUP() AFX_MSG_MOUSE(WM_LBUTTONUP, OnLButtonUp)
#define ON_WM_LBUTTONDBLCLK() AFX_MSG_MOUSE(WM_LBUTTONDBLCLK, OnLButtonDblClk)
#define ON_WM_RBUTTONDOWN() AFX_MSG_MOUSE(WM_RBUTTONDOWN, OnRButtonDown)
#define ON_WM_RBUTTONUP() AFX_MSG_MOUSE(WM_RBUTTONUP, OnRButtonUp)
#define ON_WM_RBUTTONDBLCLK() AFX_MSG_MOUSE(WM_RBUTTONDBLCLK, OnRButtonDblClk)

// LRESULT handler(WPARAM, LPARAM)
#define ON_MESSAGE(message, memberFxn)                                                   \
    AFX_MSG_ENTRY(message, 0, 0, 0,                                                      \
                  call.lResult = (self->*(memberFxn))(call.wParam, call.lParam); return TRUE;)

// void handler()
#define ON_COMMAND(id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id, (self->*(memberFxn))(); return TRUE;)

// BOOL handler(UINT id): FALSE passes the command on.
#define ON_COMMAND_EX(id, memberFxn) \
    AFX_MSG_ENTRY(WM_COMMAND, CN_COMMAND, id, id,                                        \
                  return (self->*(memberFxn))(static_cast<UINT>(call.wParam));)

// void handler(CCmdUI*)
#define ON_UPDATE_COMMAND_UI(id, memberFxn)                                              \
    AFX_MSG_ENTRY(WM_COMMAND, CN_UPDATE_COMMAND_UI, id, id,                              \
                  (self->*(memberFxn))(static_cast<CCmdUI*>(call.pExtra)); return TRUE;)
