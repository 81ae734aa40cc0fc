#include "ui/ZylJuceUiSeam.h"

#include <memory>

namespace
{
// A menu item's dialog may start its modal loop before the program's windows have repainted
// what the dismissed menu covered; with no window manager to redraw it, the menu's picture then
// stays on screen until the dialog gets input. Every shown window of the program is painted
// anew first.
void repaintWindowsBeforeModalLoop()
{
    juce::PopupMenu::dismissAllActiveMenus();
    auto& desktop = juce::Desktop::getInstance();
    for (int i = 0; i < desktop.getNumComponents(); ++i)
    {
        auto* window = desktop.getComponent(i);
        if (window == nullptr || !window->isShowing())
            continue;
        if (auto* peer = window->getPeer())
        {
            window->repaint();
            peer->performAnyPendingRepaintsNow();
        }
    }
}
} // namespace

bool ZylJuceUiSeam::openUrl(const juce::String& address)
{
    return juce::URL(address).launchInDefaultBrowser();
}

void ZylJuceUiSeam::showMessageBox(juce::MessageBoxIconType icon, const juce::String& title,
                                   const juce::String& message, const juce::String& buttonText,
                                   juce::Component* associated)
{
    repaintWindowsBeforeModalLoop();
    juce::AlertWindow::showMessageBox(icon, title, message, buttonText, associated);
}

bool ZylJuceUiSeam::showOkCancelBox(juce::MessageBoxIconType icon, const juce::String& title,
                                    const juce::String& message, const juce::String& okText,
                                    const juce::String& cancelText, juce::Component* associated)
{
    repaintWindowsBeforeModalLoop();
    return juce::AlertWindow::showOkCancelBox(icon, title, message, okText, cancelText, associated,
                                              nullptr);
}

bool ZylJuceUiSeam::promptText(const TextPrompt& prompt, juce::String& text)
{
    repaintWindowsBeforeModalLoop();
    juce::AlertWindow window(prompt.title, prompt.message, juce::MessageBoxIconType::NoIcon);
    window.addTextEditor(prompt.editorName, text, juce::String());
    window.addButton(prompt.okText, 1, juce::KeyPress(juce::KeyPress::returnKey));
    window.addButton(prompt.cancelText, 0, juce::KeyPress(juce::KeyPress::escapeKey));
    if (window.runModalLoop() == 0)
        return false;
    text = window.getTextEditorContents(prompt.editorName);
    return true;
}

bool ZylJuceUiSeam::chooseFile(const FileRequest& request, juce::File& chosen)
{
    repaintWindowsBeforeModalLoop();
    juce::FileChooser chooser(request.title, request.initialFile, request.patterns, true);
    const bool picked = request.save ? chooser.browseForFileToSave(request.warnAboutOverwriting)
                                     : chooser.browseForFileToOpen();
    if (!picked)
        return false;
    chosen = chooser.getResult();
    return true;
}

int ZylJuceUiSeam::runModalDialog(const DialogRequest& request)
{
    repaintWindowsBeforeModalLoop();
    juce::DialogWindow::LaunchOptions options;
    options.dialogTitle = request.title;
    options.dialogBackgroundColour = request.background;
    if (request.contentOwned)
        options.content.setOwned(request.content);
    else
        options.content.setNonOwned(request.content);
    options.componentToCentreAround = request.centreAround;
    options.escapeKeyTriggersCloseButton = true;
    options.useNativeTitleBar = true;
    options.resizable = false;
    options.useBottomRightCornerResizer = false;

    // JUCE sizes the window around the content with its own title bar and border, then
    // switches to the native title bar and stretches the content over the whole window: the
    // size asked for is set again once the window exists.
    const int width = request.content != nullptr ? request.content->getWidth() : 0;
    const int height = request.content != nullptr ? request.content->getHeight() : 0;

    // The window is freed once its loop has ended; the content goes with it only when owned.
    std::unique_ptr<juce::DialogWindow> window(options.create());
    if (window == nullptr)
        return 0;
    if (width > 0 && height > 0)
    {
        window->setContentComponentSize(width, height);
        window->centreAroundComponent(request.centreAround, window->getWidth(),
                                      window->getHeight());
    }
    return window->runModalLoop();
}
