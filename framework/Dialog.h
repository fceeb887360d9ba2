#pragma once

#include "framework/Wnd.h"

// A modal dialog on a dialog template resource, run by its own modal loop.
class CDialog : public CWnd
{
public:
    explicit CDialog(UINT nIDTemplate, CWnd* pParentWnd = nullptr);
    ~CDialog() override;

    // Creates the dialog from its template, runs it until EndDialog and
    // returns EndDialog's value; -1 when the template cannot be created.
    virtual INT_PTR DoModal();
    // Called on WM_INITDIALOG; binds the controls (UpdateData(FALSE)). TRUE:
    // let the system give the focus to the first control.
    virtual BOOL OnInitDialog();
    void EndDialog(int nResult);

    // IsDialogMessage for keyboard and mouse messages of this dialog.
    BOOL PreTranslateMessage(MSG* pMsg) override;
    // Command routing: this dialog's map, then the application's.
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;

    // IDOK: UpdateData(TRUE), then EndDialog(IDOK). IDCANCEL: EndDialog(IDCANCEL).
    virtual void OnOK();
    virtual void OnCancel();

protected:
    LPCSTR m_lpszTemplateName;
    CWnd* m_pParentWnd;

    DECLARE_MESSAGE_MAP()

private:
    INT_PTR RunModalLoop();

    int m_nModalResult = -1;
    bool m_bInModalLoop = false;
    bool m_bContinueModal = false;
};
