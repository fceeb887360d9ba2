// The stored hot key as the registry may hold it, edited by hand or by another program: any
// type and any size, read as the profile reads it and turned into the key the window registers.
//
// Input: the registry type (four bytes, little-endian), then the value's bytes.
#include <string>

#include "framework/ProfileValue.h"
#include "settings/HotKeyIndex.h"
#include "tests/fuzz/FuzzCheck.h"

namespace {
constexpr DWORD TYPE_DWORD = 4;

DWORD LittleEndian(const uint8_t* p)
{
    return (DWORD)p[0] | (DWORD)p[1] << 8 | (DWORD)p[2] << 16 | (DWORD)p[3] << 24;
}
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 4)
        return 0;
    const DWORD dwType = LittleEndian(data);
    const uint8_t* pValue = data + 4;
    const size_t cbValue = size - 4;

    const int nStored = (int)AfxProfileIntFromValue(dwType, pValue, cbValue, CHotKeyIndex::UNSET);
    if (dwType == TYPE_DWORD && cbValue == 4)
        FUZZ_CHECK((DWORD)nStored == LittleEndian(pValue));
    else
        FUZZ_CHECK(nStored == CHotKeyIndex::UNSET);

    const int nIndex = CHotKeyIndex::Initial(nStored);
    FUZZ_CHECK(nIndex >= 0);
    FUZZ_CHECK(nStored >= 0 ? nIndex == nStored : nIndex == CHotKeyIndex::FIRST_KEY);
    if (CHotKeyIndex::HasKey(nIndex))
        FUZZ_CHECK(CHotKeyIndex::VirtualKey(nIndex) == (UINT)((uint64_t)nIndex + 112));
    else
        FUZZ_CHECK(nIndex == CHotKeyIndex::NONE);

    // The options list shows it, and finds it again by its text, only when it is in the list.
    const CString strEntry = CHotKeyIndex::EntryText(nIndex);
    if (nIndex < CHotKeyIndex::ENTRY_COUNT)
        FUZZ_CHECK(CHotKeyIndex::FindEntry(strEntry) == nIndex);
    else
        FUZZ_CHECK(strEntry.IsEmpty());

    // Typed text, the value's bytes up to a zero byte, names an entry or none.
    const std::string strTyped((const char*)pValue, cbValue);
    const int nFound = CHotKeyIndex::FindEntry(strTyped.c_str());
    FUZZ_CHECK(nFound >= -1 && nFound < CHotKeyIndex::ENTRY_COUNT);
    if (nFound >= 0)
        FUZZ_CHECK(CHotKeyIndex::EntryText(nFound).CompareNoCase(strTyped.c_str()) == 0);
    return 0;
}
