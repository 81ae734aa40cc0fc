#pragma once

#include "framework/ZylMessageSink.h"
#include "framework/ZylPin.h"

#include <juce_audio_basics/juce_audio_basics.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class ZylDomain;
class ZylDomainSet;
class ZylGeneralDomainSet;
class ZylLinkParameterSet;
class ZylModuleContainer;
class ZylParameter;
class ZylParameterMap;
class ZylParameterSet;
class ZylPropertySet;

// The base of every module: a fixed id, a global parameter set, 128 program sets with a link set
// that always shows the current program, a hidden command parameter through which commands and
// the module's own notifications are posted, a property set, children and pins. The tree-wide
// operations visit the children in creation order.
//
// Ownership and destruction: the module owns its parameter sets, children, pins, property set
// and the domain sets handed to adoptDomainSet. They go in this order: link sets before the
// sets they point into, every parameter before any adopted domain, children from the last to
// the first, then pins, property set and domain sets. A subclass keeps the domains its
// parameters use in adopted domain sets (or in objects that outlive the module).
//
// Threads: construction, initialise, messages, program selection and state run on the message
// thread; the per-block chain on the audio thread under the container's callback lock.
class ZylModule : public ZylMessageSink
{
public:
    static constexpr int kNumPrograms = 128;
    static constexpr bool isValidProgramIndex(int index) { return index >= 0 && index < kNumPrograms; }

    // The container's general domain set must exist (the command parameter lies on its Null
    // domain).
    ZylModule(ZylModuleContainer* container, std::int32_t id, const std::wstring& name);
    ~ZylModule() override;

    // A value change the module hears (any cause but kCauseNotModifying) marks it changed; then
    // handleMessage.
    void receiveMessage(void* sender, int code, int timeMs) override;

    virtual ZylModuleContainer* getContainer() const;
    virtual std::int32_t getId() const;
    virtual void setId(std::int32_t newId);
    virtual std::wstring getName() const;
    // Registers the module with the reset parameter and sets initialised. Subclasses call it
    // first, then enter the module in the module map, build domains, parameters and pins,
    // select program 0, and (leaf modules) registerParameters and addParameterSink(this).
    virtual void initialise();
    virtual ZylParameterSet* getGlobalParameters() const;
    virtual const std::vector<ZylParameterSet*>& getPrograms() const;
    // Re-targets the link set at the program (creating it the first time), resends every value
    // of that program with cause 5, then the same in every child. The current program and
    // indexes outside 0..127 change nothing.
    virtual void setCurrentProgram(int index);
    // -1 until a program was selected.
    virtual int getCurrentProgram() const;
    // The current-program link set; null until a program was selected.
    virtual ZylLinkParameterSet* getProgramParameters() const;
    virtual void programChanged();
    virtual void updateParameters();
    virtual void stateLoadedPost();
    virtual void stateLoaded();
    virtual void addParameterSink(ZylMessageSink* sink, bool skipCommand);
    virtual void removeParameterSink(ZylMessageSink* sink, bool skipCommand);
    // Adds the global set and the current-program link set to the map, then the children's.
    virtual void registerParameters(ZylParameterMap* map);
    virtual void notifyChildren(bool suspended);
    virtual void prepareToPlay(double sampleRate, int blockSize);
    virtual void releaseResources();
    // One block of this module: process, processPendingReset. The changed flag is read and
    // cleared at the start, so that a change arriving while the block runs counts for the next.
    virtual void processBlock(int numSamples);
    virtual void processAudioMidi(juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                  bool flag, juce::MidiBuffer& midi);
    virtual const std::vector<ZylModule*>& getChildren() const;
    virtual int getCurrentChildIndex() const;
    // Points the child links at the child's global set and current-program link set: re-targeted
    // and resent when the child has the shape of the previous one; otherwise the child link sets
    // are built anew, and the pointers handed out before no longer belong to the module.
    virtual void setCurrentChild(int index);
    virtual ZylModule* getCurrentChild() const;
    virtual ZylLinkParameterSet* getChildGlobalParameters() const;
    virtual ZylLinkParameterSet* getChildProgramParameters() const;
    virtual ZylGeneralDomainSet* getGeneralDomains() const;
    virtual const std::vector<ZylPinBase*>& getPins() const;
    virtual bool isInitialised() const;
    virtual void setInitialised(bool flag);
    virtual ZylParameterSet* getCommandParameters() const;
    virtual void clearBlockPins();
    virtual void clearResetPins();
    virtual void loadFactoryBank();
    virtual juce::String getProgramName(int index) const;
    virtual juce::String getPluginName() const;
    virtual void getVersion(int& major, int& minor, int& build) const;
    // "major.minor.build"; empty until setVersion.
    virtual juce::String getVersionString() const;
    virtual void setVersion(int major, int minor, int build);
    virtual int getPluginId() const;
    virtual ZylParameter* getCommandParameter() const;
    virtual ZylPropertySet* getPropertySet() const;
    virtual bool isResetPending() const;
    virtual void setResetPending(bool flag);
    virtual void activate();
    virtual void deactivate();
    virtual bool isActive() const;
    virtual void setActive(bool flag);
    // Whether a parameter the module hears changed since its previous block (while a block
    // runs: before it began or since).
    virtual bool isChanged() const;
    virtual void setChanged(bool flag);
    // The base handles the reset command from the container's reset parameter: under the
    // callback lock and then the reset parameter's lock it marks a reset pending. Returns
    // whether the message was handled.
    virtual bool handleMessage(void* sender, int code, int timeMs);
    // Runs at the end of every block; the base clears a pending reset. Overrides do their own
    // reset first when one is pending.
    virtual void processPendingReset();
    virtual void process(int numSamples);
    // Clears the output buffer and the MIDI buffer, then processBlock for the output's length.
    virtual void renderAudioMidi(juce::AudioSampleBuffer& input, juce::AudioSampleBuffer& output,
                                 bool flag, juce::MidiBuffer& midi);

