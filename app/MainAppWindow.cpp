#include "app/MainAppWindow.h"

#include "framework/ZylDebug.h"
#include "framework/ZylFilter.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "modules/ZylTransportModule.h"
#include "ui/ZylUiSeam.h"

namespace
{
constexpr const char* kWindowX = "windowX";
constexpr const char* kWindowY = "windowY";
constexpr const char* kAudioSetup = "audioSetup";
constexpr const char* kFilterState = "filterState";
constexpr int kNoPosition = -100;

constexpr int kProgramModuleId = 1000;
constexpr int kMidiInputGroupId = 3000;
constexpr int kHelpModuleId = 9000;

// Which module a menu item's command goes to, and which command; module 0 for items that are
// not commands.
struct MenuCommand
{
    int moduleId;
    int command;
};

MenuCommand commandOf(int itemId)
{
    switch (itemId)
    {
    case MainAppWindow::loadBankItem: return { kProgramModuleId, kCommandLoadBank };
    case MainAppWindow::loadPresetItem: return { kProgramModuleId, kCommandLoadPreset };
    case MainAppWindow::saveBankItem: return { kProgramModuleId, kCommandSaveBank };
    case MainAppWindow::savePresetItem: return { kProgramModuleId, kCommandSavePreset };
    case MainAppWindow::renamePresetItem: return { kProgramModuleId, kCommandRenamePreset };
    case MainAppWindow::midiSettingsItem: return { kMidiInputGroupId, kCommandMidiSettings };
    case MainAppWindow::helpItem: return { kHelpModuleId, kCommandHelp };
    case MainAppWindow::productHomeItem: return { kHelpModuleId, kCommandProductHome };
    case MainAppWindow::onlineManualItem: return { kHelpModuleId, kCommandOnlineManual };
    case MainAppWindow::latestUpdatesItem: return { kHelpModuleId, kCommandLatestUpdates };
    case MainAppWindow::aboutItem: return { kHelpModuleId, kCommandAbout };
    default: return { 0, 0 };
    }
}

// Centres the window on the main display; without a display (a window kept off the desktop on
// a machine without one) it only takes the size.
void centre(juce::Component& window, int width, int height)
{
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() != nullptr)
        window.centreWithSize(width, height);
    else
        window.setSize(width, height);
}

MainAppWindow::Options withDefaults(MainAppWindow::Options options)
{
    if (!options.deviceManagerFactory)
        options.deviceManagerFactory = [] { return std::make_unique<juce::AudioDeviceManager>(); };
    if (!options.quit)
        options.quit = [] { juce::JUCEApplicationBase::quit(); };
    if (!options.requestQuit)
        options.requestQuit = [] {
            if (auto* application = juce::JUCEApplicationBase::getInstance())
                application->systemRequestedQuit();
        };
    return options;
}
} // namespace

MainAppWindow::MainAppWindow(std::unique_ptr<juce::PropertySet> settingsToUse, Options optionsToUse)
    : juce::DocumentWindow(juce::JUCEApplicationBase::getInstance() != nullptr
                               ? juce::JUCEApplicationBase::getInstance()->getApplicationName()
                               : juce::String("lumenfold"),
                           juce::Colour(0xffd3d3d3),
                           juce::DocumentWindow::minimiseButton | juce::DocumentWindow::closeButton,
                           optionsToUse.addToDesktop),
      settings(std::move(settingsToUse)),
      options(withDefaults(std::move(optionsToUse)))
{
    createFilter();
    if (processor == nullptr)
    {
        quitProgram();
        return;
    }

    processor->setPlayConfigDetails(0, 2, 44100.0, 512);
    deviceManager = options.deviceManagerFactory();
    deviceManager->addAudioCallback(&player);
    deviceManager->addMidiInputDeviceCallback({}, &player);
    player.setProcessor(processor.get());

    // A stored setup that cannot be applied (unknown device, damaged XML) falls back to the
    // default device.
    const auto savedSetup = readAudioSetup(*settings);
    deviceManager->initialise(0, 2, savedSetup.get(), true);

    loadStoredState(*settings, *processor);
    auto* device = deviceManager->getCurrentAudioDevice();
    deviceWasPlaying = device != nullptr && device->isPlaying();
    deviceManager->addChangeListener(this);

    showEditor();

    const int x = settings->getIntValue(kWindowX, kNoPosition);
    const int y = settings->getIntValue(kWindowY, kNoPosition);
    if (x != kNoPosition && y != kNoPosition)
        setBounds(x, y, getWidth(), getHeight());
    else
        centre(*this, getWidth(), getHeight());

    setUsingNativeTitleBar(true);
    setMenuBar(this, kMenuBarHeight);
    setVisible(true);
    centre(*this, kWidth, kHeight);
}

