#pragma once

#include "framework/DC.h"

class CWnd;

// A window's client-area DC: GetDC on construction, ReleaseDC on destruction.
class CClientDC : public CDC
{
public:
    explicit CClientDC(CWnd* pWnd);
    ~CClientDC() override;

protected:
    HWND m_hWnd;
};
