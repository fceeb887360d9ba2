// Resource ids of the icon-button tests; kept clear of res/resource.h.
#pragma once

#define IDD_BUTTON_TEST 9300

#define IDC_TEST_FIRST 9301
#define IDC_TEST_SECOND 9302
#define IDC_TEST_DEFAULT 9303
#define IDC_TEST_CHECK 9304
#define IDC_TEST_OWNERDRAW 9305
#define IDC_TEST_PLAIN 9306
