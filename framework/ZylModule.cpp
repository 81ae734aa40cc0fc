#include "framework/ZylModule.h"

#include "framework/ZylDomainSet.h"
#include "framework/ZylGeneralDomainSet.h"
#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylModuleMap.h"
#include "framework/ZylParameterMap.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylRealParameter.h"

namespace
{
constexpr int kCommandParameterId = 0;
constexpr int kCommandParameterAutomationIndex = -1;
} // namespace

ZylModule::ZylModule(ZylModuleContainer* owner, std::int32_t moduleId,
                     const std::wstring& moduleName)
    : container(owner),
      id(moduleId),
      name(moduleName),
      globalParameters(std::make_unique<ZylParameterSet>()),
      commandParameters(std::make_unique<ZylParameterSet>()),
      propertySet(std::make_unique<ZylPropertySet>())
{
    ownedPrograms.reserve(kNumPrograms);
    programs.reserve(kNumPrograms);
    for (int i = 0; i < kNumPrograms; ++i)
    {
        ownedPrograms.push_back(std::make_unique<ZylParameterSet>());
        programs.push_back(ownedPrograms.back().get());
    }

    jassert(container != nullptr && container->getGeneralDomains() != nullptr);
    commandParameters->createParameter(
        kCommandParameterId, kCommandParameterAutomationIndex,
        container->getGeneralDomains()->getDomains()[ZylGeneralDomainSet::kNullPlace]);
}

ZylModule::~ZylModule()
{
    // Whatever the initialised flag says now: it can be cleared after initialise registered the
    // module with the reset parameter, and removing a sink that was never added does nothing.
    if (auto* containerParameters = container->getParameters())
        containerParameters->removeSinkFromAll(this);
    destroyTree();
}

void ZylModule::destroyTree()
{
    programLink.reset();
    globalParameters.reset();
    childProgramLink.reset();
    childGlobalLink.reset();
    programs.clear();
    for (auto& program : ownedPrograms)
        program.reset();
    ownedPrograms.clear();
    commandParameters.reset();

    children.clear();
    while (!ownedChildren.empty())
        ownedChildren.pop_back();

    pins.clear();
    ownedPins.clear();
    propertySet.reset();

    for (auto& domainSet : domainSets)
        domainSet.reset();
    domainSets.clear();
}

void ZylModule::receiveMessage(void* sender, int code, int timeMs)
{
    if ((code & 0xff00) == kValueChanged && zylMessageLowByte(code) != kCauseNotModifying)
        changed.store(true);
    handleMessage(sender, code, timeMs);
}

ZylModuleContainer* ZylModule::getContainer() const
{
    return container;
}

std::int32_t ZylModule::getId() const
{
    return id;
}

void ZylModule::setId(std::int32_t newId)
{
    id = newId;
}

std::wstring ZylModule::getName() const
{
    return name;
}

void ZylModule::initialise()
{
    if (auto* containerParameters = container->getParameters())
        containerParameters->addSinkToAll(this);
    initialised = true;
}

ZylParameterSet* ZylModule::getGlobalParameters() const
{
    return globalParameters.get();
}

const std::vector<ZylParameterSet*>& ZylModule::getPrograms() const
{
    return programs;
}

void ZylModule::setCurrentProgram(int index)
{
    // Indexes come from the host and from stored states too: one outside the bank selects
    // nothing rather than a set that does not exist.
    if (!isValidProgramIndex(index) || index == currentProgram || programs.empty())
        return;

    currentProgram = index;
    auto& program = *programs[static_cast<size_t>(index)];
    if (programLink != nullptr)
    {
        // Program sets are built alike (createProgramParameter), so the link set always fits.
        const bool relinked = programLink->relink(program);
        jassert(relinked);
        juce::ignoreUnused(relinked);
    }
    else
        programLink = std::make_unique<ZylLinkParameterSet>(program);
    programLink->resendAll();

    for (auto* child : children)
        child->setCurrentProgram(index);
    programChanged();
}

int ZylModule::getCurrentProgram() const
{
    return currentProgram;
}

ZylLinkParameterSet* ZylModule::getProgramParameters() const
{
    return programLink.get();
}

void ZylModule::programChanged()
{
}

