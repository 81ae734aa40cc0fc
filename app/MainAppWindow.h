#pragma once

#include "app/ZylRepaintPump.h"

#include <juce_audio_utils/juce_audio_utils.h>

#include <functional>
#include <memory>

// The program's main window: hosts the processor and its editor, plays it through an audio
// device manager and an audio processor player, keeps the settings file, and offers the File,
// Settings and Help menus. The File, "Midi Settings..." and Help items go to the modules as
// command messages; "Exit", "Audio Settings..." and "Restore Defaults" are carried out here.
//
// Settings keys: "windowX", "windowY", "audioSetup" (the device manager's state) and
// "filterState" (the processor's whole state, base64). They are read when the window is built
// and written when it is deleted; the settings object is deleted last, which writes the file (a
// file that cannot be written is named in one line on stderr).
//
// On Windows its repaints reach the screen also where the display gives no vertical blank
// (ZylRepaintPump); elsewhere nothing wakes it while nothing changes.
// An audio device that stops on its own (a JACK server that quits) is reported in a box; the
// transport stops, and the processor, released by the player, shows nothing lit. Choosing a
// device in "Audio Settings..." brings the sound back.
// Boxes and dialogs go through ZylUiSeam. Message thread only.
class MainAppWindow : public juce::DocumentWindow,
                      public juce::MenuBarModel,
                      private juce::ChangeListener
{
public:
    // What the window is built with besides its settings. The defaults are the program's own;
    // tests replace them.
    struct Options
    {
        // Makes the processor; null when it could not be made.
        std::function<std::unique_ptr<juce::AudioProcessor>()> filterFactory;
        // Makes the audio device manager (a plain one by default).
        std::function<std::unique_ptr<juce::AudioDeviceManager>()> deviceManagerFactory;
        // Ends the program: "Exit", or no processor at start (the application's quit by default).
        std::function<void()> quit;
        // Asks the program to end: the close button (the application's systemRequestedQuit by
        // default).
        std::function<void()> requestQuit;
        // Whether the window lives on the desktop; tests keep it off, needing no display.
        bool addToDesktop = true;
    };

    // Menu item ids.
    enum MenuItem
    {
        loadBankItem = 110,
        loadPresetItem = 111,
        saveBankItem = 120,
        savePresetItem = 121,
        renamePresetItem = 125,
        exitItem = 130,
        audioSettingsItem = 210,
        midiSettingsItem = 220,
        restoreDefaultsItem = 230,
        helpItem = 310,
        productHomeItem = 320,
        onlineManualItem = 330,
        latestUpdatesItem = 340,
        aboutItem = 360
    };

    static constexpr int kWidth = 1001;
    static constexpr int kHeight = 580;
    static constexpr int kMenuBarHeight = 20;

    MainAppWindow(std::unique_ptr<juce::PropertySet> settings, Options options);
    ~MainAppWindow() override;

    void closeButtonPressed() override;
    // The audio device selector in a modal dialog; only with a processor and a device manager.
    virtual void showAudioSettingsDialog();
    // Asks first; on yes replaces the processor and editor with fresh ones and forgets the
    // stored state.
    virtual void restoreDefaults();

    juce::StringArray getMenuBarNames() override;
    juce::PopupMenu getMenuForIndex(int menuIndex, const juce::String& menuName) override;
    void menuItemSelected(int menuItemId, int topLevelMenuIndex) override;

    juce::AudioProcessor* getAudioProcessor() const noexcept { return processor.get(); }
    juce::AudioDeviceManager* getDeviceManager() const noexcept { return deviceManager.get(); }
    juce::AudioProcessorPlayer& getPlayer() noexcept { return player; }
    juce::PropertySet& getSettings() const noexcept { return *settings; }

    // Loads the processor state stored in the settings ("filterState", base64), as the window
    // does when it is built. A value that is not base64 or decodes to nothing is ignored; a
    // state the processor refuses leaves its state in place.
    static void loadStoredState(const juce::PropertySet& settings, juce::AudioProcessor& processor);
    // The stored audio setup, or null when there is none or it is not XML (the device manager
    // then opens the default device).
    static std::unique_ptr<juce::XmlElement> readAudioSetup(const juce::PropertySet& settings);

private:
    // Makes the processor through the factory, replacing (and deleting) any held one.
    void createFilter();
    // The player lets go of the processor first; then the editor and the processor go.
    void deleteFilter();
    void showEditor();
    void quitProgram();
    // The device manager's changes: a current device that no longer plays stopped on its own.
    void changeListenerCallback(juce::ChangeBroadcaster* source) override;
    void audioDeviceStoppedOnItsOwn(const juce::String& deviceName);

    std::unique_ptr<juce::PropertySet> settings;
    Options options;
    std::unique_ptr<juce::AudioDeviceManager> deviceManager;
    juce::AudioProcessorPlayer player;
    std::unique_ptr<juce::AudioProcessor> processor;
    // Whether the current device played at the device manager's last change.
    bool deviceWasPlaying = false;
#if JUCE_WINDOWS
    // Last, so that it stops before anything it could paint goes.
    ZylRepaintPump repaintPump { *this };
#endif

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(MainAppWindow)
};
