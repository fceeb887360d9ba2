#pragma once

#include "framework/Afx.h"
#include "res/resource.h"

// The About box: name and version, centred over the main window.
class CAboutDlg : public CDialog
{
public:
    enum { IDD = IDD_ABOUTBOX };

    CAboutDlg();

protected:
    BOOL OnInitDialog() override;
};
