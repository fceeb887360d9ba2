#include "framework/ProfileValue.h"

namespace {
// The registry's type of a 32-bit number.
constexpr DWORD TYPE_DWORD = 4;
#ifdef _WIN32
static_assert(TYPE_DWORD == REG_DWORD);
#endif
}  // namespace

UINT AfxProfileIntFromValue(DWORD dwType, const BYTE* pData, size_t cbData, int nDefault)
{
    if (dwType != TYPE_DWORD || cbData != 4 || !pData)
        return (UINT)nDefault;
    return (UINT)pData[0] | (UINT)pData[1] << 8 | (UINT)pData[2] << 16 | (UINT)pData[3] << 24;
}
