#include "stopwatch/RondixAccessible.h"

#include "stopwatch/RondixAccessibleInternal.h"
#include "stopwatch/RondixDlg.h"

using RondixAccessibleInternal::MakeBstr;

namespace {

void Empty(BSTR* pbstr)
{
    *pbstr = nullptr;
}

void Empty(VARIANT* pvar)
{
    pvar->vt = VT_EMPTY;
}

void Empty(IDispatch** ppdisp)
{
    *ppdisp = nullptr;
}

HRESULT NoText(BSTR* pbstr)
{
    Empty(pbstr);
    return S_FALSE;
}

void SetChild(VARIANT* pvar, long nChild)
{
    pvar->vt = VT_I4;
    pvar->lVal = nChild;
}

HRESULT NoChild(VARIANT* pvar)
{
    Empty(pvar);
    return S_FALSE;
}

BOOL Inside(const RECT& rc, long x, long y)
{
    return x >= rc.left && x < rc.right && y >= rc.top && y < rc.bottom;
}

}  // namespace

// The elements

long CRondixAccessible::ChildOf(const VARIANT& varChild)
{
    if (varChild.vt != VT_I4 || varChild.lVal < CHILDID_SELF || varChild.lVal > CHILD_COUNT)
        return -1;
    return varChild.lVal;
}

HWND CRondixAccessible::ButtonOf(long nChild) const
{
    if (nChild < CHILD_START_STOP || nChild > CHILD_MORE)
        return nullptr;
    return m_pDlg->Buttons((int)(nChild - CHILD_START_STOP))->m_hWnd;
}

RECT CRondixAccessible::ScreenRect(long nChild) const
{
    RECT rc = {0, 0, 0, 0};
    if (HWND hButton = ButtonOf(nChild)) {
        ::GetWindowRect(hButton, &rc);
        return rc;
    }
    if (nChild == CHILD_READOUT)
        rc = m_pDlg->ReadoutRect();
    else
        ::GetClientRect(m_pDlg->m_hWnd, &rc);
    ::MapWindowPoints(m_pDlg->m_hWnd, nullptr, (POINT*)&rc, 2);
    return rc;
}

// IAccessible: CHILDID_SELF is the client area, answered by the standard object wherever
// Tempik adds nothing; the children are answered here.

template <class T>
HRESULT CRondixAccessible::Opening(T* pAnswer) const
{
    if (!pAnswer)
        return E_POINTER;
    Empty(pAnswer);
    return m_pDlg ? S_OK : RPC_E_DISCONNECTED;
}

template <class T, class Answer>
HRESULT CRondixAccessible::AnswerAlike(VARIANT varChild, T* pAnswer, StandardAnswer<T> pfnStandard, Answer answer)
{
    const long nChild = ChildOf(varChild);
    if (const HRESULT hr = Opening(pAnswer); FAILED(hr))
        return hr;
    if (nChild < 0)
        return E_INVALIDARG;
    if (nChild == CHILDID_SELF)
        return m_pStandard ? (m_pStandard->*pfnStandard)(varChild, pAnswer) : S_FALSE;
    return answer(nChild);
}

template <class Standard, class Act>
HRESULT CRondixAccessible::ActAlike(VARIANT varChild, Standard standard, Act act)
{
    if (!m_pDlg)
        return RPC_E_DISCONNECTED;
    const long nChild = ChildOf(varChild);
    if (nChild < 0)
        return E_INVALIDARG;
    if (nChild == CHILDID_SELF)
        return m_pStandard ? standard(m_pStandard.p) : DISP_E_MEMBERNOTFOUND;
    HWND hButton = ButtonOf(nChild);
    return hButton ? act(hButton) : DISP_E_MEMBERNOTFOUND;
}

STDMETHODIMP CRondixAccessible::get_accParent(IDispatch** ppdispParent)
{
    if (const HRESULT hr = Opening(ppdispParent); FAILED(hr))
        return hr;
    return m_pStandard ? m_pStandard->get_accParent(ppdispParent) : S_FALSE;
}

STDMETHODIMP CRondixAccessible::get_accChildCount(long* pcountChildren)
{
    if (!pcountChildren)
        return E_POINTER;
    if (!m_pDlg)
        return RPC_E_DISCONNECTED;
    *pcountChildren = CHILD_COUNT;
    return S_OK;
}

STDMETHODIMP CRondixAccessible::get_accChild(VARIANT varChild, IDispatch** ppdispChild)
{
    if (const HRESULT hr = Opening(ppdispChild); FAILED(hr))
        return hr;
    // Simple elements: they have no objects of their own, the client asks this one.
    return ChildOf(varChild) > CHILDID_SELF ? S_FALSE : E_INVALIDARG;
}

STDMETHODIMP CRondixAccessible::get_accName(VARIANT varChild, BSTR* pszName)
{
    return AnswerAlike(varChild, pszName, &IAccessible::get_accName, [&](long nChild) {
        if (nChild == CHILD_READOUT) {
            CString strName;
            strName.LoadString(IDS_ELAPSED_TIME);
            return MakeBstr(strName, pszName);
        }
        // The caption as shown: "Start" or "Stop", "Reset", "More".
        char szCaption[64] = "";
        ::GetWindowTextA(ButtonOf(nChild), szCaption, sizeof szCaption);
        return MakeBstr(szCaption, pszName);
    });
}

