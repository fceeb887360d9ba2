#pragma once

#include "controls/IconButton.h"

// CIconButton with its state opened to the tests.
class CIconButtonProbe : public CIconButton
{
public:
    using CIconButton::m_checked;
    using CIconButton::m_colors;
    using CIconButton::m_cursor;
    using CIconButton::m_drawPressed;
    using CIconButton::m_flat;
    using CIconButton::m_hovering;
    using CIconButton::m_icons;
    using CIconButton::m_bitmaps;
    using CIconButton::m_isCheckBox;
    using CIconButton::m_isDefault;
    using CIconButton::m_menuShowing;
    using CIconButton::m_popupMenu;
    using CIconButton::m_pressShiftX;
    using CIconButton::m_pressShiftY;
    using CIconButton::m_toolTip;
    using CIconButton::m_backDC;
};
