#pragma once

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <vector>

class ZylDomain;
class ZylMessageSink;
class ZylParameter;
class ZylRealParameter;

using ZylParameterList = std::vector<ZylParameter*>;

// A tree of owned parameters and child sets. The lists are built at start-up on the message
// thread and never change afterwards, so they are read from any thread without a lock.
// Parameter order is the order of the "pv" elements and the order in which link sets pair their
// links with a program's parameters. Parameters are destroyed in list order, then the child sets.
class ZylParameterSet
{
public:
    ZylParameterSet();
    virtual ~ZylParameterSet();

    virtual const ZylParameterList& getParameters() const;
    virtual const std::vector<ZylParameterSet*>& getChildSets() const;
    virtual void addSinkToAll(ZylMessageSink* sink);
    virtual void removeSinkFromAll(ZylMessageSink* sink);
    // Every parameter re-applies its value with force and notification (cause 5), depth first.
    virtual void resendAll();
    // "ps" with "i" when the id is not 0: the "pv" of every parameter, then one "cs" holding the
    // child sets' "ps" when there are child sets.
    virtual std::unique_ptr<juce::XmlElement> createXml() const;
    // Parameters are matched by id ("unknown parameter id=%d" for others), child sets by
    // position among the "ps" children of a "cs" (every "cs" starts again at the first child
    // set); loading never resets anything first.
    virtual void restoreFromXml(const juce::XmlElement& element, bool notify);
    virtual std::wstring getName() const;
    virtual void setName(const std::wstring& text);
    // Depth first: own parameters in order, then the child sets in order.
    virtual ZylParameter* findByAutomationIndex(int automationIndex) const;
    // Null for ids outside the index built by buildIndex.
    virtual ZylParameter* getParameterById(int id) const;
    virtual std::wstring getNamePrefix() const;
    // Gives every parameter of the tree the prefix; an empty text changes nothing.
    virtual void setNamePrefixForAll(const std::wstring& text);
    virtual std::wstring getNameSuffix() const;
    virtual void setNameSuffixForAll(const std::wstring& text);
    virtual void setId(int newId);
    virtual int getId() const;
    // The first direct child set with that id (not recursive).
    virtual ZylParameterSet* findChildSet(int childId) const;
    // Rebuilds the id index from the parameters' ids (a later repeated id wins).
    virtual void buildIndex();

    // The set owns what is added from now on. Call buildIndex after adding parameters.
    ZylParameter* addParameter(std::unique_ptr<ZylParameter> parameter);
    ZylParameterSet* addChildSet(std::unique_ptr<ZylParameterSet> childSet);

    // Creates a ZylRealParameter owned by this set, appends it and rebuilds the index.
    ZylRealParameter* createParameter(int parameterId, int automationIndex, ZylDomain* domain,
                                      bool ownsDomain = false, const std::wstring& name = {});

private:
    std::vector<std::unique_ptr<ZylParameter>> ownedParameters;
    ZylParameterList parameters;
    std::vector<std::unique_ptr<ZylParameterSet>> ownedChildSets;
    std::vector<ZylParameterSet*> childSets;
    ZylParameterList idIndex;
    std::wstring namePrefix;
    std::wstring nameSuffix;
    std::wstring name;
    int id = 0;

    JUCE_DECLARE_NON_COPYABLE(ZylParameterSet)
};
