#pragma once

#include "ui/ZylSpaceView.h"

class ZylKeyValue;
class ZylScaleNoteTable;
class ZylScaleValue;

// The space view of the space module's piano: black and white keys from A0 to C8, keys outside
// the current scale and key greyed, no text and no outlines.
class ZylPianoView : public ZylSpaceView
{
public:
    explicit ZylPianoView(ZylEditor* editor);
    ~ZylPianoView() override;

    // The sharps of C, D, F, G and A.
    static bool isBlackKey(int note);

    bool handleMessage(void* sender, int code, int timeMs) override;
    juce::Colour getSelectedCellColour(const ZylCell* cell) override;
    void drawCellLabels(const ZylCell* cell, const ZylSpace* space, juce::Graphics& g,
                        bool playable) override;
    juce::Colour getCellColour(const ZylCell* cell) override;
    bool isCellPlayable(const ZylCell* cell) override;

    const ZylScaleValue* getScaleValue() const noexcept { return scaleValue; }
    const ZylKeyValue* getKeyValue() const noexcept { return keyValue; }

private:
    juce::Colour blackKeyColour;
    juce::Colour whiteKeyColour;
    const ZylScaleValue* scaleValue = nullptr;
    const ZylKeyValue* keyValue = nullptr;
    const ZylScaleNoteTable* scaleTable = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylPianoView)
};
