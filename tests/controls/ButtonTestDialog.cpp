#include "tests/controls/ButtonTestDialog.h"

#include <gtest/gtest.h>

#include "tests/controls/ButtonTestRes.h"

namespace {
const UINT kRunStep = WM_APP + 1;
const int kIds[6] = {IDC_TEST_FIRST, IDC_TEST_SECOND,    IDC_TEST_DEFAULT,
                     IDC_TEST_CHECK, IDC_TEST_OWNERDRAW, IDC_TEST_PLAIN};
}  // namespace

const RECT CButtonTestDialog::kButtonRects[6] = {
    {10, 10, 90, 34}, {100, 10, 180, 34}, {190, 10, 270, 34},
    {10, 44, 90, 68}, {100, 44, 180, 68}, {190, 44, 270, 68},
};

BEGIN_MESSAGE_MAP(CButtonTestDialog, CDialog)
    ON_MESSAGE(kRunStep, &CButtonTestDialog::OnRunStep)
    ON_MESSAGE(kMenuNotify, &CButtonTestDialog::OnMenuNotify)
    ON_MESSAGE(WM_ERASEBKGND, &CButtonTestDialog::OnEraseBkgnd)
END_MESSAGE_MAP()

CButtonTestDialog::CButtonTestDialog(std::vector<Step> steps) : CDialog(IDD_BUTTON_TEST), m_steps(std::move(steps))
{
}

INT_PTR CButtonTestDialog::Run(std::vector<Step> steps)
{
    CButtonTestDialog dialog(std::move(steps));
    const INT_PTR result = dialog.DoModal();
    // A dialog that never ran would let every step pass unseen.
    EXPECT_EQ(IDOK, result);
    if (!::testing::Test::HasFatalFailure()) {
        EXPECT_EQ(dialog.m_steps.size(), dialog.m_nextStep) << "steps run";
    }
    return result;
}

CIconButtonProbe& CButtonTestDialog::Button(int index)
{
    CIconButtonProbe* buttons[5] = {&m_first, &m_second, &m_default, &m_check, &m_ownerDraw};
    return *buttons[index];
}

HWND CButtonTestDialog::Plain() const
{
    return ::GetDlgItem(m_hWnd, IDC_TEST_PLAIN);
}

void CButtonTestDialog::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    for (int i = 0; i < 5; ++i)
        DDX_Control(pDX, kIds[i], Button(i));
}

BOOL CButtonTestDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    // Pixel-exact places, on top of everything, so WindowFromPoint finds them.
    ::SetWindowPos(m_hWnd, HWND_TOPMOST, 40, 40, 320, 140, SWP_SHOWWINDOW);
    for (int i = 0; i < 6; ++i) {
        const RECT& r = kButtonRects[i];
        ::MoveWindow(::GetDlgItem(m_hWnd, kIds[i]), r.left, r.top, r.right - r.left, r.bottom - r.top, TRUE);
    }
    PostMessage(kRunStep);
    return TRUE;
}

BOOL CButtonTestDialog::OnCmdMsg(UINT nID, int nCode, void* pExtra, void* pHandlerInfo)
{
    m_commands.push_back({nID, nCode, ::GetFocus()});
    return CDialog::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

LRESULT CButtonTestDialog::OnRunStep(WPARAM, LPARAM)
{
    if (m_nextStep < m_steps.size()) {
        m_steps[m_nextStep++](*this);
        if (!::testing::Test::HasFatalFailure()) {
            PostMessage(kRunStep);
            return 0;
        }
    }
    EndDialog(IDOK);
    return 0;
}

LRESULT CButtonTestDialog::OnMenuNotify(WPARAM wParam, LPARAM lParam)
{
    m_menuNotifies.emplace_back(wParam, lParam);
    return 0;
}

LRESULT CButtonTestDialog::OnEraseBkgnd(WPARAM wParam, LPARAM lParam)
{
    if (!m_background)
        return Default();
    (void)lParam;
    RECT client;
    GetClientRect(&client);
    ::FillRect((HDC)wParam, &client, m_background);
    return TRUE;
}
