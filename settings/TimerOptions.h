#pragma once

#include <functional>

#include "framework/Dialog.h"

// The modal dialog in which the user picks the global hot key from "None" and F2 ... F12.
class CTimerOptions : public CDialog
{
public:
    explicit CTimerOptions(CWnd* pParentWnd = nullptr);

    BOOL OnInitDialog() override;
    // Takes the chosen entry; see ChosenIndex.
    void OnOK() override;

    // The hot-key index: set by the caller before DoModal, read after IDOK.
    int m_nHotKeyIndex;
    // Called by OK with the chosen index before the dialog closes: FALSE when that key could not
    // be registered, and the dialog then says so and stays open. Unset, every choice is taken.
    std::function<BOOL(int)> m_fnApplyHotKey;

private:
    // The selected entry; with none selected, the entry whose text was typed into the edit
    // field; else the index the dialog was given, so a stray edit never drops the hot key.
    int ChosenIndex() const;
};
