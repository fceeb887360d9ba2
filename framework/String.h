#pragma once

#include <string>

#include "framework/WinTypes.h"

// The compiler checks printf-style arguments against their format.
#ifdef __GNUC__
#define AFX_PRINTF_LIKE(formatArg, firstArg) __attribute__((format(printf, formatArg, firstArg)))
#else
#define AFX_PRINTF_LIKE(formatArg, firstArg)
#endif

// An 8-bit text value with the MFC CString members the program uses.
class CString
{
public:
    CString() = default;
    CString(const char* psz) : m_str(psz ? psz : "") {}
    CString(const char* pch, int nLength) : m_str(pch, pch && nLength > 0 ? (size_t)nLength : 0) {}
    CString(const CString&) = default;
    CString& operator=(const CString&) = default;
    CString& operator=(const char* psz)
    {
        m_str = psz ? psz : "";
        return *this;
    }

    // Loads string resource nID of the program; FALSE (and empty) when there is none.
    BOOL LoadString(UINT nID);
    // printf-style formatting; the result replaces the text.
    void Format(const char* pszFormat, ...) AFX_PRINTF_LIKE(2, 3);

    int GetLength() const { return (int)m_str.size(); }
    BOOL IsEmpty() const { return m_str.empty(); }
    void Empty() { m_str.clear(); }
    operator const char*() const { return m_str.c_str(); }
    const char* GetString() const { return m_str.c_str(); }
    char GetAt(int nIndex) const { return m_str[(size_t)nIndex]; }
    CString Left(int nCount) const;
    int CompareNoCase(const char* psz) const;

    CString& operator+=(const CString& s)
    {
        m_str += s.m_str;
        return *this;
    }
    CString& operator+=(const char* psz)
    {
        if (psz)
            m_str += psz;
        return *this;
    }
    friend CString operator+(const CString& a, const CString& b) { return CString(a) += b; }
    friend CString operator+(const CString& a, const char* b) { return CString(a) += b; }

    friend bool operator==(const CString& a, const char* b) { return a.m_str == (b ? b : ""); }

private:
    std::string m_str;
};
