#include "Deliverable.h"

#include <stdexcept>

Deliverable px9tester9xDeliverable()
{
    return {"px9tester9x", 0, px9tester9xLayout()};
}

Deliverable px9testerDeliverable()
{
    return {"px9tester", 4, px9testerLayout()};
}

Deliverable deliverableForSerialOffset(int serialOffset)
{
    switch (serialOffset) {
    case 0:
        return px9tester9xDeliverable();
    case 4:
        return px9testerDeliverable();
    default:
        throw std::invalid_argument("no deliverable has serial offset " + std::to_string(serialOffset));
    }
}
