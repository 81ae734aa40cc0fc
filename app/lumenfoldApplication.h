#pragma once

#include "app/MainAppWindow.h"
#include "app/ZylQuitSignals.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>

// The application: opens the settings file and the main window at start, deletes the window at
// shut-down (which writes the settings). Several instances may run at once; each writes the
// same settings file when it ends, the last one winning.
class lumenfoldApplication : public juce::JUCEApplication
{
public:
    lumenfoldApplication() = default;
    ~lumenfoldApplication() override;

    const juce::String getApplicationName() override;
    const juce::String getApplicationVersion() override;
    bool moreThanOneInstanceAllowed() override;

    void initialise(const juce::String& commandLine) override;
    void shutdown() override;

    void anotherInstanceStarted(const juce::String&) override {}
    void suspended() override {}
    void resumed() override {}
    void unhandledException(const std::exception*, const juce::String&, int) override {}
    void systemRequestedQuit() override;

    // Where and how the settings file is kept: "lumenfold.settings" in a folder "lumenfold" of
    // the user's application data, XML, saved 3 s after a change.
    static juce::PropertiesFile::Options settingsOptions();
    // The settings file at file with those options, after ZylSettingsFile::prepare: what saves
    // left behind is removed, and a file the XML parser could not read safely is moved aside,
    // which one line on stderr tells. When such a file cannot be moved, it is neither read nor
    // written: the settings live in memory only (a plain property set), and a line says so.
    static std::unique_ptr<juce::PropertySet> openSettingsFile(const juce::File& file);
    // How the program's window is built: the product processor, a plain device manager.
    static MainAppWindow::Options windowOptions();

private:
    // SIGTERM and SIGHUP quit as the window's close button does, settings written.
    std::unique_ptr<ZylQuitSignals> quitSignals;
    std::unique_ptr<MainAppWindow> mainWindow;
};
