#pragma once

#include "framework/ZylRealDomain.h"

#include <string>

class ZylSpaceDomainSet;

// The 10 chord groups. Each value's id and code are its group's tag: the space module sets the
// chord list's filter to the code of the current value, and a tag of 0 ("All", the default)
// lists every chord. Programs store the value by id, so both the ids and the list order belong
// to the saved format.
class ZylChordFilterDomain : public ZylRealDomain
{
public:
    // Group tags carried by the chord values.
    static constexpr int kAll = 0;
    static constexpr int kDyads = 1;
    static constexpr int kTriads = 2;
    static constexpr int kSevenths = 3;
    static constexpr int kUpToDyads = 4;
    static constexpr int kUpToTriads = 5;
    static constexpr int kUpToSevenths = 6;
    static constexpr int kMonads = 7;
    static constexpr int kMoreDyads = 8;
    static constexpr int kMoreTriads = 9;

    explicit ZylChordFilterDomain(ZylSpaceDomainSet* owner);
    ~ZylChordFilterDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    JUCE_DECLARE_NON_COPYABLE(ZylChordFilterDomain)
};
