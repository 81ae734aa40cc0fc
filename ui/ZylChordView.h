#pragma once

#include "ui/ZylStatusView.h"

class ZylSpaceModule;

// Shows the chord played last and the chord the selected cell would play next, each as a root
// name in larger type followed by its chord type. It lives in the space panel.
class ZylChordView : public ZylStatusView
{
public:
    explicit ZylChordView(ZylEditor* editor);
    ~ZylChordView() override;

    // The left edge of the chord type: 12 pixels further right after a root of two characters.
    static int getChordTypeX(const juce::String& rootName, bool next);

    void paintOverChildren(juce::Graphics& g) override;
    bool handleMessage(void* sender, int code, int timeMs) override;
    void refresh() override;

    const juce::String& getLastChordName() const noexcept { return lastChordName; }
    const juce::String& getNextChordName() const noexcept { return nextChordName; }
    const juce::String& getLastRootName() const noexcept { return lastRootName; }
    const juce::String& getNextRootName() const noexcept { return nextRootName; }

private:
    ZylSpaceModule* getSpaceModule() const;

    juce::String lastChordName;
    juce::String nextChordName;
    juce::String lastRootName;
    juce::String nextRootName;
    juce::Font rootFont;
    juce::Font typeFont;
    juce::Colour lastColour;
    juce::Colour nextColour;
    ZylSpaceModule* spaceModule = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylChordView)
};
