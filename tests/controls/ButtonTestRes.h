// Resource ids of the icon-button tests; kept clear of res/resource.h.
#pragma once

#define IDD_BUTTON_TEST 9100

#define IDC_TEST_FIRST 9101
#define IDC_TEST_SECOND 9102
#define IDC_TEST_DEFAULT 9103
#define IDC_TEST_CHECK 9104
#define IDC_TEST_OWNERDRAW 9105
#define IDC_TEST_PLAIN 9106