STDMETHODIMP CRondixAccessible::get_accValue(VARIANT varChild, BSTR* pszValue)
{
    return AnswerAlike(varChild, pszValue, &IAccessible::get_accValue, [&](long nChild) {
        // The text the readout shows this moment, the same the next paint draws.
        return nChild == CHILD_READOUT ? MakeBstr(m_pDlg->m_strReadout, pszValue) : NoText(pszValue);
    });
}

STDMETHODIMP CRondixAccessible::get_accDescription(VARIANT varChild, BSTR* pszDescription)
{
    return AnswerAlike(varChild, pszDescription, &IAccessible::get_accDescription, [&](long nChild) {
        if (nChild == CHILD_READOUT)
            return NoText(pszDescription);
        return MakeBstr(m_pDlg->Buttons((int)(nChild - CHILD_START_STOP))->GetTipText(), pszDescription);
    });
}

STDMETHODIMP CRondixAccessible::get_accRole(VARIANT varChild, VARIANT* pvarRole)
{
    return AnswerAlike(varChild, pvarRole, &IAccessible::get_accRole, [&](long nChild) {
        // A clock rather than static text: readers speak a clock's value with its name, where
        // static text's name is taken for its content and the time would go unread.
        SetChild(pvarRole, nChild == CHILD_READOUT ? ROLE_SYSTEM_CLOCK : ROLE_SYSTEM_PUSHBUTTON);
        return S_OK;
    });
}

STDMETHODIMP CRondixAccessible::get_accState(VARIANT varChild, VARIANT* pvarState)
{
    return AnswerAlike(varChild, pvarState, &IAccessible::get_accState, [&](long nChild) {
        long nState = 0;
        if (!::IsWindowVisible(m_pDlg->m_hWnd))
            nState |= STATE_SYSTEM_INVISIBLE;
        if (HWND hButton = ButtonOf(nChild)) {
            if (!::IsWindowVisible(hButton))
                nState |= STATE_SYSTEM_INVISIBLE;
            if (!::IsWindowEnabled(hButton))
                nState |= STATE_SYSTEM_UNAVAILABLE;
            else if (!(nState & STATE_SYSTEM_INVISIBLE))
                nState |= STATE_SYSTEM_FOCUSABLE;
            if (::GetFocus() == hButton)
                nState |= STATE_SYSTEM_FOCUSED;
            if (::SendMessageA(hButton, BM_GETSTATE, 0, 0) & BST_PUSHED)
                nState |= STATE_SYSTEM_PRESSED;
            POINT pt;
            if (::GetCursorPos(&pt) && ::WindowFromPoint(pt) == hButton)
                nState |= STATE_SYSTEM_HOTTRACKED;
        } else {
            nState |= STATE_SYSTEM_READONLY;
        }
        SetChild(pvarState, nState);
        return S_OK;
    });
}

STDMETHODIMP CRondixAccessible::get_accHelp(VARIANT varChild, BSTR* pszHelp)
{
    return AnswerAlike(varChild, pszHelp, &IAccessible::get_accHelp, [&](long) { return NoText(pszHelp); });
}

STDMETHODIMP CRondixAccessible::get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic)
{
    if (!pszHelpFile || !pidTopic)
        return E_POINTER;
    *pszHelpFile = nullptr;
    *pidTopic = 0;
    if (!m_pDlg)
        return RPC_E_DISCONNECTED;
    return ChildOf(varChild) < 0 ? E_INVALIDARG : S_FALSE;
}

STDMETHODIMP CRondixAccessible::get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut)
{
    return AnswerAlike(varChild, pszKeyboardShortcut, &IAccessible::get_accKeyboardShortcut, [&](long) {
        // The captions have no mnemonics.
        return NoText(pszKeyboardShortcut);
    });
}

STDMETHODIMP CRondixAccessible::get_accFocus(VARIANT* pvarChild)
{
    if (const HRESULT hr = Opening(pvarChild); FAILED(hr))
        return hr;
    const HWND hFocus = ::GetFocus();
    for (long nChild = CHILD_START_STOP; nChild <= CHILD_MORE; ++nChild)
        if (ButtonOf(nChild) == hFocus) {
            SetChild(pvarChild, nChild);
            return S_OK;
        }
    if (hFocus == m_pDlg->m_hWnd) {
        SetChild(pvarChild, CHILDID_SELF);
        return S_OK;
    }
    return NoChild(pvarChild);
}

STDMETHODIMP CRondixAccessible::get_accSelection(VARIANT* pvarChildren)
{
    if (const HRESULT hr = Opening(pvarChildren); FAILED(hr))
        return hr;
    // Nothing here can be selected.
    return S_FALSE;
}

