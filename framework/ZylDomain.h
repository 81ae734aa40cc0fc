#pragma once

#include "framework/ZylMessageSource.h"

#include <juce_core/juce_core.h>

#include <memory>
#include <string>
#include <vector>

class ZylDomainSet;
class ZylValue;
class ZylDomainCommand;
class ZylValueListObserver;

using ZylValueList = std::vector<ZylValue*>;
using ZylDomainCommandList = std::vector<ZylDomainCommand*>;

// Control types: which widget a parameter panel shows for a domain's parameters.
constexpr int kControlCombo = 0;
constexpr int kControlRotary = 1;
constexpr int kControlNone = 2; // typed elsewhere (tempo and time signature in the header)
constexpr int kControlRadio = 3;
constexpr int kControlToggle = 4;

// The vocabulary of a parameter: an ordered list of values with a default, optional commands,
// a lock and the texts naming it. No operation takes the lock itself: callers hold getLock()
// while the list may change concurrently. When a domain posts, the sender is its ZylDomain*.
//
// Domain kinds: fixed values (a list built once, values saved by id), dynamic values (a list
// rebuilt at run time, values saved by name), or neither (a typed number checked by
// isValidNumber; the list holds only the default).
//
// A list rebuilt after construction is rebuilt under getLock() and ended with listRebuilt(),
// still under the lock: the observers (the parameters bound to the domain) re-select their
// values at once, and kDomainListRebuilt follows for the sinks.
class ZylDomain : public ZylMessageSource
{
public:
    ZylDomain() = default;
    ~ZylDomain() override = default;

    virtual ZylDomainSet* getDomainSet() const = 0;
    virtual std::wstring getShortName() const = 0;
    virtual std::wstring getName() const = 0;
    virtual std::wstring getDescription() const = 0;
    virtual const ZylValueList& getValues() const = 0;
    virtual bool hasFixedValues() const = 0;
    virtual bool hasDynamicValues() const = 0;
    virtual void distributePositions() = 0;
    virtual void assignPositions(float start, float step) = 0;
    virtual void assignSequentialData() = 0;
    virtual void renumberIndexes() = 0;
    virtual void renumberIds() = 0;
    virtual ZylValue* getNext(ZylValue* value, int n) const = 0;
    virtual ZylValue* getPrevious(ZylValue* value, int n) const = 0;
    virtual ZylValue* findById(int id) const = 0;
    virtual ZylValue* findByPosition(float x) const = 0;
    virtual ZylValue* findByData(double x) const = 0;
    virtual ZylValue* findByName(const std::wstring& text) const = 0;
    virtual ZylValue* findByNumericName(double x) const = 0;
    virtual ZylValue* getDefaultValue() const = 0;
    virtual juce::CriticalSection& getLock() const = 0;
    virtual ZylDomainCommand* findCommand(int id) const = 0;
    virtual void postCommand(ZylDomainCommand* command) = 0;
    virtual int getControlType() const = 0;
    virtual bool isValidNumber(float x) const = 0;
    virtual void clearValues() = 0;
    virtual void clearCommands() = 0;
    virtual std::unique_ptr<juce::XmlElement> createXml() const = 0;
    virtual void restoreFromXml(const juce::XmlElement* element, bool notify) = 0;
    virtual const ZylDomainCommandList& getCommands() const = 0;
    // linked matters only for a filtered view: true asks for the value's own index or position
    // in the underlying domain. A null value gives -1 and 0.
    virtual int getIndexOf(const ZylValue* value, bool linked) const = 0;
    virtual float getPositionOf(const ZylValue* value, bool linked) const = 0;

    // Under getLock(); an observer is kept once and must be removed before it goes.
    void addListObserver(ZylValueListObserver* observer);
    void removeListObserver(ZylValueListObserver* observer);

protected:
    // Ends a rebuild of the value list, which is complete by now (positions, ids, indexes and
    // default set); the rebuilding caller holds getLock(). Every observer re-selects before
    // this returns, then kDomainListRebuilt is posted with this domain as sender.
    void listRebuilt();
    // The observers' half of listRebuilt alone, for a view that passes on its linked domain's
    // rebuild (and re-posts that domain's message when it is delivered).
    void tellListObservers();

private:
    std::vector<ZylValueListObserver*> listObservers;

    JUCE_DECLARE_NON_COPYABLE(ZylDomain)
};
