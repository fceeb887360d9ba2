#include "settings/HotKeyIndex.h"

CString CHotKeyIndex::EntryText(int nIndex)
{
    CString strText;
    if (nIndex == NONE)
        strText = "None";
    else if (nIndex > NONE && nIndex < ENTRY_COUNT)
        strText.Format("F%d", nIndex + 1);
    return strText;
}

int CHotKeyIndex::FindEntry(const char* pszText)
{
    if (!pszText)
        return -1;
    for (int nIndex = 0; nIndex < ENTRY_COUNT; ++nIndex) {
        if (EntryText(nIndex).CompareNoCase(pszText) == 0)
            return nIndex;
    }
    return -1;
}
