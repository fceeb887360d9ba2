#pragma once

#include <windows.h>

#include "framework/HandleMap.h"

// A GDI object handle; deletes the object it owns when destroyed.
class CGdiObject
{
public:
    HGDIOBJ m_hObject = nullptr;

    CGdiObject() = default;
    virtual ~CGdiObject();
    CGdiObject(const CGdiObject&) = delete;
    CGdiObject& operator=(const CGdiObject&) = delete;

    operator HGDIOBJ() const { return m_hObject; }
    HGDIOBJ GetSafeHandle() const { return m_hObject; }
    static CGdiObject* PASCAL FromHandle(HGDIOBJ hObject);
    BOOL Attach(HGDIOBJ hObject);
    HGDIOBJ Detach();
    // Deletes the owned object; FALSE when there is none.
    BOOL DeleteObject();
    int GetObject(int nCount, LPVOID lpObject) const;

protected:
    // Takes ownership of a newly created object; deletes it when this
    // wrapper already owns one. FALSE for a NULL handle too.
    BOOL AttachNew(HGDIOBJ hObject);
    // The wrapper of type T for a handle: the permanent one, else a temporary.
    template <class T>
    static T* FromHandleAs(HGDIOBJ hObject)
    {
        return Map::FromHandle<T>(hObject);
    }

private:
    typedef CHandleMap<CGdiObject, HGDIOBJ, &CGdiObject::m_hObject> Map;
};
