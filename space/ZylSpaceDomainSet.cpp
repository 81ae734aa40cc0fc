#include "space/ZylSpaceDomainSet.h"

#include "space/ZylCellLabelDomain.h"
#include "space/ZylCellTriggerDomain.h"
#include "space/ZylChordAssistDomain.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordFilterDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylOnClickDomain.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylSpaceDomain.h"
#include "space/ZylVoicingDomain.h"

#include <memory>

ZylSpaceDomainSet::ZylSpaceDomainSet()
{
    spaceDomain = addDomain(std::make_unique<ZylSpaceDomain>(this));
    cellLabelDomain = addDomain(std::make_unique<ZylCellLabelDomain>(this));
    keyDomain = addDomain(std::make_unique<ZylKeyDomain>(this));
    scaleDomain = addDomain(std::make_unique<ZylScaleDomain>(this));
    chordFilterDomain = addDomain(std::make_unique<ZylChordFilterDomain>(this));
    chordDomain = addDomain(std::make_unique<ZylChordDomain>(this));
    chordAssistDomain = addDomain(std::make_unique<ZylChordAssistDomain>(this));
    voicingDomain = addDomain(std::make_unique<ZylVoicingDomain>(this));
    cellTriggerDomain = addDomain(std::make_unique<ZylCellTriggerDomain>(this));
    onClickDomain = addDomain(std::make_unique<ZylOnClickDomain>(this));
}

ZylSpaceDomainSet::~ZylSpaceDomainSet() = default;
