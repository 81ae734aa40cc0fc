#pragma once

#include "ui/ZylUiSeam.h"

// The seam as the program uses it: the system's browser, native message boxes and file
// choosers, and JUCE dialog windows run in modal loops on the message thread.
class ZylJuceUiSeam : public ZylUiSeam
{
public:
    bool openUrl(const juce::String& address) override;
    void showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                        const juce::String& message, const juce::String& buttonText,
                        juce::Component* associated) override;
    bool showOkCancelBox(juce::MessageBoxIconType icon, const juce::String& title,
                         const juce::String& message, const juce::String& okText,
                         const juce::String& cancelText, juce::Component* associated) override;
    bool promptText(const TextPrompt& prompt, juce::String& text) override;
    bool chooseFile(const FileRequest& request, juce::File& chosen) override;
    int runModalDialog(const DialogRequest& request) override;
};
