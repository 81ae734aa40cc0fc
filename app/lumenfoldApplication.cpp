#include "app/lumenfoldApplication.h"

#include "app/ZylLumenfoldFilter.h"
#include "framework/ZylDebug.h"

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
    return JUCE_APPLICATION_VERSION_STRING;
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
    options.filterFactory = [] { return std::unique_ptr<juce::AudioProcessor>(createPluginFilter()); };
    return options;
}
