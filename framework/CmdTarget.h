#pragma once

#include <windows.h>

class CCmdTarget;

#ifndef afx_msg
#define afx_msg  // marks a message-map handler
#endif

// Messages that a parent reflects back to a child's own map are entered as
// WM_REFLECT_BASE + the message; WM_CTLCOLOR stands for every WM_CTLCOLOR*.
#define WM_REFLECT_BASE 0xBC00
#define WM_CTLCOLOR 0x0019
// Notification code of a menu or accelerator command.
#define CN_COMMAND 0

// Calls one handler with the raw message; TRUE when the message is handled.
typedef BOOL (*AFX_PMSG)(CCmdTarget* pTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult);

// One entry of a static message map. Window messages have nCode 0 and nID 0;
// commands are WM_COMMAND with a notification code and an id range.
struct AFX_MSGMAP_ENTRY {
    UINT nMessage;
    UINT nCode;
    UINT nID;
    UINT nLastID;
    AFX_PMSG pfn;
};

// A class's message map and the way to its base class's map.
struct AFX_MSGMAP {
    const AFX_MSGMAP* (*pfnGetBaseMap)();
    const AFX_MSGMAP_ENTRY* lpEntries;
};

// Handlers are named as pointers to members, as MFC's wizards write them:
// ON_COMMAND(ID_X, &CMyDlg::OnX). The ON_WM_* entries call the fixed names.
// Not for clang-format: the map's braces open in one macro and close in another,
// and it takes an entry's braced initializer for a block.
// clang-format off
#define DECLARE_MESSAGE_MAP()                                    \
protected:                                                       \
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();         \
    const AFX_MSGMAP* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                             \
    const AFX_MSGMAP* theClass::GetMessageMap() const                      \
    {                                                                      \
        return GetThisMessageMap();                                        \
    }                                                                      \
    const AFX_MSGMAP* PASCAL theClass::GetThisMessageMap()                 \
    {                                                                      \
        using ThisClass [[maybe_unused]] = theClass;                       \
        typedef baseClass TheBaseClass;                                    \
        static const AFX_MSGMAP_ENTRY _messageEntries[] = {

#define END_MESSAGE_MAP()                                                  \
        { 0, 0, 0, 0, nullptr } };                                         \
        static const AFX_MSGMAP messageMap = { &TheBaseClass::GetThisMessageMap, \
                                               &_messageEntries[0] };      \
        return &messageMap;                                                \
    }

// The body of an entry: a captureless function that decodes the message and
// calls the handler on the object as ThisClass. The statements see pThis,
// wParam, lParam and pResult, and must return TRUE when the message is handled.
#define AFX_MSG_THUNK(...)                                                           \
    [](CCmdTarget* pAfxTarget, WPARAM wParam, LPARAM lParam, LRESULT* pResult) -> BOOL { \
        ThisClass* pThis = static_cast<ThisClass*>(pAfxTarget);                      \
        (void)pThis;                                                                 \
        (void)wParam;                                                                \
        (void)lParam;                                                                \
        (void)pResult;                                                               \
        __VA_ARGS__                                                                  \
    }

// void fn(): a menu command, accelerator or BN_CLICKED (code 0) of control id.
#define ON_COMMAND(id, memberFxn)                                                   \
    { WM_COMMAND, CN_COMMAND, (UINT)(id), (UINT)(id),                               \
      AFX_MSG_THUNK((pThis->*(memberFxn))(); return TRUE;) },

// void fn(): a notification code from control id.
#define ON_CONTROL(wNotifyCode, id, memberFxn)                                      \
    { WM_COMMAND, (UINT)(wNotifyCode), (UINT)(id), (UINT)(id),                      \
      AFX_MSG_THUNK((pThis->*(memberFxn))(); return TRUE;) },

#define ON_BN_CLICKED(id, memberFxn) ON_CONTROL(BN_CLICKED, id, memberFxn)

// LRESULT fn(WPARAM, LPARAM): any message, undecoded.
#define ON_MESSAGE(message, memberFxn)                                              \
    { (UINT)(message), 0, 0, 0,                                                     \
      AFX_MSG_THUNK(*pResult = (pThis->*(memberFxn))(wParam, lParam); return TRUE;) },

// BOOL fn(): the child's own notification, reflected back from its parent's
// WM_COMMAND. TRUE stops it there; FALSE lets the parent's map handle it too.
#define ON_CONTROL_REFLECT_EX(wNotifyCode, memberFxn)                               \
    { WM_REFLECT_BASE + WM_COMMAND, (UINT)(wNotifyCode), 0, 0,                      \
      AFX_MSG_THUNK(return (pThis->*(memberFxn))() ? TRUE : FALSE;) },
// clang-format on

// Receives commands through a static message map (base of windows and the app).
class CCmdTarget
{
public:
    CCmdTarget() = default;
    virtual ~CCmdTarget() = default;
    CCmdTarget(const CCmdTarget&) = delete;
    CCmdTarget& operator=(const CCmdTarget&) = delete;

    // Runs the map's handler for command nID with notification nCode; FALSE
    // when no entry matches. pExtra and pHandlerInfo are not used.
    virtual BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo);

    // Finds the first entry for (message, code, id) in this object's map and
    // then its base maps, and runs it. FALSE when no entry matches, or when the
    // matching handler declined the message (an _EX handler returning FALSE).
    BOOL DispatchToMap(UINT nMessage, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult);
    // The first entry of the map chain that matches, or NULL.
    const AFX_MSGMAP_ENTRY* FindMapEntry(UINT nMessage, UINT nCode, UINT nID) const;

protected:
    static const AFX_MSGMAP* PASCAL GetThisMessageMap();
    virtual const AFX_MSGMAP* GetMessageMap() const;
};
