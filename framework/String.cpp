#include "framework/String.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <strings.h>

BOOL CString::LoadString(UINT nID)
{
    m_str.clear();
#ifdef _WIN32
    // Strings are looked up in the program's own module, where the program's
    // and the framework's string tables are linked.
    char buffer[256];
    int n = ::LoadStringA(::GetModuleHandleA(nullptr), nID, buffer, (int)sizeof buffer);
    if (n > 0)
        m_str.assign(buffer, (size_t)n);
#else
    (void)nID;
#endif
    return !m_str.empty();
}

void CString::Format(const char* pszFormat, ...)
{
    va_list args;
    va_start(args, pszFormat);
    va_list copy;
    va_copy(copy, args);
    int n = std::vsnprintf(nullptr, 0, pszFormat, copy);
    va_end(copy);
    if (n < 0) {
        m_str.clear();
    } else {
        std::string out((size_t)n + 1, '\0');
        std::vsnprintf(out.data(), out.size(), pszFormat, args);
        out.resize((size_t)n);
        m_str.swap(out);
    }
    va_end(args);
}

CString CString::Left(int nCount) const
{
    if (nCount <= 0)
        return CString();
    return CString(m_str.c_str(), nCount < GetLength() ? nCount : GetLength());
}

int CString::CompareNoCase(const char* psz) const
{
    return ::strcasecmp(m_str.c_str(), psz ? psz : "");
}
