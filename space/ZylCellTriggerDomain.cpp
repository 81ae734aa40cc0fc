#include "space/ZylCellTriggerDomain.h"

#include "framework/ZylValue.h"
#include "space/ZylSpaceDomainSet.h"

#include <memory>

namespace
{
ZylValue* addTrigger(ZylRealDomain& domain, const wchar_t* name, const wchar_t* label,
                     const wchar_t* description)
{
    return domain.addValue(
        std::make_unique<ZylValue>(&domain, 0, 0.0f, 0.0, name, label, description, nullptr, 0));
}
} // namespace

ZylCellTriggerDomain::ZylCellTriggerDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    mouseCl = addTrigger(
        *this, L"Mouse Cl", L"Mouse click triggers cell",
        L"Cells are triggered by clicking the mouse and/or pressing the space bar. Incoming midi "
        L"notes are rendered in the grid (green cells) and then passed through to midi output "
        L"unaltered.  You can use this to analyze and vizualize existing midi parts.");
    midiClk = addTrigger(
        *this, L"Midi Clk", L"Midi triggers clicked cell",
        L"Incoming midi notes trigger a chord, using the currently clicked cell as the root pitch "
        L"of the chord. You can use this to get the rhythm or beat from a monophonic midi input, "
        L"while at the same time controlling the pitch of the chord yourself interactively with "
        L"the mouse. Pressing space bar acts like a mouse click.");
    midiHvr = addTrigger(
        *this, L"Midi Hvr", L"Midi triggers hovered cell",
        L"Incoming midi notes trigger a chord, using the currently hovered-over cell as the root "
        L"pitch of the chord. You can use this to get the rhythm or beat from a monophonic midi "
        L"input, while at the same time controlling the pitch of the chord yourself "
        L"interactively with the mouse. Mouse clicks do not have effect in this mode.");
    midiNte = addTrigger(
        *this, L"Midi Nte", L"Midi triggers note",
        L"Incoming midi notes trigger a chord, using a cell containing the incoming midi note as "
        L"the root pitch of the chord. You can use this to convert monophonic midi input to "
        L"chords. If there are multiple candidate cells for the same midi note, the one closest "
        L"to the mouse pointer will be selected.");
    midiMod = addTrigger(
        *this, L"Midi Mod", L"Midi triggers note (mod.)",
        L"Like 'Midi triggers note', but the note is first modulated/transposed from the C-Major "
        L"scale/key into the currently selected scale/key. This allows you to play just the "
        L"white keys and still be in key.");
    setDefaultValue(mouseCl);
    distributePositions();
    renumberIds();
    renumberIndexes();
}

ZylCellTriggerDomain::~ZylCellTriggerDomain() = default;

std::wstring ZylCellTriggerDomain::getShortName() const { return L"Trigger"; }

std::wstring ZylCellTriggerDomain::getName() const { return L"Cell Trigger"; }

std::wstring ZylCellTriggerDomain::getDescription() const
{
    return L"The Cell Trigger parameter controls what happens to cells when lumenfold receives "
           L"mouse clicks, space bar presses and/or incoming midi notes)";
}
