// Resource ids of the framework tests' own templates (clear of res/'s ids).
#pragma once

#define IDD_TEST_VISIBLE 9100
#define IDD_TEST_HIDDEN 9101
#define IDD_TEST_BROKEN 9102
#define IDD_TEST_OWN_CLASS 9103
#define IDD_TEST_MISSING 9199
#define IDM_TEST_MENU 9110
#define IDC_TEST_BUTTON 9120
#define IDC_TEST_OWNERDRAW 9121
#define ID_TEST_ITEM_A 9130
#define ID_TEST_ITEM_B 9131
