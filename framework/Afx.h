// Everything of the framework: include this one header.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include "framework/Bitmap.h"
#include "framework/Brush.h"
#include "framework/Button.h"
#include "framework/ClientDC.h"
#include "framework/CmdTarget.h"
#include "framework/DC.h"
#include "framework/DCSelection.h"
#include "framework/DataExchange.h"
#include "framework/Dialog.h"
#include "framework/Dpi.h"
#include "framework/Font.h"
#include "framework/FrameworkRes.h"
#include "framework/GdiObject.h"
#include "framework/HandleMap.h"
#include "framework/Menu.h"
#include "framework/MessageMapMacros.h"
#include "framework/PaintDC.h"
#include "framework/Pen.h"
#include "framework/Point.h"
#include "framework/Rect.h"
#include "framework/String.h"
#include "framework/SysLibrary.h"
#include "framework/ToolTipCtrl.h"
#include "framework/WinApp.h"
#include "framework/Wnd.h"
