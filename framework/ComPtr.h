#pragma once

// One reference to a COM object, released once: when Release is called, another object
// is attached, or the holder goes.
template <class T>
class CComPtr
{
public:
    CComPtr() = default;
    ~CComPtr() { Release(); }
    CComPtr(const CComPtr&) = delete;
    CComPtr& operator=(const CComPtr&) = delete;

    // Takes over a reference the caller holds (a creating function's).
    void Attach(T* pObject)
    {
        Release();
        p = pObject;
    }
    void Release()
    {
        if (T* pOld = p) {
            p = nullptr;
            pOld->Release();
        }
    }
    // Where a creating function writes the reference it hands over; the holder is emptied first.
    T** operator&()
    {
        Release();
        return &p;
    }
    T* operator->() const { return p; }
    operator T*() const { return p; }

    T* p = nullptr;
};
