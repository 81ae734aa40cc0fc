#include "framework/ZylFilter.h"

#include "framework/ZylEditor.h"
#include "framework/ZylHelpers.h"
#include "framework/ZylHostParameter.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModule.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylParameterMap.h"
#include "framework/ZylProgramModule.h"

namespace
{
constexpr const char* kReservedName = "Rsrvd";
constexpr const char* kReservedText = "Reserved";
constexpr const char* kInputChannelPrefix = "in";
constexpr const char* kOutputChannelPrefix = "out";

juce::String toJuceString(const std::wstring& text)
{
    return juce::String(text.c_str());
}
} // namespace

ZylFilter::ZylFilter()
    : juce::AudioProcessor(
        BusesProperties().withOutput("Output", juce::AudioChannelSet::stereo(), true))
{
}

ZylFilter::~ZylFilter()
{
    // The host hears the end of every gesture it was told began, before the parameters go.
    for (size_t index = 0; index < hostGestureOpen.size(); ++index)
        if (hostGestureOpen[index])
            endHostGesture(static_cast<int>(index));
    if (auto* root = getRootModule())
    {
        root->removeParameterSink(this, false);
        root->removeParameterSink(&focusController, true);
    }
    if (container != nullptr)
        container->setRootModule(nullptr);
    rootModule.reset();
    container.reset();
}

void ZylFilter::initialise()
{
    container = std::make_unique<ZylModuleContainer>();
    container->setFilter(this);

    rootModule = createRootModule();
    container->setRootModule(rootModule.get());
    if (rootModule == nullptr)
        return;

    rootModule->initialise();
    rootModule->addParameterSink(this, false);
    rootModule->addParameterSink(&focusController, true);
    createHostParameters();
    rootModule->loadFactoryBank();
}

void ZylFilter::createHostParameters()
{
    const int count = getNumParameters();
    hostParameters.reserve(static_cast<size_t>(count));
    hostGestureOpen.assign(static_cast<size_t>(count), false);
    for (int i = 0; i < count; ++i)
    {
        auto adapter = std::make_unique<ZylHostParameter>(*this, i);
        hostParameters.push_back(adapter.get());
        addParameter(adapter.release());
        if (auto* parameter = getHostParameter(i))
            hostIndexBySender.emplace(parameter->asSender(), i);
    }
}

std::unique_ptr<ZylModule> ZylFilter::createRootModule()
{
    return {};
}

ZylModule* ZylFilter::getRootModule() const
{
    return rootModule.get();
}

ZylProgramModule* ZylFilter::getProgramModule() const
{
    return container != nullptr ? container->getProgramModule() : nullptr;
}

ZylModuleContainer* ZylFilter::getModuleContainer() const
{
    return container.get();
}

ZylParameter* ZylFilter::getFocusedObject() const
{
    return focusController.getCurrentParameter();
}

bool ZylFilter::isSuspended() const
{
    return suspended;
}

void ZylFilter::setSuspended(bool flag)
{
    if (flag != suspended)
    {
        suspended = flag;
        suspendProcessing(flag);
    }
    if (auto* root = getRootModule())
        root->notifyChildren(flag);
}

const juce::CriticalSection& ZylFilter::getHostCallbackLock() const
{
    return getCallbackLock();
}

void ZylFilter::notifyHostDisplayChanged()
{
    updateHostDisplay();
}

const juce::String ZylFilter::getName() const
{
    auto* root = getRootModule();
    return root != nullptr ? root->getPluginName() : juce::String();
}

void ZylFilter::prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock)
{
    if (auto* root = getRootModule())
        root->prepareToPlay(sampleRate, maximumExpectedSamplesPerBlock);
}

void ZylFilter::releaseResources()
{
    if (auto* root = getRootModule())
        root->releaseResources();
}

void ZylFilter::processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi)
{
    processModules(buffer, buffer, false, midi);
}

