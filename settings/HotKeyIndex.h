#pragma once

#include "framework/String.h"
#include "framework/WinTypes.h"

// The global hot key's index: 0 none, 1 ... 11 for F2 ... F12, negative when never chosen.
class CHotKeyIndex
{
public:
    // Stored when nothing was ever saved.
    static constexpr int UNSET = -1;
    static constexpr int NONE = 0;
    // What an unset index becomes: F2.
    static constexpr int FIRST_KEY = 1;
    // The options list: "None" and F2 ... F12, in index order.
    static constexpr int ENTRY_COUNT = 12;

    // The index the main window starts with, from the stored one.
    static int Initial(int nStored) { return nStored < 0 ? FIRST_KEY : nStored; }
    // Whether an index names a key to register.
    static BOOL HasKey(int nIndex) { return nIndex > 0; }
    // Virtual-key code of the index's function key (VK_F1 + index). Computed unsigned, so
    // an index stored by hand near INT_MAX wraps instead of overflowing.
    static UINT VirtualKey(int nIndex) { return (UINT)nIndex + 112u; }

    // Text of list entry nIndex: "None", "F2" ... "F12"; empty outside the list.
    static CString EntryText(int nIndex);
    // The entry whose text equals pszText, ignoring case; -1 when none does.
    static int FindEntry(const char* pszText);
};
