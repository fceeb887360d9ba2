#pragma once

#include <ole2.h>
#include <oleacc.h>

#include "framework/ComPtr.h"
#include "framework/WinTypes.h"

class CRondixDlg;

// The main window's client area as a screen reader sees it: the readout and the three
// buttons as simple elements, children 1 to 4, read from the window whenever asked.
// What the client object itself is (its name, parent, frame) comes from the system's
// standard client object. oleacc, ole32 and oleaut32 are loaded on the first request.
class CRondixAccessible final : public IAccessible
{
public:
    enum { CHILD_READOUT = 1, CHILD_START_STOP, CHILD_RESET, CHILD_MORE, CHILD_COUNT = CHILD_MORE };

    // The object for a WM_GETOBJECT of dlg's client area, or NULL when the accessibility
    // libraries cannot be loaded. The caller owns the reference it returns.
    static CRondixAccessible* Create(CRondixDlg& dlg);
    // WM_GETOBJECT's answer: the object marshalled for the asking client.
    LRESULT Serve(WPARAM wParam);
    // The window is going: clients still holding the object get RPC_E_DISCONNECTED from
    // now on; the system's client object and the apartment Create started are let go.
    void Disconnect();

    // IUnknown
    STDMETHODIMP QueryInterface(REFIID riid, void** ppv) override;
    STDMETHODIMP_(ULONG) AddRef() override;
    STDMETHODIMP_(ULONG) Release() override;

    // IDispatch: no type information; clients call IAccessible directly.
    STDMETHODIMP GetTypeInfoCount(UINT* pctinfo) override;
    STDMETHODIMP GetTypeInfo(UINT iTInfo, LCID lcid, ITypeInfo** ppTInfo) override;
    STDMETHODIMP GetIDsOfNames(REFIID riid, LPOLESTR* rgszNames, UINT cNames, LCID lcid, DISPID* rgDispId) override;
    STDMETHODIMP Invoke(DISPID dispIdMember, REFIID riid, LCID lcid, WORD wFlags, DISPPARAMS* pDispParams,
                        VARIANT* pVarResult, EXCEPINFO* pExcepInfo, UINT* puArgErr) override;

    // IAccessible
    STDMETHODIMP get_accParent(IDispatch** ppdispParent) override;
    STDMETHODIMP get_accChildCount(long* pcountChildren) override;
    STDMETHODIMP get_accChild(VARIANT varChild, IDispatch** ppdispChild) override;
    STDMETHODIMP get_accName(VARIANT varChild, BSTR* pszName) override;
    STDMETHODIMP get_accValue(VARIANT varChild, BSTR* pszValue) override;
    STDMETHODIMP get_accDescription(VARIANT varChild, BSTR* pszDescription) override;
    STDMETHODIMP get_accRole(VARIANT varChild, VARIANT* pvarRole) override;
    STDMETHODIMP get_accState(VARIANT varChild, VARIANT* pvarState) override;
    STDMETHODIMP get_accHelp(VARIANT varChild, BSTR* pszHelp) override;
    STDMETHODIMP get_accHelpTopic(BSTR* pszHelpFile, VARIANT varChild, long* pidTopic) override;
    STDMETHODIMP get_accKeyboardShortcut(VARIANT varChild, BSTR* pszKeyboardShortcut) override;
    STDMETHODIMP get_accFocus(VARIANT* pvarChild) override;
    STDMETHODIMP get_accSelection(VARIANT* pvarChildren) override;
    STDMETHODIMP get_accDefaultAction(VARIANT varChild, BSTR* pszDefaultAction) override;
    STDMETHODIMP accSelect(long flagsSelect, VARIANT varChild) override;
    STDMETHODIMP accLocation(long* pxLeft, long* pyTop, long* pcxWidth, long* pcyHeight, VARIANT varChild) override;
    STDMETHODIMP accNavigate(long navDir, VARIANT varStart, VARIANT* pvarEndUpAt) override;
    STDMETHODIMP accHitTest(long xLeft, long yTop, VARIANT* pvarChild) override;
    STDMETHODIMP accDoDefaultAction(VARIANT varChild) override;
    STDMETHODIMP put_accName(VARIANT varChild, BSTR szName) override;
    STDMETHODIMP put_accValue(VARIANT varChild, BSTR szValue) override;

private:
    CRondixAccessible(CRondixDlg& dlg, BOOL bComStarted);
    ~CRondixAccessible() = default;
    CRondixAccessible(const CRondixAccessible&) = delete;
    CRondixAccessible& operator=(const CRondixAccessible&) = delete;

    // The child a VARIANT names: CHILDID_SELF, 1 to CHILD_COUNT, or -1 when it names none.
    static long ChildOf(const VARIANT& varChild);
    // The button of a child id, NULL for the readout and the client itself.
    HWND ButtonOf(long nChild) const;
    // The child's rectangle on the screen.
    RECT ScreenRect(long nChild) const;
    // What every question answers alike first: E_POINTER with no place for the answer, else the
    // answer cleared, and RPC_E_DISCONNECTED once the window is gone; S_OK leaves it to the caller.
    template <class T>
    HRESULT Opening(T* pAnswer) const;
    // What every property of a child answers alike: a bad pointer or child, a disconnected object,
    // and for the window itself the standard client object's answer. The rest is answer(nChild)
    // for child nChild (1 or more), with *pAnswer cleared (a BSTR or a VARIANT).
    template <class T>
    using StandardAnswer = HRESULT (STDMETHODCALLTYPE IAccessible::*)(VARIANT, T*);
    template <class T, class Answer>
    HRESULT AnswerAlike(VARIANT varChild, T* pAnswer, StandardAnswer<T> pfnStandard, Answer answer);
    // What every action answers alike: a disconnected object or a bad child; on the window
    // itself the standard object's standard(pStandard); on a button act(hButton). The
    // readout has no actions.
    template <class Standard, class Act>
    HRESULT ActAlike(VARIANT varChild, Standard standard, Act act);

    LONG m_nRefs;
    // Cleared by Disconnect; every call checks it before it touches the window.
    CRondixDlg* m_pDlg;
    // The system's client object of the same window, held until Disconnect.
    CComPtr<IAccessible> m_pStandard;
    // COM was started for this thread by Create, and is ended by Disconnect.
    BOOL m_bComStarted;
};