void ZylModule::updateParameters()
{
    globalParameters->resendAll();
    if (programLink != nullptr)
        programLink->resendAll();
    for (auto* child : children)
        child->updateParameters();
}

void ZylModule::stateLoadedPost()
{
    for (auto* child : children)
        child->stateLoadedPost();
}

void ZylModule::stateLoaded()
{
    for (auto* child : children)
        child->stateLoaded();
}

void ZylModule::addParameterSink(ZylMessageSink* sink, bool skipCommand)
{
    globalParameters->addSinkToAll(sink);
    if (programLink != nullptr)
        programLink->addSinkToAll(sink);
    if (!skipCommand)
        commandParameters->addSinkToAll(sink);
    for (auto* child : children)
        child->addParameterSink(sink, skipCommand);
}

void ZylModule::removeParameterSink(ZylMessageSink* sink, bool skipCommand)
{
    for (auto* child : children)
        child->removeParameterSink(sink, skipCommand);
    if (!skipCommand)
        commandParameters->removeSinkFromAll(sink);
    if (programLink != nullptr)
        programLink->removeSinkFromAll(sink);
    globalParameters->removeSinkFromAll(sink);
}

void ZylModule::registerParameters(ZylParameterMap* map)
{
    if (map == nullptr)
        return;
    map->add(globalParameters.get());
    map->add(programLink.get());
    for (auto* child : children)
        child->registerParameters(map);
}

void ZylModule::notifyChildren(bool suspended)
{
    for (auto* child : children)
        child->notifyChildren(suspended);
}

void ZylModule::prepareToPlay(double sampleRate, int blockSize)
{
    for (auto* child : children)
        child->prepareToPlay(sampleRate, blockSize);
}

void ZylModule::releaseResources()
{
    for (auto* child : children)
        child->releaseResources();
}

void ZylModule::processBlock(int numSamples)
{
    changedInBlock.store(changed.exchange(false));
    process(numSamples);
    processPendingReset();
    changedInBlock.store(false);
}

void ZylModule::processAudioMidi(juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                 bool flag, juce::MidiBuffer& midi)
{
    renderAudioMidi(input, output, flag, midi);
}

const std::vector<ZylModule*>& ZylModule::getChildren() const
{
    return children;
}

int ZylModule::getCurrentChildIndex() const
{
    return currentChildIndex;
}

void ZylModule::setCurrentChild(int index)
{
    if (index == currentChildIndex || index < 0 || index >= static_cast<int>(children.size()))
        return;
    currentChildIndex = index;
    auto* child = children[static_cast<size_t>(index)];

    // Children may differ in shape: a link set that does not fit the new child is replaced by
    // one built from it, so the child links never keep stale targets.
    auto pointAt = [](std::unique_ptr<ZylLinkParameterSet>& link, const ZylParameterSet* source) {
        if (source == nullptr)
            return;
        if (link != nullptr && link->relink(*source))
            link->resendAll();
        else
            link = std::make_unique<ZylLinkParameterSet>(*source);
    };
    pointAt(childGlobalLink, child->getGlobalParameters());
    pointAt(childProgramLink, child->getProgramParameters());
}

ZylModule* ZylModule::getCurrentChild() const
{
    if (currentChildIndex < 0 || currentChildIndex >= static_cast<int>(children.size()))
        return nullptr;
    return children[static_cast<size_t>(currentChildIndex)];
}

ZylLinkParameterSet* ZylModule::getChildGlobalParameters() const
{
    return childGlobalLink.get();
}

ZylLinkParameterSet* ZylModule::getChildProgramParameters() const
{
    return childProgramLink.get();
}

ZylGeneralDomainSet* ZylModule::getGeneralDomains() const
{
    return container->getGeneralDomains();
}

const std::vector<ZylPinBase*>& ZylModule::getPins() const
{
    return pins;
}

bool ZylModule::isInitialised() const
{
    return initialised;
}

void ZylModule::setInitialised(bool flag)
{
    initialised = flag;
}

ZylParameterSet* ZylModule::getCommandParameters() const
{
    return commandParameters.get();
}

void ZylModule::clearBlockPins()
{
    for (auto* pin : pins)
        if (pin->isClearedEachBlock())
            pin->clearCables();
}

