#include "app/lumenfoldApplication.h"

#include "app/ZylLumenfoldFilter.h"
#include "framework/ZylDebug.h"
#include "framework/ZylSettingsFile.h"

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
    // A quit signal during the start is answered once the message loop runs.
    quitSignals = std::make_unique<ZylQuitSignals>([] {
        if (auto* application = juce::JUCEApplicationBase::getInstance())
            application->systemRequestedQuit();
    });
    mainWindow.reset();
    mainWindow = std::make_unique<MainAppWindow>(openSettingsFile(settingsOptions().getDefaultFile()),
                                                 windowOptions());
}

void lumenfoldApplication::shutdown()
{
    mainWindow.reset();
    quitSignals.reset();
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

std::unique_ptr<juce::PropertySet> lumenfoldApplication::openSettingsFile(const juce::File& file)
{
    const auto prepared = ZylSettingsFile::prepare(file);
    const auto path = file.getFullPathName();
    switch (prepared.outcome)
    {
    case ZylSettingsFile::Prepared::Outcome::ready: break;
    case ZylSettingsFile::Prepared::Outcome::movedAside:
        zylNoticeLine("lumenfold: the settings file " + path + " could not be read safely; moved aside to "
                      + prepared.movedTo.getFullPathName() + ", starting with the factory settings");
        break;
    case ZylSettingsFile::Prepared::Outcome::leftInPlace:
        // Settings kept in memory only: the file is never parsed, nor written over at exit.
        zylNoticeLine("lumenfold: the settings file " + path
                      + " could not be read safely nor moved aside; starting with the factory settings, "
                        "which are not saved");
        return std::make_unique<juce::PropertySet>();
    }
    return std::make_unique<juce::PropertiesFile>(file, settingsOptions());
}

MainAppWindow::Options lumenfoldApplication::windowOptions()
{
    MainAppWindow::Options options;
    options.filterFactory = [] { return std::unique_ptr<juce::AudioProcessor>(createPluginFilter()); };
    return options;
}
