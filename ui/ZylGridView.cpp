#include "ui/ZylGridView.h"

#include "ui/ZylGuiHelpers.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "space/ZylCell.h"
#include "space/ZylCellLabelDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "space/ZylSpaceModule.h"

ZylGridView::ZylGridView(ZylEditor* owner)
    : ZylSpaceView(owner),
      brightColours(makeHueColourTable(kHighHue, kLowHue, 0.7f, 0.7f)),
      darkColours(makeHueColourTable(kHighHue, kLowHue, 0.3f, 0.27f))
{
    viewIndex = kGridViewIndex;
    setZoom(100.0);

    auto* module = getSpaceModule();
    if (module == nullptr)
        return;
    scaleTable = module->getScaleNoteTable();
    if (auto* live = module->getGridSpace())
    {
        const juce::ScopedLock sl(live->getLock());
        setSpace(live);
        readParameters();
    }
    module->addParameterSink(this, false);
    // A view made after the state was loaded has missed the On Click message that set the rule.
    applyHoverRule();
}

ZylGridView::~ZylGridView()
{
    if (auto* module = getSpaceModule())
        module->removeParameterSink(this, false);
}

void ZylGridView::readParameters()
{
    auto* module = getSpaceModule();
    if (auto* p = module->getLabelParameter())
        labelValue = dynamic_cast<const ZylCellLabelValue*>(p->getValueObject());
    if (auto* p = module->getScaleParameter())
        scaleValue = dynamic_cast<const ZylScaleValue*>(p->getValueObject());
    if (auto* p = module->getKeyParameter())
        keyValue = dynamic_cast<const ZylKeyValue*>(p->getValueObject());
}

bool ZylGridView::handleMessage(void* sender, int code, int timeMs)
{
    auto* module = getSpaceModule();
    if (space != nullptr && module != nullptr && sender != nullptr)
    {
        auto* labels = module->getLabelParameter();
        auto* scales = module->getScaleParameter();
        auto* keys = module->getKeyParameter();
        if (isSender(sender, labels) || isSender(sender, scales) || isSender(sender, keys))
        {
            {
                const juce::ScopedLock sl(space->getLock());
                if (isSender(sender, labels))
                    labelValue = dynamic_cast<const ZylCellLabelValue*>(labels->getValueObject());
                else if (isSender(sender, scales))
                    scaleValue = dynamic_cast<const ZylScaleValue*>(scales->getValueObject());
                else
                    keyValue = dynamic_cast<const ZylKeyValue*>(keys->getValueObject());
            }
            labelTextsChanged();
            repaintAll();
            return true;
        }
    }
    return ZylSpaceView::handleMessage(sender, code, timeMs);
}

int ZylGridView::colourIndex(const ZylCell* cell)
{
    const int note = cell != nullptr ? cell->getNote() : 0;
    return ZylScaleNoteTable::kHighestNote - juce::jlimit(0, ZylScaleNoteTable::kHighestNote, note);
}

juce::Colour ZylGridView::getCellColour(const ZylCell* cell)
{
    return brightColours[static_cast<size_t>(colourIndex(cell))];
}

juce::Colour ZylGridView::getUnplayableCellColour(const ZylCell* cell)
{
    return darkColours[static_cast<size_t>(colourIndex(cell))];
}

bool ZylGridView::isCellPlayable(const ZylCell* cell)
{
    return cell != nullptr && cell->isPlayable() && scaleTable != nullptr
           && scaleTable->contains(cell->getNote(), scaleValue, keyValue);
}

juce::String ZylGridView::makeCellText(int kind, const ZylCell* cell, bool playable,
                                       const ZylScaleNoteTable* table, const ZylScaleValue* scale,
                                       const ZylKeyValue* key)
{
    if (cell == nullptr)
        return {};
    const int note = cell->getNote();
    switch (kind)
    {
    case ZylCellLabelValue::kNoteName:
        return playable && table != nullptr ? juce::String(table->getNoteName(note, scale, key, true).c_str())
                                            : juce::String();
    case ZylCellLabelValue::kMidiNoteNumber:
        return juce::String(note);
    case ZylCellLabelValue::kScaleDegree:
        return playable ? juce::String(getDegreeName(note, scale, key).c_str()) : juce::String();
    case ZylCellLabelValue::kPitchClass:
        return juce::String(note % 12);
    default:
        return {};
    }
}

juce::String ZylGridView::getCellLabel(const ZylCell* cell, bool playable)
{
    if (labelValue == nullptr)
        return {};
    return makeCellText(labelValue->getLabelKind(), cell, playable, scaleTable, scaleValue, keyValue);
}

juce::String ZylGridView::getCellSubLabel(const ZylCell* cell, bool playable)
{
    if (labelValue == nullptr)
        return {};
    return makeCellText(labelValue->getSubscriptKind(), cell, playable, scaleTable, scaleValue, keyValue);
}
