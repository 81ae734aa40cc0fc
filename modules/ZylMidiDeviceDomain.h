#pragma once

#include "framework/ZylRealDomain.h"

#include <memory>
#include <string>
#include <vector>

// A list of MIDI destinations or sources: a few fixed values, then one value per opened port,
// named after it, with the "Configure..." command (the MIDI settings). The device managers
// rebuild the list whenever their ports change.
class ZylMidiDeviceDomain : public ZylRealDomain
{
public:
    // A value that is always in the list, ahead of the ports.
    struct FixedValue
    {
        const wchar_t* name;
        const wchar_t* label;
        const wchar_t* description;
    };

    // Makes one value of the list (the subclass's value class).
    using ValueFactory = std::unique_ptr<ZylValue> (*)(ZylRealDomain* owner, const std::wstring& name,
                                                       const std::wstring& label,
                                                       const std::wstring& description);

    ~ZylMidiDeviceDomain() override = default;

    bool hasFixedValues() const override;
    bool hasDynamicValues() const override;

    // Rebuilds the list under the domain's lock: the fixed values, then one per port name in the
    // given order; the default is the fixed value at the default index. Posts kDomainListRebuilt
    // every time, also when nothing changed.
    virtual void setDeviceNames(const std::vector<std::wstring>& names);

    // Counts the rebuilds (read under the domain's lock): a value object and this count together
    // name one port, so the audio thread reads a port's name only when one of them changed.
    int getListGeneration() const noexcept { return listGeneration; }

protected:
    ZylMidiDeviceDomain(ZylDomainSet* owningSet, std::vector<FixedValue> fixedValues, int defaultIndex,
                        ValueFactory valueFactory);

private:
    const std::vector<FixedValue> fixed;
    const int defaultIndex;
    const ValueFactory makeValue;
    int listGeneration = 0;
};
