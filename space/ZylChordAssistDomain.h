#pragma once

#include "framework/ZylRealDomain.h"

#include <string>

class ZylSpaceDomainSet;
class ZylValue;

// How the chord for a root cell is chosen. Modes are recognised by comparing a parameter's
// current value object with the getters below, never by id or name. The default is "Ch Root",
// the second value. Ids are list positions and are stored in programs.
class ZylChordAssistDomain : public ZylRealDomain
{
public:
    explicit ZylChordAssistDomain(ZylSpaceDomainSet* owner);
    ~ZylChordAssistDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    ZylValue* getChAnywhValue() const noexcept { return chAnywh; }
    ZylValue* getChRootValue() const noexcept { return chRoot; }
    ZylValue* getChFullValue() const noexcept { return chFull; }
    ZylValue* getFitCompValue() const noexcept { return fitComp; }
    ZylValue* getFitBestValue() const noexcept { return fitBest; }
    ZylValue* getFitCyclValue() const noexcept { return fitCycl; }
    ZylValue* getFitRandValue() const noexcept { return fitRand; }

private:
    ZylValue* chAnywh = nullptr;
    ZylValue* chRoot = nullptr;
    ZylValue* chFull = nullptr;
    ZylValue* fitComp = nullptr;
    ZylValue* fitBest = nullptr;
    ZylValue* fitCycl = nullptr;
    ZylValue* fitRand = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylChordAssistDomain)
};
