#include "framework/ZylLinkParameter.h"

#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameterEpoch.h"

#include <functional>
#include <utility>

ZylLinkParameter::ZylLinkParameter(ZylLinkParameterSet* owner, ZylParameter* initialTarget)
    : ownerSet(owner)
{
    setTarget(initialTarget);
}

ZylLinkParameter::~ZylLinkParameter()
{
    setTarget(nullptr);
}

void ZylLinkParameter::setTarget(ZylParameter* newTarget)
{
    auto* oldTarget = target.load();
    // Both targets' locks are held while the registration moves. They are taken in one fixed
    // order (by address), whichever target is old and which new, so that two links re-targeted
    // in opposite directions on two threads cannot each hold the lock the other waits for.
    juce::CriticalSection* locks[2] = { oldTarget != nullptr ? &oldTarget->getLock() : nullptr,
                                        newTarget != nullptr ? &newTarget->getLock() : nullptr };
    if (std::less<juce::CriticalSection*>()(locks[1], locks[0]))
        std::swap(locks[0], locks[1]);
    if (locks[1] == locks[0])
        locks[1] = nullptr;
    for (auto* lock : locks)
        if (lock != nullptr)
            lock->enter();

    // A gesture under way through this link belongs to the old target: it ends there, so that
    // no program keeps a gesture nobody will end. The link's own gesture state follows the new
    // target, and a change of it is posted like any other, so that its listeners (the host)
    // close what they opened.
    bool gestureBefore = false;
    bool gestureAfter = false;
    if (oldTarget != nullptr)
    {
        oldTarget->removeSink(this);
        gestureBefore = oldTarget->isGestureActive();
        if (gestureBefore)
            oldTarget->setGestureActive(false);
    }
    target.store(newTarget);
    ZylParameterEpoch::advance();
    if (newTarget != nullptr)
    {
        newTarget->addSink(this);
        gestureAfter = newTarget->isGestureActive();
    }

    for (auto* lock : { locks[1], locks[0] })
        if (lock != nullptr)
            lock->exit();

    if (gestureBefore != gestureAfter)
        postMessage(asSender(), zylMessageCode(kGestureChanged, kCauseUnspecified));
}

ZylParameter* ZylLinkParameter::getTarget() const
{
    return target.load();
}

int ZylLinkParameter::getId() const
{
    auto* t = target.load();
    return t != nullptr ? t->getId() : 0;
}

void ZylLinkParameter::setValue(float x, int cause, bool force, bool notify)
{
    if (auto* t = target.load())
        t->setValue(x, cause, force, notify);
}

void ZylLinkParameter::setValueObject(ZylValue* value, int cause, bool force, bool notify)
{
    if (auto* t = target.load())
        t->setValueObject(value, cause, force, notify);
}

ZylValue* ZylLinkParameter::getValueObject() const
{
    auto* t = target.load();
    return t != nullptr ? t->getValueObject() : nullptr;
}

int ZylLinkParameter::getIndex() const
{
    auto* t = target.load();
    return t != nullptr ? t->getIndex() : -1;
}

float ZylLinkParameter::getValue() const
{
    auto* t = target.load();
    return t != nullptr ? t->getValue() : 0.0f;
}

ZylDomain* ZylLinkParameter::getDomain() const
{
    auto* t = target.load();
    return t != nullptr ? t->getDomain() : nullptr;
}

std::wstring ZylLinkParameter::getName() const
{
    auto* t = target.load();
    return t != nullptr ? t->getName() : std::wstring();
}

void ZylLinkParameter::setName(const std::wstring& text)
{
    if (auto* t = target.load())
        t->setName(text);
}

std::wstring ZylLinkParameter::getShortName() const
{
    auto* t = target.load();
    return t != nullptr ? t->getShortName() : std::wstring();
}

std::wstring ZylLinkParameter::getFullName() const
{
    auto* t = target.load();
    return t != nullptr ? t->getFullName() : std::wstring();
}

std::wstring ZylLinkParameter::getDescription() const
{
    auto* t = target.load();
    return t != nullptr ? t->getDescription() : std::wstring();
}

bool ZylLinkParameter::isEnabled() const
{
    auto* t = target.load();
    return t != nullptr && t->isEnabled();
}

