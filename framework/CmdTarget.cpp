#include "framework/CmdTarget.h"

const AFX_MSGMAP* PASCAL CCmdTarget::GetThisMessageMap()
{
    static const AFX_MSGMAP_ENTRY entries[] = {{0, 0, 0, 0, nullptr}};
    static const AFX_MSGMAP map = {nullptr, &entries[0]};
    return &map;
}

const AFX_MSGMAP* CCmdTarget::GetMessageMap() const
{
    return GetThisMessageMap();
}

const AFX_MSGMAP_ENTRY* CCmdTarget::FindMapEntry(UINT nMessage, UINT nCode, UINT nID) const
{
    for (const AFX_MSGMAP* map = GetMessageMap(); map; map = map->pfnGetBaseMap ? map->pfnGetBaseMap() : nullptr) {
        for (const AFX_MSGMAP_ENTRY* e = map->lpEntries; e->pfn; ++e) {
            if (e->nMessage == nMessage && e->nCode == nCode && nID >= e->nID && nID <= e->nLastID)
                return e;
        }
    }
    return nullptr;
}

BOOL CCmdTarget::DispatchToMap(UINT nMessage, UINT nCode, UINT nID, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    const AFX_MSGMAP_ENTRY* e = FindMapEntry(nMessage, nCode, nID);
    if (!e)
        return FALSE;
    LRESULT lResult = 0;
    BOOL bHandled = e->pfn(this, wParam, lParam, &lResult);
    if (bHandled && pResult)
        *pResult = lResult;
    return bHandled;
}

BOOL CCmdTarget::OnCmdMsg(UINT nID, int nCode, void*, void*)
{
    return DispatchToMap(WM_COMMAND, (UINT)nCode, nID, 0, 0, nullptr);
}
