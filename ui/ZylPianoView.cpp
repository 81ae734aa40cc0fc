#include "ui/ZylPianoView.h"

#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameter.h"
#include "space/ZylCell.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylLiveSpace.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "space/ZylSpaceModule.h"

ZylPianoView::ZylPianoView(ZylEditor* owner)
    : ZylSpaceView(owner),
      blackKeyColour(juce::Colour(0xff000000).brighter(0.2f)),
      whiteKeyColour(0xfffffff0)
{
    viewIndex = kPianoViewIndex;
    drawOutlines = false;

    auto* module = getSpaceModule();
    if (module == nullptr)
        return;
    scaleTable = module->getScaleNoteTable();
    if (auto* live = module->getPianoSpace())
    {
        const juce::ScopedLock sl(live->getLock());
        setSpace(live);
        if (auto* p = module->getScaleParameter())
            scaleValue = dynamic_cast<const ZylScaleValue*>(p->getValueObject());
        if (auto* p = module->getKeyParameter())
            keyValue = dynamic_cast<const ZylKeyValue*>(p->getValueObject());
    }
    module->addParameterSink(this, false);
    // A view made after the state was loaded has missed the On Click message that set the rule.
    applyHoverRule();
}

ZylPianoView::~ZylPianoView()
{
    if (auto* module = getSpaceModule())
        module->removeParameterSink(this, false);
}

bool ZylPianoView::isBlackKey(int note)
{
    static constexpr bool black[12] = { false, true, false, true, false, false,
                                        true, false, true, false, true, false };
    return note >= 0 && black[note % 12];
}

bool ZylPianoView::handleMessage(void* sender, int code, int timeMs)
{
    auto* module = getSpaceModule();
    if (space != nullptr && module != nullptr && sender != nullptr)
    {
        auto* scales = module->getScaleParameter();
        auto* keys = module->getKeyParameter();
        if (isSender(sender, scales) || isSender(sender, keys))
        {
            {
                const juce::ScopedLock sl(space->getLock());
                if (isSender(sender, scales))
                    scaleValue = dynamic_cast<const ZylScaleValue*>(scales->getValueObject());
                else
                    keyValue = dynamic_cast<const ZylKeyValue*>(keys->getValueObject());
            }
            repaintAll();
            return true;
        }
    }
    return ZylSpaceView::handleMessage(sender, code, timeMs);
}

juce::Colour ZylPianoView::getSelectedCellColour(const ZylCell*)
{
    return juce::Colour(0xffffffff);
}

void ZylPianoView::drawCellLabels(const ZylCell*, const ZylSpace*, juce::Graphics&, bool) {}

juce::Colour ZylPianoView::getCellColour(const ZylCell* cell)
{
    return cell != nullptr && isBlackKey(cell->getNote()) ? blackKeyColour : whiteKeyColour;
}

bool ZylPianoView::isCellPlayable(const ZylCell* cell)
{
    return cell != nullptr && cell->isPlayable() && scaleTable != nullptr
           && scaleTable->contains(cell->getNote(), scaleValue, keyValue);
}
