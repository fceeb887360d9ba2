#pragma once

#include <ole2.h>

// What the accessible object's source files share; for those files only.
namespace RondixAccessibleInternal {

// A BSTR of 8-bit text in the program's code page; the caller (the client) frees it.
// Needs the accessibility libraries bound (CRondixAccessible::Create).
HRESULT MakeBstr(const char* psz, BSTR* pbstr);

}  // namespace RondixAccessibleInternal
