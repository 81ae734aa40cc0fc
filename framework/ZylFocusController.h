#pragma once

#include "framework/ZylMessageSink.h"

class ZylParameter;

// Keeps the one parameter of the whole tree that the mouse wheel edits. It hears the
// wheel-assignment messages of every parameter except the modules' command parameters: assigning
// the wheel to one parameter takes it away from the one that had it. Message thread only; the
// parameter it points at lives as long as the module tree.
class ZylFocusController : public ZylMessageSink
{
public:
    ZylFocusController() = default;
    ~ZylFocusController() override = default;

    void receiveMessage(void* sender, int code, int timeMs) override;

    // Null when no parameter is wheel-assigned.
    ZylParameter* getCurrentParameter() const noexcept { return current; }

private:
    ZylParameter* current = nullptr;
};
