#include "ui/ZylHelpModule.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylHelpPanel.h"

ZylHelpModule::ZylHelpModule(ZylModuleContainer* owner) : ZylModule(owner, kModuleId, L"")
{
}

ZylHelpModule::~ZylHelpModule()
{
    if (isInitialised())
        removeParameterSink(this, false);
}

void ZylHelpModule::initialise()
{
    ZylModule::initialise();
    registerInModuleMap();
    addParameterSink(this, false);
}

bool ZylHelpModule::handleMessage(void* sender, int code, int timeMs)
{
    const bool isCommand = sender == getCommandParameter() && zylMessageLowByte(code) == kCauseCommand;
    if (!isCommand || panel == nullptr)
        return ZylModule::handleMessage(sender, code, timeMs);

    switch (zylMessageEvent(code))
    {
    case kCommandAbout:
        showPanel(true);
        return true;
    case kCommandHelp:
        showPanel(false);
        return true;
    case kCommandProductHome:
        panel->openUrl({}, true);
        return true;
    case kCommandOnlineManual:
        panel->openUrl("manual", true);
        return true;
    case kCommandLatestUpdates:
    {
        juce::String version;
        if (auto* root = getContainer() != nullptr ? getContainer()->getRootModule() : nullptr)
            version = root->getVersionString();
        panel->openUrl("updates/?version=" + version, true);
        return true;
    }
    default:
        return ZylModule::handleMessage(sender, code, timeMs);
    }
}

void ZylHelpModule::showPanel(bool about)
{
    // The dialog runs a modal loop that keeps delivering messages: a second About or Help
    // command while it is open would nest another dialog around the same panel. It is ignored.
    if (dialogOpen)
        return;
    if (about)
        panel->showAbout();
    else
        panel->showHelp();
    if (!helpInWindow)
        return;
    if (panel->isCollapsible())
        panel->setCollapsible(false);
    dialogOpen = true;
    showModalDialog(kDialogTitle, panel, nullptr);
    dialogOpen = false;
}

ZylHelpPanel* ZylHelpModule::getHelpPanel() const
{
    return panel;
}

void ZylHelpModule::setHelpPanel(ZylHelpPanel* newPanel)
{
    panel = newPanel;
}

bool ZylHelpModule::isHelpInWindow() const
{
    return helpInWindow;
}

void ZylHelpModule::setHelpInWindow(bool inWindow)
{
    helpInWindow = inWindow;
}

bool ZylHelpModule::hasOnlineManual() const
{
    return onlineManual;
}

void ZylHelpModule::setHasOnlineManual(bool hasManual)
{
    onlineManual = hasManual;
}
