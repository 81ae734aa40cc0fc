// The settings file as the program reads it at start: any bytes as the file, checked by the
// start's guard (which moves a file that is not safe to parse aside), opened by JUCE's
// properties file with the program's options, then the window's reads (the audio setup's XML,
// the window position), a save, and the stored state, decoded from base64 and loaded into the
// product processor.

#include "app/MainAppWindow.h"
#include "app/lumenfoldApplication.h"
#include "fuzz/ZylFuzzSupport.h"
#include "tests/app/ZylLumenfoldTestFilter.h"
#include "tests/modules/ZylFakeMidiPortBackend.h"

#include <memory>

namespace
{
ZylFakeMidiPortBackend ports;
std::unique_ptr<zyltest::LumenfoldTestFilter> filter;
juce::MemoryBlock factoryState;
// A folder of the fuzzer's own, deleted when it exits: the start's guard looks at the files
// beside the settings file.
struct SettingsFolder
{
    juce::File folder = juce::File::createTempFile("lumenfold-fuzz-settings");
    ~SettingsFolder() { folder.deleteRecursively(); }
};
std::unique_ptr<SettingsFolder> settingsFolder;
juce::File settingsFile;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    zylfuzz::initialise();
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Standalone);
    filter = std::make_unique<zyltest::LumenfoldTestFilter>(&ports);
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
    filter->initialise();
    zylfuzz::deliverMessages();
    filter->getStateInformation(factoryState);
    settingsFolder = std::make_unique<SettingsFolder>();
    settingsFolder->folder.createDirectory();
    settingsFile = settingsFolder->folder.getChildFile("lumenfold.settings");
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    if (!settingsFile.replaceWithData(data, size))
        zylfuzz::fail("the settings file could not be written");

    // What the program's start does: the guard moves a file that is not safe to parse aside,
    // then the properties file reads what is left.
    const auto opened = lumenfoldApplication::openSettingsFile(settingsFile);
    // The folder is writable: a damaged file is always moved aside, never left unread in place.
    auto* file = dynamic_cast<juce::PropertiesFile*>(opened.get());
    if (file == nullptr)
        zylfuzz::fail("a settings file was left in place");
    auto& settings = *file;
    MainAppWindow::readAudioSetup(settings);
    settings.getIntValue("windowX");
    settings.getIntValue("windowY");
    // A change is saved as the program saves it, which parses every value that looks like XML
    // again.
    settings.setValue("windowX", 1);
    if (!settings.saveIfNeeded())
        zylfuzz::fail("the settings file could not be saved");
    if (settings.getValue("filterState").isEmpty())
        return 0;

    juce::MemoryBlock before;
    filter->getStateInformation(before);
    MainAppWindow::loadStoredState(settings, *filter);
    zylfuzz::deliverMessages();

    // What one input loaded never shapes the next.
    juce::MemoryBlock after;
    filter->getStateInformation(after);
    if (!zylfuzz::sameBytes(before, after))
    {
        filter->setStateInformation(factoryState.getData(), static_cast<int>(factoryState.getSize()));
        zylfuzz::deliverMessages();
    }
    return 0;
}
