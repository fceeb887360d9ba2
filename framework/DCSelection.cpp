#include "framework/DCSelection.h"

CDCSelection::CDCSelection(HDC hDC, HGDIOBJ hObject)
    : m_hDC(hDC), m_hOld(hDC && hObject ? ::SelectObject(hDC, hObject) : NULL)
{
}

CDCSelection::~CDCSelection()
{
    if (m_hOld)
        ::SelectObject(m_hDC, m_hOld);
}