std::unique_ptr<juce::XmlElement> MainAppWindow::readAudioSetup(const juce::PropertySet& settingsToRead)
{
    // The settings file's guard at start (ZylSettingsFile) has checked this text too.
    return settingsToRead.getXmlValue(kAudioSetup);
}

void MainAppWindow::loadStoredState(const juce::PropertySet& settingsToRead,
                                    juce::AudioProcessor& processorToLoad)
{
    juce::MemoryBlock state;
    if (state.fromBase64Encoding(settingsToRead.getValue(kFilterState)) && state.getSize() > 0)
        processorToLoad.setStateInformation(state.getData(), static_cast<int>(state.getSize()));
}

MainAppWindow::~MainAppWindow()
{
    setMenuBar(nullptr);

    if (deviceManager != nullptr)
    {
        settings->setValue(kWindowX, getX());
        settings->setValue(kWindowY, getY());
        const auto setup = deviceManager->createStateXml();
        settings->setValue(kAudioSetup, setup.get());
        deviceManager->removeChangeListener(this);
        deviceManager->removeMidiInputDeviceCallback({}, &player);
        deviceManager->removeAudioCallback(&player);
        deviceManager.reset();
    }

    if (processor != nullptr)
    {
        juce::MemoryBlock state;
        processor->getStateInformation(state);
        settings->setValue(kFilterState, state.toBase64Encoding());
    }
    deleteFilter();

    // A properties file writes itself when deleted. Where it cannot (a home folder that is
    // missing or read-only), the session's settings are lost: the user reads which file.
    if (auto* file = dynamic_cast<juce::PropertiesFile*>(settings.get()))
    {
        if (!file->saveIfNeeded())
        {
            zylNoticeLine("lumenfold: the settings could not be written to "
                          + file->getFile().getFullPathName());
            file->setNeedsToBeSaved(false);
        }
    }
    settings.reset();
}

void MainAppWindow::createFilter()
{
    deleteFilter();
    if (options.filterFactory)
        processor = options.filterFactory();
}

void MainAppWindow::deleteFilter()
{
    player.setProcessor(nullptr);
    clearContentComponent();
    processor.reset();
}

void MainAppWindow::showEditor()
{
    if (processor == nullptr)
        return;
    if (auto* editor = processor->createEditorIfNeeded())
        setContentOwned(editor, true);
}

void MainAppWindow::quitProgram()
{
    options.quit();
}

void MainAppWindow::closeButtonPressed()
{
    options.requestQuit();
}

void MainAppWindow::changeListenerCallback(juce::ChangeBroadcaster*)
{
    if (deviceManager == nullptr)
        return;
    // A device the user closes or replaces in "Audio Settings..." is gone or playing again by
    // the time this change arrives; one that is still current but no longer plays was stopped
    // from outside (JACK closes its clients' devices when the server quits, and tells the
    // manager before the device counts as closed).
    auto* device = deviceManager->getCurrentAudioDevice();
    const bool playing = device != nullptr && device->isPlaying();
    const bool stoppedOnItsOwn = deviceWasPlaying && device != nullptr && !playing;
    deviceWasPlaying = playing;
    if (stoppedOnItsOwn)
        audioDeviceStoppedOnItsOwn(device->getName());
}

