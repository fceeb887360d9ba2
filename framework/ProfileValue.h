#pragma once

#include <cstddef>

#include "framework/WinTypes.h"

// What CWinApp::GetProfileInt makes of the value stored under an entry, given its registry
// type and all its bytes: only a REG_DWORD of exactly four bytes is a number (read
// little-endian, as the registry keeps it); any other type or size reads as nDefault.
// Kept free of the registry so that every type and size can be tried on any host.
UINT AfxProfileIntFromValue(DWORD dwType, const BYTE* pData, size_t cbData, int nDefault);
