#include "space/ZylChordAssistDomain.h"

#include "framework/ZylValue.h"
#include "space/ZylSpaceDomainSet.h"

#include <memory>

namespace
{
ZylValue* addAssist(ZylRealDomain& domain, const wchar_t* name, const wchar_t* label,
                    const wchar_t* description)
{
    return domain.addValue(
        std::make_unique<ZylValue>(&domain, 0, 0.0f, 0.0, name, label, description, nullptr, 0));
}
} // namespace

ZylChordAssistDomain::ZylChordAssistDomain(ZylSpaceDomainSet* owner) : ZylRealDomain(owner)
{
    chAnywh = addAssist(*this, L"Ch Anywh", L"Play chord anywhere",
                        L"Plays the currently selected chord in any cell, even for cells not in "
                        L"the current scale/key");
    chRoot = addAssist(*this, L"Ch Root", L"Play chord if root in key",
                       L"Plays the currently selected chord if the root is in any cell that is "
                       L"part of the scale/key");
    chFull = addAssist(*this, L"Ch Full", L"Play chord if fully in key",
                       L"Plays the currently selected chord if it fully fits in the current "
                       L"scale/key.");
    fitComp = addAssist(*this, L"Fit Comp", L"Fit most compact shape",
                        L"Selects chord that has most compact size starting at current root cell "
                        L"in current space. Disables manual use of the CHORD parameter.");
    fitBest = addAssist(*this, L"Fit Best", L"Fit chord to scale (best)",
                        L"Selects chord starting at current root cell and that is best fit for "
                        L"the currently selected scale/key. Disables manual use of the CHORD "
                        L"parameter.");
    fitCycl = addAssist(*this, L"Fit Cycl", L"Fit chord to scale (cycle)",
                        L"Cycle through all chords starting at current root cell and that fit "
                        L"the currently selected scale/key. Disables manual use of the CHORD "
                        L"parameter.");
    fitRand = addAssist(*this, L"Fit Rand", L"Fit chord to scale (rand)",
                        L"Randomly select from all chords starting at current root cell and that "
                        L"fit the currently selected scale/key. Disables manual use of the CHORD "
                        L"parameter.");
    setDefaultValue(chRoot);
    renumberIndexes();
    distributePositions();
    renumberIds();
}

ZylChordAssistDomain::~ZylChordAssistDomain() = default;

std::wstring ZylChordAssistDomain::getShortName() const { return L"Assist"; }

std::wstring ZylChordAssistDomain::getDescription() const
{
    return L"Assists with picking a chord which fits the current space, with the root note being "
           L"given by the currently selected cell in the space";
}
