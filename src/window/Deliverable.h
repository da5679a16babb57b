// Deliverable: what sets one build of the tester apart from the other: its
// program name (the failure box's title), the serial port offset and the
// window's caption and layout. Each executable picks one with its build
// constant.
#pragma once

#include "WindowLayout.h"

#include <string>

struct Deliverable {
    std::string name;
    int serialOffset = 0;
    WindowLayout layout;
};

Deliverable px9tester9xDeliverable();  // serial ports COM1-COM4 by their own names
Deliverable px9testerDeliverable();    // serial ports through the aliases COM5-COM8

// The deliverable whose serial offset is the given build constant (0 or 4).
Deliverable deliverableForSerialOffset(int serialOffset);
