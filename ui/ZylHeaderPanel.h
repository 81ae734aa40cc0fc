#pragma once

#include "ui/ZylPanel.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <functional>
#include <memory>

class ZylDrawableButton;
class ZylHelpModule;
class ZylLabel;
class ZylModule;
class ZylParamCombo;
class ZylProgramModule;
class ZylTransportModule;
class ZylValue;

// The strip along the top of the editor: the preset combo, the transport's stop and start
// buttons, the typed tempo and time signature, the song position, and the file and help menus.
// It carries out the program module's preset and bank commands (save, load, rename), whichever
// menu posted them: the file dialogs, the rename prompt and the error boxes all go through the
// interface seam. Message thread only.
class ZylHeaderPanel : public ZylPanel, public juce::Button::Listener, public juce::Label::Listener
{
public:
    // File menu items.
    static constexpr int kLoadBankItem = 110;
    static constexpr int kLoadPresetItem = 111;
    static constexpr int kSaveBankItem = 120;
    static constexpr int kSavePresetItem = 121;
    static constexpr int kRenamePresetItem = 130;
    // Help menu items.
    static constexpr int kHelpItem = 210;
    static constexpr int kProductHomeItem = 220;
    static constexpr int kOnlineManualItem = 230;
    static constexpr int kLatestUpdatesItem = 240;
    static constexpr int kAboutItem = 260;

    static constexpr int kBlinkIntervalMs = 500;

    explicit ZylHeaderPanel(ZylEditor* editor);
    ~ZylHeaderPanel() override;

    virtual void updateTransportDisplay();
    virtual void updateStartButton();
    virtual void resetIndicatorColour();
    virtual void renamePreset();
    virtual void savePreset();
    virtual void loadPreset();
    virtual void savePresetBank();
    virtual void loadPresetBank();
    // The file remembered for the extension (".fxb" or ".fxp") in the program module's
    // properties; when none is, a new "untitled" file of that extension in the user's documents
    // folder.
    virtual juce::File getLastUsedFile(const juce::String& extension) const;
    virtual void setLastUsedFile(const juce::File& file);
    virtual ZylTransportModule* getTransportModule() const;
    virtual ZylProgramModule* getProgramModule() const;
    virtual ZylHelpModule* getHelpModule() const;

    void paint(juce::Graphics& g) override;
    void resized() override;
    int getPreferredHeight() const override;
    int getPreferredWidth() const override;
    void receiveMessage(void* sender, int code, int timeMs) override;
    void buttonClicked(juce::Button* button) override;
    void labelTextChanged(juce::Label* label) override;

    // The two menus and what a chosen item posts (0, a dismissed menu, posts nothing).
    static juce::PopupMenu createFileMenu();
    static juce::PopupMenu createHelpMenu();
    // The command code an item posts, or 0 for none.
    static int commandCodeForMenuItem(int itemId);
    void handleMenuChoice(int itemId);

    ZylParamCombo* getProgramCombo() const noexcept { return programCombo; }
    ZylDrawableButton* getStopButton() const noexcept { return stopButton; }
    ZylDrawableButton* getStartButton() const noexcept { return startButton; }
    ZylDrawableButton* getFileButton() const noexcept { return fileButton; }
    ZylDrawableButton* getHelpButton() const noexcept { return helpButton; }
    ZylLabel* getBpmLabel() const noexcept { return bpmLabel; }
    ZylLabel* getTimeSignatureLabel() const noexcept { return timeSignatureLabel; }
    ZylLabel* getSongPositionLabel() const noexcept { return songPositionLabel; }
    ZylLabel* getIndicatorLabel() const noexcept { return indicatorLabel; }

private:
    ZylDrawableButton* makeButton(const juce::String& name, const juce::Drawable* image,
                                  const juce::String& tooltip);
    ZylLabel* makeLabel(const juce::String& name, const juce::String& text,
                        const juce::String& tooltip, bool listen);
    ZylModule* getRootModule() const;
    // Shows the chooser for a bank or preset file; false when cancelled.
    bool chooseFile(const juce::String& chooserTitle, const juce::String& extension, bool save,
                    juce::File& chosen) const;
    // Runs a state load with the processor suspended, as a host's state restore is.
    bool loadSuspended(const std::function<bool(ZylModule&)>& load);
    void reportFailure(bool ok, const juce::File& file, const juce::String& message);

    // Child components, owned by the panel base.
    ZylParamCombo* programCombo = nullptr;
    ZylDrawableButton* stopButton = nullptr;
    ZylDrawableButton* startButton = nullptr;
    ZylDrawableButton* fileButton = nullptr;
    ZylDrawableButton* helpButton = nullptr;
    ZylLabel* bpmLabel = nullptr;
    ZylLabel* timeSignatureLabel = nullptr;
    ZylLabel* songPositionLabel = nullptr;
    ZylLabel* indicatorLabel = nullptr;

    std::unique_ptr<juce::Drawable> infoImage;
    std::unique_ptr<juce::Drawable> diskImage;
    std::unique_ptr<juce::Drawable> stopImage;
    std::unique_ptr<juce::Drawable> startImage;

    // The state value last read by updateStartButton (not owned).
    ZylValue* transportState = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylHeaderPanel)
};
