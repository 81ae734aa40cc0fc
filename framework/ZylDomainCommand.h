#pragma once

#include "framework/ZylMessageCodes.h"

#include <juce_core/juce_core.h>

#include <string>

// An entry that a domain offers beside its values (for example "Configure..." in a MIDI device
// list). Choosing it makes the domain post the command message of its id (postCommand).
class ZylDomainCommand
{
public:
    explicit ZylDomainCommand(const std::wstring& commandLabel) : label(commandLabel) {}
    virtual ~ZylDomainCommand() = default;

    int getId() const noexcept { return id; }
    const std::wstring& getLabel() const noexcept { return label; }
    bool isEnabled() const noexcept { return enabled; }

private:
    int id = kCommandMidiSettings;
    std::wstring label;
    bool enabled = true;

    JUCE_DECLARE_NON_COPYABLE(ZylDomainCommand)
};
