#pragma once

#include "framework/ZylEditor.h"
#include "ui/ZylTooltipHost.h"

#include <memory>

class ZylGridPanel;
class ZylHeaderPanel;
class ZylHelpPanel;
class ZylHelpModule;
class ZylLumenfoldLookAndFeel;
class ZylMidiPanel;
class ZylPianoPanel;
class ZylSpacePanel;
class ZylSynthPanel;

// The product's editor: the header along the top right of the application logo; below it the
// grid panel over the piano panel on the left, and the space, MIDI and synth panels one under
// the other on the right. The application logo, the vendor logo and the version number are
// drawn over the panels. The help panel belongs to the editor but is not shown in it: the help
// module shows it in a window of its own.
//
// The first editor installs the product's look-and-feel as the framework default and removes
// it again when it goes; an editor made while the default is already the product's leaves it
// alone. Message thread only.
class ZylLumenfoldEditor : public ZylEditor
{
public:
    // Spacing of the layout, in pixels.
    static constexpr int kLogoWidth = 167;
    static constexpr int kEdge = 7;
    static constexpr int kGap = 4;
    static constexpr int kRightColumnWidth = 290;
    static constexpr int kSynthHeight = 65;
    static constexpr int kHelpWidth = 320;
    static constexpr int kHelpHeight = 470;
    static constexpr float kVersionFontHeight = 18.0f;
    // Cache keys of the help panel's pages: About, then Help.
    static constexpr const char* kAboutPageKey = "lumenfold/aboutvstasio.svg";
    static constexpr const char* kHelpPageKey = "lumenfold/help1.svg";

    // Gold darkened by 0.3.
    static juce::Colour versionColour();

    explicit ZylLumenfoldEditor(ZylFilter& owner);
    ~ZylLumenfoldEditor() override;

    void paint(juce::Graphics& g) override;
    void paintOverChildren(juce::Graphics& g) override;
    void resized() override;

    // Measures the content at its preferred size and resizes the editor to it, keeping its
    // position.
    void fitToContent() override;
    // Lays the panels out at the current size.
    void layoutPanels() override;
    // The editor's size for width x height (0 for either: the content's preferred extent) into
    // outWidth x outHeight; unless measureOnly, the panels are placed for that size.
    virtual void layoutPanels(int width, int height, int& outWidth, int& outHeight,
                              bool measureOnly);

    ZylHeaderPanel* getHeaderPanel() const noexcept { return headerPanel.get(); }
    ZylMidiPanel* getMidiPanel() const noexcept { return midiPanel.get(); }
    ZylSynthPanel* getSynthPanel() const noexcept { return synthPanel.get(); }
    ZylSpacePanel* getSpacePanel() const noexcept { return spacePanel.get(); }
    ZylGridPanel* getGridPanel() const noexcept { return gridPanel.get(); }
    ZylPianoPanel* getPianoPanel() const noexcept { return pianoPanel.get(); }
    ZylHelpPanel* getHelpPanel() const noexcept { return helpPanel.get(); }
    // "2.5" for version 2.5.544.
    juce::String getVersionText() const;
    const juce::DrawableText* getVersionDrawable() const noexcept { return versionText.get(); }
    const juce::Drawable* getApplicationLogo() const noexcept { return appLogo.get(); }
    const juce::Drawable* getVendorLogo() const noexcept { return vendorLogo.get(); }
    // Null while the pointer rests (ZylTooltipHost).
    const juce::TooltipWindow* getTooltipWindow() const noexcept
    {
        return tooltips != nullptr ? tooltips->getWindow() : nullptr;
    }
    // The look-and-feel this editor installed, or null when it found the product's in place.
    const ZylLumenfoldLookAndFeel* getOwnLookAndFeel() const noexcept { return ownLookAndFeel.get(); }

private:
    ZylHelpModule* getHelpModule() const;
    void setUpHelp();

    std::unique_ptr<ZylLumenfoldLookAndFeel> ownLookAndFeel;
    std::unique_ptr<ZylTooltipHost> tooltips;
    std::unique_ptr<juce::Drawable> vendorLogo;
    std::unique_ptr<juce::Drawable> appLogo;
    std::unique_ptr<juce::DrawableText> versionText;
    std::unique_ptr<ZylHeaderPanel> headerPanel;
    std::unique_ptr<ZylMidiPanel> midiPanel;
    std::unique_ptr<ZylSynthPanel> synthPanel;
    std::unique_ptr<ZylSpacePanel> spacePanel;
    std::unique_ptr<ZylGridPanel> gridPanel;
    std::unique_ptr<ZylPianoPanel> pianoPanel;
    std::unique_ptr<ZylHelpPanel> helpPanel;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZylLumenfoldEditor)
};