void ZylModule::clearResetPins()
{
    for (auto* pin : pins)
        if (pin->isClearedOnReset())
            pin->clearCables();
}

void ZylModule::loadFactoryBank()
{
}

juce::String ZylModule::getProgramName(int /*index*/) const
{
    return {};
}

juce::String ZylModule::getPluginName() const
{
    return {};
}

void ZylModule::getVersion(int& major, int& minor, int& build) const
{
    major = versionMajor;
    minor = versionMinor;
    build = versionBuild;
}

juce::String ZylModule::getVersionString() const
{
    return versionText;
}

void ZylModule::setVersion(int major, int minor, int build)
{
    versionMajor = major;
    versionMinor = minor;
    versionBuild = build;
    versionText = juce::String(major) + "." + juce::String(minor) + "." + juce::String(build);
}

int ZylModule::getPluginId() const
{
    return 0;
}

ZylParameter* ZylModule::getCommandParameter() const
{
    const auto& parameters = commandParameters->getParameters();
    return parameters.empty() ? nullptr : parameters.front();
}

ZylPropertySet* ZylModule::getPropertySet() const
{
    return propertySet.get();
}

bool ZylModule::isResetPending() const
{
    return resetPending.load();
}

void ZylModule::setResetPending(bool flag)
{
    resetPending.store(flag);
}

void ZylModule::activate()
{
    setActive(true);
}

void ZylModule::deactivate()
{
    setActive(false);
}

bool ZylModule::isActive() const
{
    return active.load();
}

void ZylModule::setActive(bool flag)
{
    active.store(flag);
}

bool ZylModule::isChanged() const
{
    return changedInBlock.load() || changed.load();
}

void ZylModule::setChanged(bool flag)
{
    changed.store(flag);
    if (!flag)
        changedInBlock.store(false);
}

bool ZylModule::handleMessage(void* sender, int code, int /*timeMs*/)
{
    auto* resetParameter = container->getResetParameter();
    if (resetParameter == nullptr || sender != resetParameter->asSender()
        || zylMessageEvent(code) != kCommandReset)
        return false;

    // Lock order: callback lock, then the reset parameter's domain lock. Holding the callback
    // lock keeps the flag from changing while a block runs.
    const juce::ScopedLock callbackLock(container->getCallbackLock());
    const juce::ScopedLock parameterLock(resetParameter->getLock());
    setResetPending(true);
    return true;
}

void ZylModule::processPendingReset()
{
    if (isResetPending())
        setResetPending(false);
}

void ZylModule::process(int /*numSamples*/)
{
}

void ZylModule::renderAudioMidi(juce::AudioSampleBuffer& /*input*/,
                                juce::AudioSampleBuffer& output, bool /*flag*/,
                                juce::MidiBuffer& midi)
{
    output.clear();
    midi.clear();
    processBlock(output.getNumSamples());
}

ZylParameterSet* ZylModule::getProgramSet(int index) const
{
    return isValidProgramIndex(index) ? programs[static_cast<size_t>(index)] : nullptr;
}

ZylModule* ZylModule::addChild(std::unique_ptr<ZylModule> child)
{
    auto* raw = child.get();
    if (raw == nullptr)
        return nullptr;
    ownedChildren.push_back(std::move(child));
    children.push_back(raw);
    return raw;
}

ZylPinBase* ZylModule::addPin(std::unique_ptr<ZylPinBase> pin)
{
    auto* raw = pin.get();
    if (raw == nullptr)
        return nullptr;
    ownedPins.push_back(std::move(pin));
    pins.push_back(raw);
    return raw;
}

void ZylModule::registerInModuleMap()
{
    container->getModuleMap()->add(this, id);
}

int ZylModule::takeHostAutomationIndex()
{
    return container->getHostParameterCounter().takeNext();
}

int ZylModule::takeInternalAutomationIndex()
{
    return container->getInternalParameterCounter().takeNext();
}

ZylParameter* ZylModule::createProgramParameter(int parameterId, int automationIndex,
                                                ZylDomain* domain,
                                                const std::wstring& parameterName)
{
    ZylParameter* first = nullptr;
    for (auto* program : programs)
    {
        auto* parameter =
            program->createParameter(parameterId, automationIndex, domain, false, parameterName);
        if (first == nullptr)
            first = parameter;
    }
    return first;
}
