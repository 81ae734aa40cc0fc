#pragma once

#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"

// One program of the bank; its name is the program's name.
class ZylProgramValue : public ZylValue
{
public:
    using ZylValue::ZylValue;
    ~ZylProgramValue() override = default;
};

// The bank's 128 programs "Untitled 0" to "Untitled 127" (ids, indexes and list places 0 to
// 127, positions i / 128), the first being the default. Names change at run time (renames,
// loaded states); the list itself never does.
class ZylProgramDomain : public ZylRealDomain
{
public:
    static constexpr int kNumPrograms = 128;

    explicit ZylProgramDomain(ZylDomainSet* owningSet);
    ~ZylProgramDomain() override = default;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;
};