    // State XML (bodies in ZylModuleState.cpp). The writers return new elements the caller owns;
    // "glob", "pgms" and "pgm" come back even when empty, and the caller drops an empty one.
    // "mod": "i", "n" and "v" (the last two only when not empty), "ext" around createExtXml,
    // then "pgm" for one program or "glob" and "pgms" for the bank, then "cm" with the children.
    virtual std::unique_ptr<juce::XmlElement> createXml(bool programOnly, int programIndex) const;
    // Loading never resets anything first: what the element does not mention keeps its value.
    // Child states are found by module id; unknown ids are skipped. notify is passed on to the
    // parameter sets (every load of the program passes false and resends afterwards).
    virtual void restoreFromXml(const juce::XmlElement& element, bool programOnly,
                                int programIndex, bool notify);
    virtual std::unique_ptr<juce::XmlElement> createGlobalXml() const;
    virtual void restoreGlobalXml(const juce::XmlElement& element, bool notify);
    virtual std::unique_ptr<juce::XmlElement> createProgramsXml() const;
    virtual std::unique_ptr<juce::XmlElement> createProgramXml(int index) const;
    virtual void restoreProgramsXml(const juce::XmlElement& element, bool notify);
    // Into the program set of index (the element's "i" is not read); nothing outside 0..127.
    virtual void restoreProgramParameters(int index, const juce::XmlElement& element, bool notify);
    // By the element's "i"; a missing "i" or one outside 0..127 is skipped.
    virtual void restoreProgramXml(const juce::XmlElement& element, bool notify);
    // The module's own element for "ext", or null (the base writes none).
    virtual std::unique_ptr<juce::XmlElement> createExtXml(bool programOnly, int programIndex) const;
    // element is the "ext" element; the module's own element is its first child.
    virtual void restoreExtXml(const juce::XmlElement& element, bool programOnly, int programIndex,
                               bool notify);

