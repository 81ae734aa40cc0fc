#pragma once

#include "ui/ZylUiSeam.h"

#include <deque>
#include <functional>
#include <vector>

// A seam for tests: it records every request and answers from scripted queues, and never opens
// a browser, a box or a modal loop. Install it with ZylScopedUiSeam:
//
//     ZylFakeUiSeam seam;
//     ZylScopedUiSeam installed(seam);
//     seam.okCancelAnswers.push_back(false);
//
// With an empty queue the answer is the "cancel" one (false, no file, no text, result 0).
class ZylFakeUiSeam : public ZylUiSeam
{
public:
    enum class Kind
    {
        url,
        messageBox,
        okCancelBox,
        textPrompt,
        fileChooser,
        modalDialog
    };

    // One request as it was made. Fields that do not apply to the kind stay empty.
    struct Call
    {
        Kind kind = Kind::url;
        juce::String title;
        // The message of a box or prompt, the address of a URL.
        juce::String text;
        juce::MessageBoxIconType icon = juce::MessageBoxIconType::NoIcon;
        // Button texts of boxes and prompts, in order.
        juce::StringArray buttons;
        // A prompt's starting text.
        juce::String initialText;
        // A prompt's editor name.
        juce::String editorName;
        FileRequest file;
        DialogRequest dialog;
    };

    std::vector<Call> calls;

    // Scripted answers, taken from the front.
    std::deque<bool> okCancelAnswers;
    // A prompt answered with a text is confirmed with it; an empty queue cancels.
    std::deque<juce::String> promptAnswers;
    // A chooser answered with a file picks it; an empty queue cancels.
    std::deque<juce::File> fileAnswers;
    bool urlOpensSucceed = true;

    // Called while a modal dialog is "open", with the request; its return value is the modal
    // result. Without it the result is 0. An owned content is deleted afterwards, as the real
    // dialog would.
    std::function<int(const DialogRequest&)> onModalDialog;

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

    // The recorded calls of one kind, in order.
    std::vector<Call> callsOf(Kind kind) const;
    // The addresses opened, in order.
    juce::StringArray openedUrls() const;
};