void ZylLinkParameter::setEnabled(bool flag, bool notify)
{
    if (auto* t = target.load())
        t->setEnabled(flag, notify);
}

std::unique_ptr<juce::XmlElement> ZylLinkParameter::createXml() const
{
    auto* t = target.load();
    return t != nullptr ? t->createXml() : nullptr;
}

void ZylLinkParameter::restoreFromXml(const juce::XmlElement& element, bool force, bool notify)
{
    if (auto* t = target.load())
        t->restoreFromXml(element, force, notify);
}

ZylParameterSet* ZylLinkParameter::getOwnerSet() const
{
    return ownerSet;
}

juce::CriticalSection& ZylLinkParameter::getLock() const
{
    auto* t = target.load();
    return t != nullptr ? t->getLock() : ownLock;
}

int ZylLinkParameter::getAutomationIndex() const
{
    auto* t = target.load();
    return t != nullptr ? t->getAutomationIndex() : -1;
}

bool ZylLinkParameter::isWheelAssigned() const
{
    return wheelAssigned;
}

void ZylLinkParameter::setWheelAssigned(bool flag)
{
    if (flag == wheelAssigned)
        return;
    wheelAssigned = flag;
    postMessage(asSender(), kWheelAssignmentChanged);
}

ZylParameter* ZylLinkParameter::getModulationParameter() const
{
    auto* t = target.load();
    return t != nullptr ? t->getModulationParameter() : nullptr;
}

void ZylLinkParameter::setModulationParameter(ZylParameter* parameter)
{
    if (auto* t = target.load())
        t->setModulationParameter(parameter);
}

void ZylLinkParameter::sendMessage(int code)
{
    if (auto* t = target.load())
        t->sendMessage(code);
}

void ZylLinkParameter::notifyValueChanged(int cause)
{
    if (auto* t = target.load())
        t->notifyValueChanged(cause);
}

void ZylLinkParameter::notifyDomainValueChanged(int cause)
{
    if (auto* t = target.load())
        t->notifyDomainValueChanged(cause);
}

void ZylLinkParameter::notifyDomainValuesChanged(int cause)
{
    if (auto* t = target.load())
        t->notifyDomainValuesChanged(cause);
}

void ZylLinkParameter::notifyWheelAssignmentChanged()
{
    if (auto* t = target.load())
        t->notifyWheelAssignmentChanged();
}

void ZylLinkParameter::notifyValueRejected(int cause)
{
    if (auto* t = target.load())
        t->notifyValueRejected(cause);
}

void ZylLinkParameter::notifyEnabledChanged(int cause)
{
    if (auto* t = target.load())
        t->notifyEnabledChanged(cause);
}

void ZylLinkParameter::notifyGestureChanged(int cause)
{
    if (auto* t = target.load())
        t->notifyGestureChanged(cause);
}

std::wstring ZylLinkParameter::getNamePrefix() const
{
    auto* t = target.load();
    return t != nullptr ? t->getNamePrefix() : std::wstring();
}

void ZylLinkParameter::setNamePrefix(const std::wstring& text)
{
    if (auto* t = target.load())
        t->setNamePrefix(text);
}

std::wstring ZylLinkParameter::getNameSuffix() const
{
    auto* t = target.load();
    return t != nullptr ? t->getNameSuffix() : std::wstring();
}

void ZylLinkParameter::setNameSuffix(const std::wstring& text)
{
    if (auto* t = target.load())
        t->setNameSuffix(text);
}

void ZylLinkParameter::resendValue()
{
    if (auto* t = target.load())
        t->resendValue();
}

bool ZylLinkParameter::isGestureActive() const
{
    auto* t = target.load();
    return t != nullptr && t->isGestureActive();
}

void ZylLinkParameter::setGestureActive(bool flag)
{
    if (auto* t = target.load())
        t->setGestureActive(flag);
}

void ZylLinkParameter::receiveMessage(void* sender, int code, int /*timeMs*/)
{
    auto* t = target.load();
    const bool fromTarget = t != nullptr && sender == t->asSender();
    if (zylCoalescesUndeliveredRepeats(code))
        postCoalescedMessage(fromTarget ? asSender() : sender, code);
    else
        postMessage(fromTarget ? asSender() : sender, code);
}
