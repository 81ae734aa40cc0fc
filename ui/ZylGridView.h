#pragma once

#include "ui/ZylSpaceView.h"

#include <memory>

class ZylCellLabelValue;
class ZylKeyValue;
class ZylScaleNoteTable;
class ZylScaleValue;

// The space view of the space module's grid: cells coloured by pitch (the highest note red, the
// lowest blue), greyed and darkened outside the current scale and key, and labelled as the
// Labels parameter asks.
class ZylGridView : public ZylSpaceView
{
public:
    explicit ZylGridView(ZylEditor* editor);
    ~ZylGridView() override;

    // The text of one kind of cell label for a note: the spelled note name with its octave and
    // the scale degree show only on playable cells, the MIDI note number and the pitch class
    // always. Empty for an unknown kind and for a null cell.
    static juce::String makeCellText(int kind, const ZylCell* cell, bool playable,
                                     const ZylScaleNoteTable* table, const ZylScaleValue* scale,
                                     const ZylKeyValue* key);

    // The hue tables, looked up at 127 - note.
    static constexpr float kHighHue = 0.0f;
    static constexpr float kLowHue = 0.6888889f;

    bool handleMessage(void* sender, int code, int timeMs) override;
    juce::Colour getCellColour(const ZylCell* cell) override;
    juce::Colour getUnplayableCellColour(const ZylCell* cell) override;
    juce::String getCellLabel(const ZylCell* cell, bool playable) override;
    juce::String getCellSubLabel(const ZylCell* cell, bool playable) override;
    bool isCellPlayable(const ZylCell* cell) override;

    const ZylCellLabelValue* getLabelValue() const noexcept { return labelValue; }
    const ZylScaleValue* getScaleValue() const noexcept { return scaleValue; }
    const ZylKeyValue* getKeyValue() const noexcept { return keyValue; }

private:
    void readParameters();
    // The table entry of a cell's note; notes outside 0..127 (none on a drawn cell) are clamped.
    static int colourIndex(const ZylCell* cell);

    const ZylCellLabelValue* labelValue = nullptr;
    const ZylScaleValue* scaleValue = nullptr;
    const ZylKeyValue* keyValue = nullptr;
    const ZylScaleNoteTable* scaleTable = nullptr;
    std::unique_ptr<juce::Colour[]> brightColours;
    std::unique_ptr<juce::Colour[]> darkColours;

    JUCE_DECLARE_NON_COPYABLE(ZylGridView)
};
