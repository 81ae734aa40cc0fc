#pragma once

#include "framework/ZylRealDomain.h"

#include <string>

class ZylSpaceDomainSet;
class ZylValue;

// What triggers chords: the mouse and the space bar, or incoming MIDI notes. Modes are
// recognised by comparing a parameter's current value object with the getters below. The list
// order (Mouse Cl, Midi Clk, Midi Hvr, Midi Nte, Midi Mod) is the saved format: ids are list
// positions, so a stored id 2 is "Midi Hvr".
class ZylCellTriggerDomain : public ZylRealDomain
{
public:
    explicit ZylCellTriggerDomain(ZylSpaceDomainSet* owner);
    ~ZylCellTriggerDomain() override;

    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;

    ZylValue* getMouseClValue() const noexcept { return mouseCl; }
    ZylValue* getMidiHvrValue() const noexcept { return midiHvr; }
    ZylValue* getMidiClkValue() const noexcept { return midiClk; }
    ZylValue* getMidiNteValue() const noexcept { return midiNte; }
    ZylValue* getMidiModValue() const noexcept { return midiMod; }

private:
    ZylValue* mouseCl = nullptr;
    ZylValue* midiHvr = nullptr;
    ZylValue* midiClk = nullptr;
    ZylValue* midiNte = nullptr;
    ZylValue* midiMod = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylCellTriggerDomain)
};
