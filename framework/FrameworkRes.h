// Resource ids that belong to the framework, not to the program.
#pragma once

#define AFX_IDS_APP_TITLE 0xE000     // 57344: the application's name
#define AFX_IDS_INVALID_SPAN 0xF09A  // 61594: text for an invalid time span
