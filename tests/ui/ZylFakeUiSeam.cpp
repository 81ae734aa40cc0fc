#include "tests/ui/ZylFakeUiSeam.h"

#include <memory>

namespace
{
ZylFakeUiSeam::Call makeCall(ZylFakeUiSeam::Kind kind, const juce::String& title,
                             const juce::String& text)
{
    ZylFakeUiSeam::Call call;
    call.kind = kind;
    call.title = title;
    call.text = text;
    return call;
}
} // namespace

bool ZylFakeUiSeam::openUrl(const juce::String& address)
{
    auto call = makeCall(Kind::url, {}, address);
    calls.push_back(call);
    return urlOpensSucceed;
}

void ZylFakeUiSeam::showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                                   const juce::String& message, const juce::String& buttonText,
                                   juce::Component* /*associated*/)
{
    auto call = makeCall(Kind::messageBox, title, message);
    call.icon = icon;
    call.buttons.add(buttonText);
    calls.push_back(call);
}

bool ZylFakeUiSeam::showOkCancelBox(juce::MessageBoxIconType icon, const juce::String& title,
                                    const juce::String& message, const juce::String& okText,
                                    const juce::String& cancelText,
                                    juce::Component* /*associated*/)
{
    auto call = makeCall(Kind::okCancelBox, title, message);
    call.icon = icon;
    call.buttons.add(okText);
    call.buttons.add(cancelText);
    calls.push_back(call);
    if (okCancelAnswers.empty())
        return false;
    const bool answer = okCancelAnswers.front();
    okCancelAnswers.pop_front();
    return answer;
}

bool ZylFakeUiSeam::promptText(const TextPrompt& prompt, juce::String& text)
{
    auto call = makeCall(Kind::textPrompt, prompt.title, prompt.message);
    call.buttons.add(prompt.okText);
    call.buttons.add(prompt.cancelText);
    call.initialText = text;
    call.editorName = prompt.editorName;
    calls.push_back(call);
    if (promptAnswers.empty())
        return false;
    text = promptAnswers.front();
    promptAnswers.pop_front();
    return true;
}

bool ZylFakeUiSeam::chooseFile(const FileRequest& request, juce::File& chosen)
{
    auto call = makeCall(Kind::fileChooser, request.title, {});
    call.file = request;
    calls.push_back(call);
    if (fileAnswers.empty())
        return false;
    chosen = fileAnswers.front();
    fileAnswers.pop_front();
    return true;
}

int ZylFakeUiSeam::runModalDialog(const DialogRequest& request)
{
    auto call = makeCall(Kind::modalDialog, request.title, {});
    call.dialog = request;
    calls.push_back(call);
    const int result = onModalDialog ? onModalDialog(request) : 0;
    if (request.contentOwned)
        std::unique_ptr<juce::Component> owned(request.content);
    return result;
}

std::vector<ZylFakeUiSeam::Call> ZylFakeUiSeam::callsOf(Kind kind) const
{
    std::vector<Call> matching;
    for (const auto& call : calls)
        if (call.kind == kind)
            matching.push_back(call);
    return matching;
}

juce::StringArray ZylFakeUiSeam::openedUrls() const
{
    juce::StringArray urls;
    for (const auto& call : callsOf(Kind::url))
        urls.add(call.text);
    return urls;
}
