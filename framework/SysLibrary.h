#pragma once

#include <windows.h>

// Libraries of the system directory, and typed look-ups of their functions. A bare name
// ("shell32.dll") would be searched for beside the program first, where a planted copy
// would run inside the program: these take it from the system directory only, and look
// for the library's own imports beside it.

// The library pszName of the system directory, loaded; NULL when it cannot be.
HMODULE AfxLoadSysLibrary(LPCSTR pszName);

// The function pszName of hModule (NULL: none), untyped; NULL when it has none.
void* AfxFindExport(HMODULE hModule, LPCSTR pszName);

// pfn set to the function pszName of hModule, or to NULL; TRUE when found.
template <class Function>
BOOL AfxGetProc(HMODULE hModule, LPCSTR pszName, Function& pfn)
{
    pfn = reinterpret_cast<Function>(AfxFindExport(hModule, pszName));
    return pfn != nullptr;
}

// The address of a user32 function that older systems or Wine may lack; NULL there.
template <class Function>
Function AfxGetUser32Proc(LPCSTR pszName)
{
    return reinterpret_cast<Function>(AfxFindExport(::GetModuleHandleA("user32.dll"), pszName));
}

// A library that is loaded and freed again: it frees what it loaded once, when Free is
// called or it is destroyed. One that must stay mapped for the process's life (its threads
// or objects may outlive every caller) is kept as AfxLoadSysLibrary's handle instead.
class CSysLibrary
{
public:
    constexpr CSysLibrary() = default;
    ~CSysLibrary() { Free(); }
    CSysLibrary(const CSysLibrary&) = delete;
    CSysLibrary& operator=(const CSysLibrary&) = delete;

    // pszName of the system directory.
    BOOL Load(LPCSTR pszName);
    // The library at the full path pszPath.
    BOOL LoadPath(LPCSTR pszPath);
    void Free();

    template <class Function>
    BOOL GetProc(LPCSTR pszName, Function& pfn) const
    {
        return AfxGetProc(m_hModule, pszName, pfn);
    }

    HMODULE m_hModule = nullptr;
};
