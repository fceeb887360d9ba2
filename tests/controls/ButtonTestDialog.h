#pragma once

#include <functional>
#include <vector>

#include "framework/Afx.h"
#include "tests/controls/IconButtonProbe.h"

// A dialog of real icon buttons that runs a test's steps one by one inside its
// own modal loop, so that posted input goes through the loop between steps.
class CButtonTestDialog : public CDialog
{
public:
    typedef std::function<void(CButtonTestDialog&)> Step;

    // Sent by the popup-menu test's notification.
    static const UINT kMenuNotify = WM_APP + 7;

    explicit CButtonTestDialog(std::vector<Step> steps);
    // Runs the dialog through all its steps, failing the test if it could not;
    // returns DoModal's result.
    static INT_PTR Run(std::vector<Step> steps);

    CIconButtonProbe& Button(int index);
    HWND Plain() const;

    // Pixel client rectangle of every button.
    static const RECT kButtonRects[6];

    CIconButtonProbe m_first, m_second, m_default, m_check, m_ownerDraw;

    // What reached the dialog: (id, notification code) of each command, and the
    // focus when a BN_CLICKED arrived.
    struct Command {
        UINT id;
        int code;
        HWND focus;
    };
    std::vector<Command> m_commands;
    std::vector<std::pair<WPARAM, LPARAM>> m_menuNotifies;
    // When set, the dialog's background is painted in this brush.
    HBRUSH m_background = NULL;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo) override;
    afx_msg LRESULT OnRunStep(WPARAM, LPARAM);
    afx_msg LRESULT OnMenuNotify(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnEraseBkgnd(WPARAM wParam, LPARAM lParam);

    DECLARE_MESSAGE_MAP()

private:
    std::vector<Step> m_steps;
    size_t m_nextStep = 0;
};
