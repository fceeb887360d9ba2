#include "framework/HandleMap.h"

#include <vector>

namespace {
std::vector<void (*)()>& TempMaps()
{
    static auto* maps = new std::vector<void (*)()>;
    return *maps;
}
}  // namespace

void AfxRegisterTempMap(void (*pfnDeleteAll)())
{
    TempMaps().push_back(pfnDeleteAll);
}

void AfxDeleteTempObjects()
{
    for (auto pfn : TempMaps())
        pfn();
}
