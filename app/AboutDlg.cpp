#include "app/AboutDlg.h"

CAboutDlg::CAboutDlg() : CDialog(IDD, nullptr)
{
}

BOOL CAboutDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    CenterWindow();
    return TRUE;
}
