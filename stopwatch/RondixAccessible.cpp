#include "stopwatch/RondixAccessible.h"

#include <new>
#include <string>

#include "stopwatch/RondixAccessibleInternal.h"
#include "stopwatch/RondixDlg.h"

namespace {

// The accessibility and COM functions, looked up on the first WM_GETOBJECT: a start without
// a screen reader loads none of these libraries, and Tempik.exe imports none of them.
struct OleFunctions {
    decltype(&::LresultFromObject) pfnLresultFromObject;
    decltype(&::CreateStdAccessibleObject) pfnCreateStdAccessibleObject;
    decltype(&::SysAllocStringLen) pfnSysAllocStringLen;
    decltype(&::CoInitializeEx) pfnCoInitializeEx;
    decltype(&::CoUninitialize) pfnCoUninitialize;
};
OleFunctions s_ole;
BOOL s_bOleTried = FALSE;
BOOL s_bOleBound = FALSE;

BOOL BindOle()
{
    // Tried once: a system without these libraries would only load them again and again.
    if (s_bOleTried)
        return s_bOleBound;
    s_bOleTried = TRUE;
    // Once loaded they stay: objects handed out may outlive any window.
    const HMODULE hOleAcc = AfxLoadSysLibrary("oleacc.dll");
    const HMODULE hOleAut = AfxLoadSysLibrary("oleaut32.dll");
    const HMODULE hOle = AfxLoadSysLibrary("ole32.dll");
    s_bOleBound = AfxGetProc(hOleAcc, "LresultFromObject", s_ole.pfnLresultFromObject) &&
                  AfxGetProc(hOleAcc, "CreateStdAccessibleObject", s_ole.pfnCreateStdAccessibleObject) &&
                  AfxGetProc(hOleAut, "SysAllocStringLen", s_ole.pfnSysAllocStringLen) &&
                  AfxGetProc(hOle, "CoInitializeEx", s_ole.pfnCoInitializeEx) &&
                  AfxGetProc(hOle, "CoUninitialize", s_ole.pfnCoUninitialize);
    return s_bOleBound;
}

}  // namespace

namespace RondixAccessibleInternal {

// A BSTR of 8-bit text in the program's code page; the caller (the client) frees it.
HRESULT MakeBstr(const char* psz, BSTR* pbstr)
{
    const int nLength = ::MultiByteToWideChar(CP_ACP, 0, psz, -1, nullptr, 0);
    std::wstring text(nLength > 0 ? (size_t)nLength : 1, L'\0');
    if (nLength > 0)
        ::MultiByteToWideChar(CP_ACP, 0, psz, -1, text.data(), nLength);
    *pbstr = s_ole.pfnSysAllocStringLen(text.c_str(), (UINT)::lstrlenW(text.c_str()));
    return *pbstr ? S_OK : E_OUTOFMEMORY;
}

}  // namespace RondixAccessibleInternal

CRondixAccessible* CRondixAccessible::Create(CRondixDlg& dlg)
{
    if (!BindOle())
        return nullptr;
    // Marshalling needs an apartment; the window's thread becomes one, its message loop
    // delivering the calls. S_FALSE (already one) needs its CoUninitialize too.
    const BOOL bComStarted = SUCCEEDED(s_ole.pfnCoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
    CRondixAccessible* pObject = new (std::nothrow) CRondixAccessible(dlg, bComStarted);
    if (!pObject) {
        if (bComStarted)
            s_ole.pfnCoUninitialize();
        return nullptr;
    }
    if (FAILED(s_ole.pfnCreateStdAccessibleObject(dlg.m_hWnd, OBJID_CLIENT, __uuidof(IAccessible),
                                                  (void**)&pObject->m_pStandard)))
        pObject->m_pStandard.p = nullptr;  // what a failed call left there is no reference
    return pObject;
}

CRondixAccessible::CRondixAccessible(CRondixDlg& dlg, BOOL bComStarted)
    : m_nRefs(1), m_pDlg(&dlg), m_bComStarted(bComStarted)
{
}

LRESULT CRondixAccessible::Serve(WPARAM wParam)
{
    if (!m_pDlg)
        return 0;
    return s_ole.pfnLresultFromObject(__uuidof(IAccessible), wParam, static_cast<IAccessible*>(this));
}

void CRondixAccessible::Disconnect()
{
    m_pDlg = nullptr;
    m_pStandard.Release();
    // Ending the apartment lets go of the references remote clients still hold.
    if (m_bComStarted)
        s_ole.pfnCoUninitialize();
    m_bComStarted = FALSE;
}

// IUnknown

STDMETHODIMP CRondixAccessible::QueryInterface(REFIID riid, void** ppv)
{
    if (!ppv)
        return E_POINTER;
    if (riid == __uuidof(IUnknown) || riid == __uuidof(IDispatch) || riid == __uuidof(IAccessible)) {
        *ppv = static_cast<IAccessible*>(this);
        AddRef();
        return S_OK;
    }
    *ppv = nullptr;
    return E_NOINTERFACE;
}

STDMETHODIMP_(ULONG) CRondixAccessible::AddRef()
{
    return (ULONG)::InterlockedIncrement(&m_nRefs);
}

STDMETHODIMP_(ULONG) CRondixAccessible::Release()
{
    const LONG nRefs = ::InterlockedDecrement(&m_nRefs);
    if (nRefs == 0)
        delete this;
    return (ULONG)nRefs;
}

// IDispatch

STDMETHODIMP CRondixAccessible::GetTypeInfoCount(UINT* pctinfo)
{
    if (!pctinfo)
        return E_POINTER;
    *pctinfo = 0;
    return S_OK;
}

STDMETHODIMP CRondixAccessible::GetTypeInfo(UINT, LCID, ITypeInfo** ppTInfo)
{
    if (ppTInfo)
        *ppTInfo = nullptr;
    return E_NOTIMPL;
}

STDMETHODIMP CRondixAccessible::GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*)
{
    return E_NOTIMPL;
}

STDMETHODIMP CRondixAccessible::Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*, UINT*)
{
    return E_NOTIMPL;
}
