#include "framework/ZylFocusController.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"

void ZylFocusController::receiveMessage(void* sender, int code, int /*timeMs*/)
{
    if (zylMessageEvent(code) != zylMessageEvent(kWheelAssignmentChanged) || sender == nullptr)
        return;

    // Only parameters post wheel-assignment messages, with their ZylParameter* as sender.
    auto* parameter = static_cast<ZylParameter*>(sender);
    if (parameter != current && parameter->isWheelAssigned())
    {
        auto* previous = current;
        current = parameter;
        if (previous != nullptr)
            previous->setWheelAssigned(false);
    }
    else if (parameter == current && !parameter->isWheelAssigned())
    {
        current = nullptr;
    }
}
