#pragma once

#include "framework/ZylMessageCodes.h"

#include <juce_core/juce_core.h>

#include <string>

// An entry that a domain offers beside its values (for example "Configure..." in a MIDI device
// list). Choosing it makes the domain post the command message of its id (postCommand).
class ZylDomainCommand
{
public:
    // Every command of the program opens the MIDI settings (id 10); id 0 posts nothing.
    explicit ZylDomainCommand(const std::wstring& commandLabel, int commandId = kCommandMidiSettings)
        : id(commandId), label(commandLabel)
    {
    }
    virtual ~ZylDomainCommand() = default;

    int getId() const noexcept { return id; }
    const std::wstring& getLabel() const noexcept { return label; }
    bool isEnabled() const noexcept { return enabled; }

private:
    int id;
    std::wstring label;
    bool enabled = true;

    JUCE_DECLARE_NON_COPYABLE(ZylDomainCommand)
};