    // Whole-tree loads, used on the root module: parse, check, restore, then stateLoaded,
    // stateLoadedPost and updateParameters (every parameter resent with cause 5). False, with
    // nothing changed, when the text does not parse, the state is not this program's, its
    // structure is unusable (a "pgm" index outside 0..127, an "ext" without a child) or the
    // program index lies outside 0..127.
    virtual bool loadBankFromMemory(const void* data, juce::int64 size);
    // The "fxb" document as text followed by one zero byte.
    virtual void saveBankToMemory(juce::MemoryBlock& block) const;
    virtual bool loadProgramFromMemory(int programIndex, const void* data, juce::int64 size);
    // The "fxp" document of one program.
    virtual void saveProgramToMemory(int programIndex, juce::MemoryBlock& block) const;
    // Bank and program files (".fxb", ".fxp"). Saves return whether the file was written; loads
    // whether a state was loaded. Files over 64 MiB are refused before they are read.
    virtual bool saveBankToFile(const juce::File& file) const;
    virtual bool loadBankFromFile(const juce::File& file);
    virtual bool saveProgramToFile(int programIndex, const juce::File& file) const;
    virtual bool loadProgramFromFile(int programIndex, const juce::File& file);
    // The element when its name, major version and kind are this program's; null otherwise.
    virtual std::unique_ptr<juce::XmlElement> checkXml(std::unique_ptr<juce::XmlElement> element,
                                                       const juce::String& expectedTag) const;

    // The program set of an index, null outside 0..127.
    ZylParameterSet* getProgramSet(int index) const;

    // The pin at index as a pin of that cable kind; null when out of range or of another kind.
    template <class CableType>
    ZylPin<CableType>* getPinOfKind(int index) const
    {
        const auto& list = getPins();
        if (index < 0 || index >= static_cast<int>(list.size()))
            return nullptr;
        return dynamic_cast<ZylPin<CableType>*>(list[static_cast<size_t>(index)]);
    }

protected:
    // The module takes these over; see the destruction order above.
    ZylModule* addChild(std::unique_ptr<ZylModule> child);
    ZylPinBase* addPin(std::unique_ptr<ZylPinBase> pin);

    template <class DomainSetType>
    DomainSetType* adoptDomainSet(std::unique_ptr<DomainSetType> domainSet)
    {
        auto* raw = domainSet.get();
        domainSets.push_back(std::move(domainSet));
        return raw;
    }

    // Enters the module in the container's module map under its id.
    void registerInModuleMap();

    // Takes the next index from the container's host (0, 1, 2 ...) or internal (-1, -2 ...)
    // counter.
    int takeHostAutomationIndex();
    int takeInternalAutomationIndex();

    // Creates a parameter with the same id, automation index and domain in every program set
    // (all programs share the index, so the host index addresses the current program through
    // the link set) and rebuilds each set's index. Returns program 0's parameter.
    ZylParameter* createProgramParameter(int parameterId, int automationIndex, ZylDomain* domain,
                                         const std::wstring& parameterName = {});

private:
    void destroyTree();

    ZylModuleContainer* container;
    std::int32_t id;
    std::wstring name;
    std::unique_ptr<ZylParameterSet> globalParameters;
    std::unique_ptr<ZylLinkParameterSet> programLink;
    std::vector<std::unique_ptr<ZylParameterSet>> ownedPrograms;
    std::vector<ZylParameterSet*> programs;
    std::vector<std::unique_ptr<ZylModule>> ownedChildren;
    std::vector<ZylModule*> children;
    int currentChildIndex = -1;
    std::unique_ptr<ZylLinkParameterSet> childGlobalLink;
    std::unique_ptr<ZylLinkParameterSet> childProgramLink;
    int currentProgram = -1;
    std::vector<std::unique_ptr<ZylPinBase>> ownedPins;
    std::vector<ZylPinBase*> pins;
    bool initialised = false;
    std::unique_ptr<ZylParameterSet> commandParameters;
    std::unique_ptr<ZylPropertySet> propertySet;
    juce::String versionText;
    int versionMajor = 0;
    int versionMinor = 0;
    int versionBuild = 0;
    std::atomic<bool> resetPending { false };
    std::atomic<bool> active { false };
    // Set by the message thread, read and cleared by the audio thread at the start of a block.
    std::atomic<bool> changed { false };
    // What the running block took from changed.
    std::atomic<bool> changedInBlock { false };
    std::vector<std::unique_ptr<ZylDomainSet>> domainSets;

    JUCE_DECLARE_NON_COPYABLE(ZylModule)
};