void ZylFilter::processModules(juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                               bool flag, juce::MidiBuffer& midi)
{
    // A host lends its play head for one block only (JUCE's player keeps it on its callback's
    // stack): the tree sees it during this block and never after, so a block run outside
    // processBlock (the transport's first block at prepareToPlay) uses the transport's own clock.
    if (container != nullptr)
        container->setPlayHead(getPlayHead());
    if (auto* root = getRootModule())
        root->processAudioMidi(input, output, flag, midi);
    if (container != nullptr)
        container->setPlayHead(nullptr);
}

const juce::String ZylFilter::getInputChannelName(int channelIndex) const
{
    return kInputChannelPrefix + juce::String(channelIndex);
}

const juce::String ZylFilter::getOutputChannelName(int channelIndex) const
{
    return kOutputChannelPrefix + juce::String(channelIndex);
}

bool ZylFilter::isInputChannelStereoPair(int /*index*/) const
{
    return true;
}

bool ZylFilter::isOutputChannelStereoPair(int /*index*/) const
{
    return true;
}

double ZylFilter::getTailLengthSeconds() const
{
    return 0.0;
}

bool ZylFilter::acceptsMidi() const
{
    return true;
}

bool ZylFilter::producesMidi() const
{
    return true;
}

juce::AudioProcessorEditor* ZylFilter::createEditor()
{
    return new ZylEditor(*this);
}

bool ZylFilter::hasEditor() const
{
    return true;
}

ZylParameter* ZylFilter::getHostParameter(int index) const
{
    if (container == nullptr || index < 0)
        return nullptr;
    return container->getParameterMap()->getParameter(index);
}

ZylHostParameter* ZylFilter::getHostParameterAdapter(int index) const
{
    if (index < 0 || index >= static_cast<int>(hostParameters.size()))
        return nullptr;
    return hostParameters[static_cast<size_t>(index)];
}

int ZylFilter::getNumParameters()
{
    return container != nullptr ? container->getParameterMap()->getNumHostParameters() : 0;
}

const juce::String ZylFilter::getParameterName(int index)
{
    auto* parameter = getHostParameter(index);
    if (parameter == nullptr)
        return kReservedName + juce::String(index);
    const juce::ScopedLock sl(parameter->getLock());
    return toJuceString(parameter->getFullName());
}

float ZylFilter::getParameter(int index)
{
    auto* parameter = getHostParameter(index);
    if (parameter == nullptr)
        return 0.0f;
    const juce::ScopedLock sl(parameter->getLock());
    return parameter->getValue();
}

const juce::String ZylFilter::getParameterText(int index)
{
    auto* parameter = getHostParameter(index);
    if (parameter == nullptr)
        return kReservedText;
    return toJuceString(parameter->getValueText());
}

void ZylFilter::setParameter(int index, float newValue)
{
    if (auto* parameter = getHostParameter(index))
        parameter->setHostValue(newValue, kCauseHost);
}

int ZylFilter::getNumPrograms()
{
    // The host needs at least one program even in a tree without a program module.
    auto* programs = getProgramModule();
    return programs != nullptr ? juce::jmax(1, programs->getNumPrograms()) : 1;
}

int ZylFilter::getCurrentProgram()
{
    auto* programs = getProgramModule();
    return programs != nullptr ? juce::jmax(0, programs->getCurrentProgram()) : 0;
}

void ZylFilter::setCurrentProgram(int index)
{
    if (auto* programs = getProgramModule())
        programs->selectProgram(index, kCauseHost);
}

const juce::String ZylFilter::getProgramName(int index)
{
    auto* programs = getProgramModule();
    return programs != nullptr ? programs->getProgramName(index) : juce::String();
}

void ZylFilter::changeProgramName(int index, const juce::String& newName)
{
    if (auto* programs = getProgramModule())
        programs->setProgramName(index, newName);
}

