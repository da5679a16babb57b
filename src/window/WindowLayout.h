// WindowLayout: where every control of the window sits, in twips (15 twips
// to a pixel at 96 dots per inch), with its caption, for one build.
#pragma once

#include <string>
#include <string_view>
#include <vector>

inline constexpr int kTwipsPerPixel = 15;

struct Placement {
    std::string name;       // designer name, e.g. "Frame1", "Port"
    std::string container;  // "Form1" for the window's client area, else a frame
    int left = 0, top = 0, width = 0, height = 0;  // twips, inside the container
    std::string caption;    // empty where the control has none
};

struct WindowLayout {
    std::string caption;
    int clientWidth = 0, clientHeight = 0;  // twips
    int bannerWidth = 0, bannerHeight = 0;  // pixels of the banner picture
    std::vector<Placement> controls;        // containment order: later ones lie above earlier ones
    std::vector<std::string> tabOrder;      // tab index 0 upwards

    const Placement& at(std::string_view name) const;
};

inline int twipsToPixels(int twips) { return twips / kTwipsPerPixel; }

WindowLayout px9tester9xLayout();
WindowLayout px9testerLayout();
