// A control as Form1.ui stores it; form_table.cmake writes the window's table of them.
#pragma once

#include <cstdint>

namespace quillet {

enum class ControlKind { Box, Button, Option, Frame };

// In pixels at 96 dpi (twips / 15), within the frame or form that holds the control.
struct StoredRect {
    int x;
    int y;
    int width;
    int height;
};

inline constexpr std::uint32_t kNoBackColor = 0xFFFFFFFF;

struct StoredControl {
    const char* name;
    ControlKind kind;
    // The index of the frame that holds the control, -1 for the form itself.
    int frame;
    StoredRect rect;
    const wchar_t* text;
    bool enabled;
    bool checked;
    // 0x80000000 + n for system colour n, else 0x00BBGGRR; kNoBackColor for a box's usual one.
    std::uint32_t backColor;
    // The control array, "" for none, and the control's index in it.
    const char* array;
    int index;
};

}  // namespace quillet
