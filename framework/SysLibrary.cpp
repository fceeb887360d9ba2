#include "framework/SysLibrary.h"

#include <cstring>

namespace {
// Imports of the library are looked for in its own folder, not beside the program.
HMODULE LoadAt(LPCSTR pszPath)
{
    return ::LoadLibraryExA(pszPath, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
}  // namespace

HMODULE AfxLoadSysLibrary(LPCSTR pszName)
{
    char szPath[MAX_PATH];
    const UINT nLength = ::GetSystemDirectoryA(szPath, MAX_PATH);
    const size_t nName = std::strlen(pszName);
    if (nLength == 0 || nLength + 1 + nName + 1 > MAX_PATH)
        return nullptr;
    szPath[nLength] = '\\';
    std::memcpy(szPath + nLength + 1, pszName, nName + 1);
    return LoadAt(szPath);
}

void* AfxFindExport(HMODULE hModule, LPCSTR pszName)
{
    return hModule ? reinterpret_cast<void*>(::GetProcAddress(hModule, pszName)) : nullptr;
}

BOOL CSysLibrary::Load(LPCSTR pszName)
{
    Free();
    m_hModule = AfxLoadSysLibrary(pszName);
    return m_hModule != nullptr;
}

BOOL CSysLibrary::LoadPath(LPCSTR pszPath)
{
    Free();
    m_hModule = LoadAt(pszPath);
    return m_hModule != nullptr;
}

void CSysLibrary::Free()
{
    if (m_hModule)
        ::FreeLibrary(m_hModule);
    m_hModule = nullptr;
}
