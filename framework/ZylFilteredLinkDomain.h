#pragma once

#include "framework/ZylDomain.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylValueListObserver.h"

#include <vector>

// A view on another domain (the linked domain) that owns no values. While a filter tag is set
// it shows only the linked values carrying the tag, in the linked order, with view positions
// spread evenly over them (the values' own positions never change). Without a tag it behaves
// exactly like the linked domain. Id and data lookups, the lock, the texts, commands and XML
// always go to the linked domain. All view state is guarded by the linked domain's lock; the
// linked domain must outlive this view. When the linked domain rebuilds its list, the view
// re-filters inside that rebuild and has its own observers re-select there too.
class ZylFilteredLinkDomain : public ZylDomain, public ZylMessageSink, public ZylValueListObserver
{
public:
    explicit ZylFilteredLinkDomain(ZylDomain* linkedDomain);
    ~ZylFilteredLinkDomain() override;

    ZylDomainSet* getDomainSet() const override;
    std::wstring getShortName() const override;
    std::wstring getName() const override;
    std::wstring getDescription() const override;
    const ZylValueList& getValues() const override;
    bool hasFixedValues() const override;
    bool hasDynamicValues() const override;
    void distributePositions() override;
    void assignPositions(float start, float step) override;
    void assignSequentialData() override;
    void renumberIndexes() override;
    void renumberIds() override;
    // While filtering, a value that the view does not show has no neighbours: null.
    ZylValue* getNext(ZylValue* value, int n) const override;
    ZylValue* getPrevious(ZylValue* value, int n) const override;
    ZylValue* findById(int id) const override;
    ZylValue* findByPosition(float x) const override;
    ZylValue* findByData(double x) const override;
    ZylValue* findByName(const std::wstring& text) const override;
    ZylValue* findByNumericName(double x) const override;
    // While filtering: the first shown value, null when none carries the tag.
    ZylValue* getDefaultValue() const override;
    juce::CriticalSection& getLock() const override;
    ZylDomainCommand* findCommand(int id) const override;
    void postCommand(ZylDomainCommand* command) override;
    int getControlType() const override;
    bool isValidNumber(float x) const override;
    void clearValues() override;
    void clearCommands() override;
    std::unique_ptr<juce::XmlElement> createXml() const override;
    void restoreFromXml(const juce::XmlElement* element, bool notify) override;
    const ZylDomainCommandList& getCommands() const override;
    // linked false, while filtering: the place in the view (-1 when not shown) and the view
    // position (0 when not shown); otherwise the value's own index and position.
    int getIndexOf(const ZylValue* value, bool linked) const override;
    float getPositionOf(const ZylValue* value, bool linked) const override;

    // Rebuilds the view for tag (0 shows everything) under the linked lock, has the parameters
    // on the view re-select inside it and posts kDomainListRebuilt from this domain, whether or
    // not anything changed.
    virtual void setFilterTag(int tag);
    virtual int getFilterTag() const;
    virtual bool isFiltering() const;

    // Re-posts what the linked domain posts, keeping code and time; the sender becomes this
    // view when it was the linked domain.
    void receiveMessage(void* sender, int code, int timeMs) override;

    // The linked domain rebuilt its list: the view is filtered anew from it and its observers
    // re-select; the linked domain's kDomainListRebuilt is re-posted when it arrives.
    void valueListRebuilt(ZylDomain& rebuilt) override;

    ZylDomain* getLinkedDomain() const noexcept { return linkedDomain; }

private:
    int placeOf(const ZylValue* value) const;
    // Fills the view from the linked list for the current tag; under the linked lock.
    void refilter();

    ZylDomain* linkedDomain;
    int filterTag = 0;
    ZylValueList filteredValues;
    std::vector<float> filteredPositions;
    ZylValue* filteredDefault = nullptr;
};
