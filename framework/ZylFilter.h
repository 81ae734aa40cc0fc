#pragma once

#include "framework/ZylFocusController.h"
#include "framework/ZylHostLink.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylMessageSource.h"

#include <juce_audio_processors/juce_audio_processors.h>

#include <memory>
#include <unordered_map>
#include <vector>

class ZylHostParameter;
class ZylModule;
class ZylModuleContainer;
class ZylParameter;
class ZylProgramModule;

// The plug-in processor of the framework: it owns a module container and a root module and maps
// the plug-in interface onto them. Parameters are addressed by host automation index through the
// container's parameter map, programs through the program module, the state through the root
// module's state XML, audio and MIDI through the root module's block chain. Outputs only.
//
// The host sees the parameters through one ZylHostParameter per host index, created by
// initialise; the index-based operations below are what those adapters call. The processor hears
// every parameter of the tree and passes value changes and edit gestures on to the host, except
// changes that came from the host.
//
// Destruction: the sinks are unregistered, then the root module goes (with the whole tree), then
// the container.
//
// It is the module tree's host link: the tree takes the callback lock, suspends and notifies
// the host through that interface only.
class ZylFilter : public juce::AudioProcessor,
                  public ZylMessageSource,
                  public ZylMessageSink,
                  public ZylHostLink
{
public:
    ZylFilter();
    ~ZylFilter() override;

    // Builds the tree: container, root module (createRootModule), its initialise, the sinks, the
    // host's parameter adapters, then the root module's factory bank.
    virtual void initialise();
    // The product's root module; null in the base.
    virtual std::unique_ptr<ZylModule> createRootModule();
    virtual void processModules(juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                bool flag, juce::MidiBuffer& midi);
    // The root module's file operations, the program ones on the current program; not
    // suspended.
    virtual bool saveBankToFile(const juce::File& file);
    virtual bool loadBankFromFile(const juce::File& file);
    virtual bool saveProgramToFile(const juce::File& file);
    virtual bool loadProgramFromFile(const juce::File& file);
    // The wheel-assigned parameter, or null.
    virtual ZylParameter* getFocusedObject() const;
    bool isSuspended() const override;
    // Stores the flag and suspends or resumes processing when it changed (under the callback
    // lock, so a state get or set never overlaps a block); tells every module in every case.
    void setSuspended(bool flag) override;
    // juce::AudioProcessor::getCallbackLock.
    const juce::CriticalSection& getHostCallbackLock() const override;
    // juce::AudioProcessor::updateHostDisplay.
    void notifyHostDisplayChanged() override;
    virtual ZylModuleContainer* getModuleContainer() const;

    const juce::String getName() const override;
    void prepareToPlay(double sampleRate, int maximumExpectedSamplesPerBlock) override;
    void releaseResources() override;
    void processBlock(juce::AudioBuffer<float>& buffer, juce::MidiBuffer& midi) override;
    using juce::AudioProcessor::processBlock;
    // "in0", "in1" ...; "out0", "out1" ...
    const juce::String getInputChannelName(int channelIndex) const override;
    const juce::String getOutputChannelName(int channelIndex) const override;
    bool isInputChannelStereoPair(int index) const override;
    bool isOutputChannelStereoPair(int index) const override;
    double getTailLengthSeconds() const override;
    bool acceptsMidi() const override;
    bool producesMidi() const override;
    juce::AudioProcessorEditor* createEditor() override;
    bool hasEditor() const override;

    // Host automation by index. An index that no parameter has is named "Rsrvd<i>", shows
    // "Reserved", reads 0 and ignores writes. setParameter sets with the host's cause (3).
    int getNumParameters() override;
    const juce::String getParameterName(int index) override;
    float getParameter(int index) override;
    const juce::String getParameterText(int index) override;
    // The forms with a length limit stay juce::AudioProcessor's.
    using juce::AudioProcessor::getParameterName;
    using juce::AudioProcessor::getParameterText;
    void setParameter(int index, float newValue) override;

    int getNumPrograms() override;
    int getCurrentProgram() override;
    // Switches the tree at once, with the host's cause.
    void setCurrentProgram(int index) override;
    const juce::String getProgramName(int index) override;
    void changeProgramName(int index, const juce::String& newName) override;

    // The bank state; suspended for the call.
    void getStateInformation(juce::MemoryBlock& destData) override;
    // The current program's state; not suspended.
    void getCurrentProgramStateInformation(juce::MemoryBlock& destData) override;
    // Suspended for the call. A state that is not this program's changes nothing.
    void setStateInformation(const void* data, int sizeInBytes) override;
    void setCurrentProgramStateInformation(const void* data, int sizeInBytes) override;

    // Value changes (unless from the host or of a parameter the host does not see) and edit
    // gestures of the tree's parameters go to the host.
    void receiveMessage(void* sender, int code, int timeMs) override;

    // The parameter behind a host index, or null.
    ZylParameter* getHostParameter(int index) const;
    // The adapter of a host index, or null.
    ZylHostParameter* getHostParameterAdapter(int index) const;
    ZylFocusController& getFocusController() noexcept { return focusController; }

private:
    ZylProgramModule* getProgramModule() const;
    ZylModule* getRootModule() const;
    void createHostParameters();
    void forwardGesture(int index, const ZylParameter& parameter);
    void endHostGesture(int index);
    // Runs a state operation on the root module with processing suspended for the call, and
    // leaves the suspended flag as it found it. Does nothing without a root module.
    template <typename Operation>
    void withProcessingSuspended(Operation&& operation);

    ZylFocusController focusController;
    bool suspended = false;
    std::unique_ptr<ZylModuleContainer> container;
    std::unique_ptr<ZylModule> rootModule;
    // Owned by juce::AudioProcessor, one per host index.
    std::vector<ZylHostParameter*> hostParameters;
    // The host index of each parameter the host sees, by the sender its messages carry. Only
    // these senders reach the host: the sink also hears internal and command parameters, and
    // may hear other sources, whose senders are no parameter of this tree.
    std::unordered_map<const void*, int> hostIndexBySender;
    // Whether the host was last told that a gesture began, per host index. A gesture message
    // tells the host only a change of the parameter's flag against this; a gesture over before
    // its messages arrive reaches the host as nothing. Gestures still open are ended on the
    // host when the processor goes.
    std::vector<bool> hostGestureOpen;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZylFilter)
};
