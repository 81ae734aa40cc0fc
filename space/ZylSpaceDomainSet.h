#pragma once

#include "framework/ZylDomainSet.h"

class ZylCellLabelDomain;
class ZylCellTriggerDomain;
class ZylChordAssistDomain;
class ZylChordDomain;
class ZylChordFilterDomain;
class ZylKeyDomain;
class ZylOnClickDomain;
class ZylScaleDomain;
class ZylSpaceDomain;
class ZylVoicingDomain;

// The ten vocabularies of the space module, created in place order and owned by the set. Every
// vocabulary is fixed once built; constructing the set lays out the 50 grids of the Space
// domain.
class ZylSpaceDomainSet : public ZylDomainSet
{
public:
    // A domain's place in getDomains().
    enum Place
    {
        kSpacePlace = 0,
        kCellLabelPlace = 1,
        kKeyPlace = 2,
        kScalePlace = 3,
        kChordFilterPlace = 4,
        kChordPlace = 5,
        kChordAssistPlace = 6,
        kVoicingPlace = 7,
        kCellTriggerPlace = 8,
        kOnClickPlace = 9,
        kNumPlaces = 10
    };

    ZylSpaceDomainSet();
    ~ZylSpaceDomainSet() override;

    ZylSpaceDomain* getSpaceDomain() const noexcept { return spaceDomain; }
    ZylCellLabelDomain* getCellLabelDomain() const noexcept { return cellLabelDomain; }
    ZylKeyDomain* getKeyDomain() const noexcept { return keyDomain; }
    ZylScaleDomain* getScaleDomain() const noexcept { return scaleDomain; }
    ZylChordFilterDomain* getChordFilterDomain() const noexcept { return chordFilterDomain; }
    ZylChordDomain* getChordDomain() const noexcept { return chordDomain; }
    ZylChordAssistDomain* getChordAssistDomain() const noexcept { return chordAssistDomain; }
    ZylVoicingDomain* getVoicingDomain() const noexcept { return voicingDomain; }
    ZylCellTriggerDomain* getCellTriggerDomain() const noexcept { return cellTriggerDomain; }
    ZylOnClickDomain* getOnClickDomain() const noexcept { return onClickDomain; }

private:
    ZylSpaceDomain* spaceDomain = nullptr;
    ZylCellLabelDomain* cellLabelDomain = nullptr;
    ZylKeyDomain* keyDomain = nullptr;
    ZylScaleDomain* scaleDomain = nullptr;
    ZylChordFilterDomain* chordFilterDomain = nullptr;
    ZylChordDomain* chordDomain = nullptr;
    ZylChordAssistDomain* chordAssistDomain = nullptr;
    ZylVoicingDomain* voicingDomain = nullptr;
    ZylCellTriggerDomain* cellTriggerDomain = nullptr;
    ZylOnClickDomain* onClickDomain = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylSpaceDomainSet)
};