void MainAppWindow::audioDeviceStoppedOnItsOwn(const juce::String& deviceName)
{
    // The player has released the processor (its notes are off and nothing is lit); a song
    // that was playing stops too, rather than show "playing" while nothing plays.
    if (auto* filter = dynamic_cast<ZylFilter*>(processor.get()))
        if (auto* container = filter->getModuleContainer())
            if (auto* transport = dynamic_cast<ZylTransportModule*>(
                    container->getModule(ZylTransportModule::kModuleId)))
                transport->stop();
    ZylUiSeam::get().showMessageBox(
        juce::MessageBoxIconType::WarningIcon, "Audio device stopped",
        "The audio device \"" + deviceName
            + "\" stopped, and nothing can be heard. Choose a device under Settings > "
              "Audio Settings... to hear the program again.",
        "OK", this);
}

void MainAppWindow::showAudioSettingsDialog()
{
    if (processor == nullptr || deviceManager == nullptr)
        return;

    const int inputs = processor->getTotalNumInputChannels();
    const int outputs = processor->getTotalNumOutputChannels();
    auto* selector = new juce::AudioDeviceSelectorComponent(*deviceManager, inputs, inputs, outputs,
                                                            outputs, false, false, false, false);
    selector->setSize(500, 320);
    selector->setLookAndFeel(&juce::LookAndFeel::getDefaultLookAndFeel());

    ZylUiSeam::DialogRequest request;
    request.title = "Audio Settings";
    request.content = selector;
    request.contentOwned = true;
    request.centreAround = this;
    request.background =
        juce::LookAndFeel::getDefaultLookAndFeel().findColour(juce::ComboBox::backgroundColourId);
    ZylUiSeam::get().runModalDialog(request);
}

void MainAppWindow::restoreDefaults()
{
    const bool yes = ZylUiSeam::get().showOkCancelBox(
        juce::MessageBoxIconType::WarningIcon, "Warning",
        "This will clear all presets and reset midi settings. Are you sure? ", "   Yes   ",
        "   No   ", this);
    if (!yes)
        return;

    deleteFilter();
    createFilter();
    if (processor != nullptr)
    {
        if (deviceManager != nullptr)
            player.setProcessor(processor.get());
        showEditor();
    }
    settings->removeValue(kFilterState);
}

juce::StringArray MainAppWindow::getMenuBarNames()
{
    return { "File", "Settings", "Help" };
}

juce::PopupMenu MainAppWindow::getMenuForIndex(int menuIndex, const juce::String&)
{
    juce::PopupMenu menu;
    switch (menuIndex)
    {
    case 0:
        menu.addItem(loadBankItem, "Load Preset Bank...");
        menu.addItem(loadPresetItem, "Load Preset...");
        menu.addSeparator();
        menu.addItem(saveBankItem, "Save Preset Bank As...");
        menu.addItem(savePresetItem, "Save Preset As...");
        menu.addSeparator();
        menu.addItem(renamePresetItem, "Rename Preset...");
        menu.addSeparator();
        menu.addItem(exitItem, "Exit");
        break;
    case 1:
        menu.addItem(audioSettingsItem, "Audio Settings...");
        menu.addItem(midiSettingsItem, "Midi Settings...");
        menu.addSeparator();
        menu.addItem(restoreDefaultsItem, "Restore Defaults");
        break;
    case 2:
        menu.addItem(helpItem, "Help...");
        menu.addSeparator();
        menu.addItem(productHomeItem, "Product home");
        menu.addItem(onlineManualItem, "Online manual");
        menu.addItem(latestUpdatesItem, "Latest updates");
        menu.addSeparator();
        menu.addItem(aboutItem, "About...");
        break;
    default: break;
    }
    return menu;
}

void MainAppWindow::menuItemSelected(int menuItemId, int)
{
    auto* filter = dynamic_cast<ZylFilter*>(processor.get());
    if (filter == nullptr)
        return;

    switch (menuItemId)
    {
    case exitItem: quitProgram(); return;
    case audioSettingsItem: showAudioSettingsDialog(); return;
    case restoreDefaultsItem: restoreDefaults(); return;
    default: break;
    }

    const auto [moduleId, command] = commandOf(menuItemId);
    if (moduleId == 0)
        return;
    auto* container = filter->getModuleContainer();
    auto* module = container != nullptr ? container->getModule(moduleId) : nullptr;
    if (module != nullptr)
        if (auto* parameter = module->getCommandParameter())
            parameter->sendMessage(zylCommandCode(command));
}
