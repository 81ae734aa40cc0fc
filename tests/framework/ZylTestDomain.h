#pragma once

#include "framework/ZylMessageSink.h"
#include "framework/ZylRealDomain.h"

#include <string>
#include <vector>

// A plain list domain for tests, filled the way vocabularies fill theirs.
class ZylTestDomain : public ZylRealDomain
{
public:
    explicit ZylTestDomain(ZylDomainSet* owningSet = nullptr) : ZylRealDomain(owningSet) {}

    std::wstring getShortName() const override { return L"Test"; }

    // Appends a value named name (data = its place) carrying tags; ids and indexes follow the
    // list places, positions are distributed and the first value is the default.
    ZylValue* add(const std::wstring& name, std::vector<int> tags = {}, int code = 0)
    {
        const ZylIntVector tagList(tags.begin(), tags.end());
        auto* value = addValue(std::make_unique<ZylValue>(
            this, 0, 0.0f, static_cast<double>(getValues().size()), name, L"", L"",
            tags.empty() ? nullptr : &tagList, code));
        distributePositions();
        renumberIds();
        renumberIndexes();
        setDefaultValue(getValues().front());
        return value;
    }

    // Ends a rebuild of the list the way a rebuilding vocabulary does, under the lock.
    void rebuilt()
    {
        const juce::ScopedLock sl(getLock());
        listRebuilt();
    }
};

// Records the messages it receives.
class ZylTestSink : public ZylMessageSink
{
public:
    struct Entry
    {
        void* sender;
        int code;
        int timeMs;
    };

    void receiveMessage(void* sender, int code, int timeMs) override
    {
        entries.push_back({ sender, code, timeMs });
    }

    std::vector<Entry> entries;
};

// The codes the sink received from sender, in arrival order.
inline std::vector<int> codesFrom(const ZylTestSink& sink, const void* sender)
{
    std::vector<int> codes;
    for (const auto& entry : sink.entries)
        if (entry.sender == sender)
            codes.push_back(entry.code);
    return codes;
}
