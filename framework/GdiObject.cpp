#include "framework/GdiObject.h"

CGdiObject::~CGdiObject()
{
    DeleteObject();
}

CGdiObject* PASCAL CGdiObject::FromHandle(HGDIOBJ hObject)
{
    return Map::FromHandle<CGdiObject>(hObject);
}

BOOL CGdiObject::Attach(HGDIOBJ hObject)
{
    return Map::Attach(this, hObject);
}

BOOL CGdiObject::AttachNew(HGDIOBJ hObject)
{
    return Map::AttachNew(this, hObject, &::DeleteObject);
}

HGDIOBJ CGdiObject::Detach()
{
    return Map::Detach(this);
}

BOOL CGdiObject::DeleteObject()
{
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

int CGdiObject::GetObject(int nCount, LPVOID lpObject) const
{
    return ::GetObjectA(m_hObject, nCount, lpObject);
}
