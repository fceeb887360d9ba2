#pragma once

#include <windows.h>

// Selects a GDI object into a device context for the life of a scope and puts
// back the object that was there before.
class CDCSelection
{
public:
    CDCSelection(HDC hDC, HGDIOBJ hObject);
    ~CDCSelection();
    CDCSelection(const CDCSelection&) = delete;
    CDCSelection& operator=(const CDCSelection&) = delete;

private:
    HDC m_hDC;
    HGDIOBJ m_hOld;
};
