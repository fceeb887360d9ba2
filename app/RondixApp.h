#pragma once

#include "framework/Afx.h"

// The application: points the settings at the registry and runs the stopwatch window.
class CRondixApp : public CWinApp
{
public:
    CRondixApp();

    BOOL InitInstance() override;

    DECLARE_MESSAGE_MAP()
};
