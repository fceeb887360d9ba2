#include "settings/TimerOptions.h"

#include "res/resource.h"
#include "settings/HotKeyIndex.h"

// m_nHotKeyIndex is left for the caller to set.
CTimerOptions::CTimerOptions(CWnd* pParentWnd) : CDialog(IDD_TIMER_OPTIONS, pParentWnd)
{
}

BOOL CTimerOptions::OnInitDialog()
{
    CDialog::OnInitDialog();
    // The list is not sorted, so an entry's position is its hot-key index.
    for (int nIndex = 0; nIndex < CHotKeyIndex::ENTRY_COUNT; ++nIndex) {
        CString strEntry = CHotKeyIndex::EntryText(nIndex);
        SendDlgItemMessage(IDC_HOTKEY_LIST, CB_ADDSTRING, 0, (LPARAM)strEntry.GetString());
    }
    // An index outside the list leaves nothing selected.
    SendDlgItemMessage(IDC_HOTKEY_LIST, CB_SETCURSEL, (WPARAM)(INT_PTR)m_nHotKeyIndex);
    return TRUE;
}

void CTimerOptions::OnOK()
{
    const int nChosen = ChosenIndex();
    // Another program may hold the key: closing as if all were well would leave no hot key at all.
    if (m_fnApplyHotKey && !m_fnApplyHotKey(nChosen)) {
        CString strMessage = CHotKeyIndex::EntryText(nChosen);
        strMessage += " is already used by another program. Choose another key, or None.";
        CString strTitle;
        GetWindowText(strTitle);
        ::MessageBoxA(m_hWnd, strMessage, strTitle, MB_OK | MB_ICONWARNING);
        return;
    }
    m_nHotKeyIndex = nChosen;
    CDialog::OnOK();
}

int CTimerOptions::ChosenIndex() const
{
    LRESULT nSelected = SendDlgItemMessage(IDC_HOTKEY_LIST, CB_GETCURSEL);
    if (nSelected != CB_ERR)
        return (int)nSelected;
    CString strTyped;
    if (CWnd* pList = GetDlgItem(IDC_HOTKEY_LIST))
        pList->GetWindowText(strTyped);
    int nTyped = CHotKeyIndex::FindEntry(strTyped);
    return nTyped >= 0 ? nTyped : m_nHotKeyIndex;
}
