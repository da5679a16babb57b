// Control: the state of one control of the window, as the printer tests and
// the screen see it.
#pragma once

#include <string>
#include <vector>

struct Control {
    std::string text;               // current text (editable lists)
    std::vector<std::string> list;  // entries, in the order designed, never sorted
    bool shown = true;
    bool enabled = true;
    bool selected = false;          // option buttons
};
