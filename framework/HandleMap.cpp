#include "framework/HandleMap.h"

#include <vector>

namespace {
struct TempMap {
    void (*pfnDeleteAll)();
    size_t (*pfnCount)();
};

std::vector<TempMap>& TempMaps()
{
    static auto* maps = new std::vector<TempMap>;
    return *maps;
}

// Handlers and dispatches of the one UI thread now on the stack.
int s_nTempMapLock = 0;
}  // namespace

void AfxRegisterTempMap(void (*pfnDeleteAll)(), size_t (*pfnCount)())
{
    TempMaps().push_back({pfnDeleteAll, pfnCount});
}

void AfxDeleteTempObjects()
{
    for (const TempMap& map : TempMaps())
        map.pfnDeleteAll();
}

void AfxLockTempMaps()
{
    ++s_nTempMapLock;
}

BOOL AfxUnlockTempMaps(BOOL bDeleteTemps)
{
    if (s_nTempMapLock > 0)
        --s_nTempMapLock;
    if (s_nTempMapLock != 0 || !bDeleteTemps)
        return FALSE;
    AfxDeleteTempObjects();
    return TRUE;
}

size_t AfxGetTempObjectCount()
{
    size_t nCount = 0;
    for (const TempMap& map : TempMaps())
        nCount += map.pfnCount();
    return nCount;
}
