#pragma once

#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// One control of a dialog template, as the resource stores it.
struct DialogItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    int id = 0;
    WORD classAtom = 0;     // 0x80 button, 0x82 static, 0x85 combo box; 0 if named
    std::string className;  // when the class is given by name
    std::string text;
};

// A dialog template read back from its resource bytes, classic or extended.
struct DialogTemplate {
    bool extended = false;
    DWORD style = 0;
    DWORD exStyle = 0;
    short x = 0, y = 0, cx = 0, cy = 0;
    bool hasMenu = false;
    std::string caption;
    WORD pointSize = 0;
    WORD weight = 0;  // extended templates only
    BYTE italic = 0;  // extended templates only
    std::string typeface;
    std::vector<DialogItem> items;

    // Nothing when the bytes end before the template does.
    static std::optional<DialogTemplate> Read(const void* data, std::size_t size);
};