STDMETHODIMP CRondixAccessible::get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction)
{
    return AnswerAlike(varChild, pszDefaultAction, &IAccessible::get_accDefaultAction, [&](long nChild) {
        return ButtonOf(nChild) ? MakeBstr("Press", pszDefaultAction) : NoText(pszDefaultAction);
    });
}

STDMETHODIMP CRondixAccessible::accSelect(long flagsSelect, VARIANT varChild)
{
    return ActAlike(
        varChild, [&](IAccessible* pStandard) { return pStandard->accSelect(flagsSelect, varChild); },
        [&](HWND hButton) {
            // A button can take the focus, as Tab gives it; nothing can be selected.
            if (flagsSelect != SELFLAG_TAKEFOCUS)
                return DISP_E_MEMBERNOTFOUND;
            ::SetFocus(hButton);
            return S_OK;
        });
}

STDMETHODIMP CRondixAccessible::accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight,
                                            VARIANT varChild)
{
    if (!pxLeft || !pyTop || !pcxWidth || !pcyHeight)
        return E_POINTER;
    *pxLeft = *pyTop = *pcxWidth = *pcyHeight = 0;
    if (!m_pDlg)
        return RPC_E_DISCONNECTED;
    const long nChild = ChildOf(varChild);
    if (nChild < 0)
        return E_INVALIDARG;
    if (nChild == CHILDID_SELF && m_pStandard)
        return m_pStandard->accLocation(pxLeft, pyTop, pcxWidth, pcyHeight, varChild);
    const RECT rc = ScreenRect(nChild);
    *pxLeft = rc.left;
    *pyTop = rc.top;
    *pcxWidth = rc.right - rc.left;
    *pcyHeight = rc.bottom - rc.top;
    return S_OK;
}

STDMETHODIMP CRondixAccessible::accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt)
{
    if (const HRESULT hr = Opening(pvarEndUpAt); FAILED(hr))
        return hr;
    const long nStart = ChildOf(varStart);
    if (nStart < 0)
        return E_INVALIDARG;
    if (nStart == CHILDID_SELF) {
        if (navDir == NAVDIR_FIRSTCHILD || navDir == NAVDIR_LASTCHILD) {
            SetChild(pvarEndUpAt, navDir == NAVDIR_FIRSTCHILD ? CHILD_READOUT : CHILD_COUNT);
            return S_OK;
        }
        // The client's siblings are the window's parts, which the system knows.
        return m_pStandard ? m_pStandard->accNavigate(navDir, varStart, pvarEndUpAt) : S_FALSE;
    }
    // The readout spans the top; the buttons sit in a row under it, left to right.
    long nEnd = 0;
    switch (navDir) {
    case NAVDIR_NEXT:
        nEnd = nStart + 1;
        break;
    case NAVDIR_PREVIOUS:
        nEnd = nStart - 1;
        break;
    case NAVDIR_DOWN:
        nEnd = nStart == CHILD_READOUT ? CHILD_START_STOP : 0;
        break;
    case NAVDIR_UP:
        nEnd = nStart == CHILD_READOUT ? 0 : CHILD_READOUT;
        break;
    case NAVDIR_RIGHT:
        nEnd = nStart == CHILD_READOUT ? 0 : nStart + 1;
        break;
    case NAVDIR_LEFT:
        nEnd = nStart <= CHILD_START_STOP ? 0 : nStart - 1;
        break;
    default:
        // A simple element has no children.
        return E_INVALIDARG;
    }
    if (nEnd < CHILD_READOUT || nEnd > CHILD_COUNT)
        return NoChild(pvarEndUpAt);
    SetChild(pvarEndUpAt, nEnd);
    return S_OK;
}

STDMETHODIMP CRondixAccessible::accHitTest(long xLeft, long yTop, VARIANT* pvarChild)
{
    if (const HRESULT hr = Opening(pvarChild); FAILED(hr))
        return hr;
    if (!Inside(ScreenRect(CHILDID_SELF), xLeft, yTop))
        return NoChild(pvarChild);
    long nHit = CHILDID_SELF;
    for (long nChild = CHILD_READOUT; nChild <= CHILD_COUNT; ++nChild)
        if (Inside(ScreenRect(nChild), xLeft, yTop))
            nHit = nChild;
    SetChild(pvarChild, nHit);
    return S_OK;
}

STDMETHODIMP CRondixAccessible::accDoDefaultAction(VARIANT varChild)
{
    return ActAlike(
        varChild, [&](IAccessible* pStandard) { return pStandard->accDoDefaultAction(varChild); },
        [](HWND hButton) {
            // Posted: the click may open the menu, whose loop must not run inside the client's call.
            return ::PostMessageA(hButton, BM_CLICK, 0, 0) ? S_OK : E_FAIL;
        });
}

STDMETHODIMP CRondixAccessible::put_accName(VARIANT, BSTR)
{
    return m_pDlg ? E_NOTIMPL : RPC_E_DISCONNECTED;
}

STDMETHODIMP CRondixAccessible::put_accValue(VARIANT, BSTR)
{
    return m_pDlg ? E_NOTIMPL : RPC_E_DISCONNECTED;
}
