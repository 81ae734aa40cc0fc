#pragma once

#include "ui/ZylParamPanel.h"

#include <memory>

class ZylMidiInputGroupModule;
class ZylMidiOutputGroupModule;

// The editor's "Midi" panel: where the MIDI input module takes its notes from (device, channel,
// demo track) and where the MIDI output module sends them (device, channel). It also owns the
// "Midi Settings" dialog, in which ports are opened and closed; the dialog opens on the MIDI
// settings command, whether the main menu or a device list's "Configure..." entry sent it.
class ZylMidiPanel : public ZylParamPanel
{
public:
    static constexpr int kDialogWidth = 570;
    static constexpr int kDialogHeight = 350;

    ZylMidiPanel(ZylEditor* editor, int width);
    ~ZylMidiPanel() override;

    void receiveMessage(void* sender, int code, int timeMs) override;

    virtual ZylMidiInputGroupModule* getInputGroupModule() const;
    virtual ZylMidiOutputGroupModule* getOutputGroupModule() const;
    // Shows the port selector in a modal dialog, then hands the ports now open to both groups'
    // device lists. A second request while the dialog is open is ignored.
    virtual void showMidiSettings();

    bool isShowingMidiSettings() const noexcept { return showingMidiSettings; }

private:
    std::unique_ptr<juce::Drawable> midiIcon;
    bool showingMidiSettings = false;

    JUCE_DECLARE_NON_COPYABLE(ZylMidiPanel)
};
