#include "app/lumenfoldApplication.h"

#include "app/ZylLumenfoldModule.h"
#include "framework/ZylDebug.h"
#include "framework/ZylFilter.h"
#include "framework/ZylModuleContainer.h"

namespace
{
// The processor the window plays until the product processor takes its place.
class StandInFilter : public ZylFilter
{
public:
    std::unique_ptr<ZylModule> createRootModule() override
    {
        return std::make_unique<ZylLumenfoldModule>(getModuleContainer(), nullptr);
    }
};
} // namespace

lumenfoldApplication::~lumenfoldApplication()
{
    mainWindow.reset();
}

const juce::String lumenfoldApplication::getApplicationName()
{
    return "lumenfold";
}

const juce::String lumenfoldApplication::getApplicationVersion()
{
    return "2.5.0";
}

bool lumenfoldApplication::moreThanOneInstanceAllowed()
{
    return true;
}

void lumenfoldApplication::initialise(const juce::String&)
{
    zylDebugLine("initializing lumenfold");
    mainWindow.reset();
    mainWindow = std::make_unique<MainAppWindow>(
        std::make_unique<juce::PropertiesFile>(settingsOptions()), windowOptions());
}

void lumenfoldApplication::shutdown()
{
    mainWindow.reset();
}

void lumenfoldApplication::systemRequestedQuit()
{
    quit();
}

juce::PropertiesFile::Options lumenfoldApplication::settingsOptions()
{
    juce::PropertiesFile::Options options;
    options.applicationName = "lumenfold";
    options.filenameSuffix = "settings";
    options.folderName = {};
    options.osxLibrarySubFolder = "Preferences";
    options.commonToAllUsers = false;
    options.storageFormat = juce::PropertiesFile::storeAsXML;
    options.millisecondsBeforeSaving = 3000;
    return options;
}

MainAppWindow::Options lumenfoldApplication::windowOptions()
{
    MainAppWindow::Options options;
    options.filterFactory = []() -> std::unique_ptr<juce::AudioProcessor> {
        auto filter = std::make_unique<StandInFilter>();
        filter->initialise();
        return filter;
    };
    return options;
}