template <typename Operation>
void ZylFilter::withProcessingSuspended(Operation&& operation)
{
    auto* root = getRootModule();
    if (root == nullptr)
        return;
    const bool wasSuspended = isSuspended();
    if (!wasSuspended)
        setSuspended(true);
    operation(*root);
    setSuspended(wasSuspended);
}

void ZylFilter::getStateInformation(juce::MemoryBlock& destData)
{
    withProcessingSuspended([&](ZylModule& root) { root.saveBankToMemory(destData); });
}

void ZylFilter::getCurrentProgramStateInformation(juce::MemoryBlock& destData)
{
    if (auto* root = getRootModule())
        root->saveProgramToMemory(getCurrentProgram(), destData);
}

void ZylFilter::setStateInformation(const void* data, int sizeInBytes)
{
    withProcessingSuspended([&](ZylModule& root) { root.loadBankFromMemory(data, sizeInBytes); });
}

void ZylFilter::setCurrentProgramStateInformation(const void* data, int sizeInBytes)
{
    withProcessingSuspended(
        [&](ZylModule& root) { root.loadProgramFromMemory(getCurrentProgram(), data, sizeInBytes); });
}

bool ZylFilter::saveBankToFile(const juce::File& file)
{
    auto* root = getRootModule();
    return root != nullptr && root->saveBankToFile(file);
}

bool ZylFilter::loadBankFromFile(const juce::File& file)
{
    auto* root = getRootModule();
    return root != nullptr && root->loadBankFromFile(file);
}

bool ZylFilter::saveProgramToFile(const juce::File& file)
{
    auto* root = getRootModule();
    return root != nullptr && root->saveProgramToFile(getCurrentProgram(), file);
}

bool ZylFilter::loadProgramFromFile(const juce::File& file)
{
    auto* root = getRootModule();
    return root != nullptr && root->loadProgramFromFile(getCurrentProgram(), file);
}

void ZylFilter::receiveMessage(void* sender, int code, int /*timeMs*/)
{
    // A sender is trusted as a parameter only when it is one the host sees.
    const auto found = hostIndexBySender.find(sender);
    if (found == hostIndexBySender.end())
        return;
    const int index = found->second;
    auto* parameter = getHostParameter(index);
    if (parameter == nullptr)
        return;
    const int event = zylMessageEvent(code);

    if (event == zylMessageEvent(kValueChanged))
    {
        if (zylMessageLowByte(code) == kCauseHost)
            return;
        auto* adapter = getHostParameterAdapter(index);
        if (adapter == nullptr)
            return;
        float position = 0.0f;
        {
            const juce::ScopedLock sl(parameter->getLock());
            position = parameter->getValue();
        }
        // The value is already set: only the host's listeners are told, so that a typed number
        // outside 0..1 is never written back clamped.
        adapter->sendValueChangedMessageToListeners(juce::jlimit(0.0f, 1.0f, position));
    }
    else if (event == zylMessageEvent(kGestureChanged))
    {
        forwardGesture(index, *parameter);
    }
}

void ZylFilter::forwardGesture(int index, const ZylParameter& parameter)
{
    // Gesture messages arrive after the fact: the flag as it stands now decides, so that the
    // host hears begin and end strictly paired whatever was missed or repeated on the way.
    const bool active = parameter.isGestureActive();
    const auto place = static_cast<size_t>(index);
    if (place >= hostGestureOpen.size() || active == hostGestureOpen[place])
        return;
    if (active)
    {
        if (auto* adapter = getHostParameterAdapter(index))
        {
            hostGestureOpen[place] = true;
            adapter->beginChangeGesture();
        }
    }
    else
    {
        endHostGesture(index);
    }
}

void ZylFilter::endHostGesture(int index)
{
    hostGestureOpen[static_cast<size_t>(index)] = false;
    if (auto* adapter = getHostParameterAdapter(index))
        adapter->endChangeGesture();
}
