#pragma once

#include "framework/ZylModule.h"

#include <memory>

class ZylMidiOutputDeviceManager;
class ZylMidiOutputDomainSet;
class ZylMidiOutputModule;
class ZylMidiPortBackend;

// The MIDI output group (id 3100): the output vocabularies, the output device manager and one
// child, the MIDI output module (310100). Whole-state saves carry the list of opened output
// ports in the group's "ext" element; program saves carry nothing of it.
class ZylMidiOutputGroupModule : public ZylModule
{
public:
    static constexpr std::int32_t kModuleId = 3100;

    // The ports come from backend, which must outlive the group (null: no ports).
    ZylMidiOutputGroupModule(ZylModuleContainer* container, ZylMidiPortBackend* backend);
    ~ZylMidiOutputGroupModule() override;

    void initialise() override;
    void prepareToPlay(double sampleRate, int blockSize) override;
    std::unique_ptr<juce::XmlElement> createExtXml(bool programOnly, int programIndex) const override;
    void restoreExtXml(const juce::XmlElement& element, bool programOnly, int programIndex,
                       bool notify) override;

    virtual ZylMidiOutputDomainSet* getDomainSet() const;
    virtual ZylMidiOutputDeviceManager* getDeviceManager() const;
    // The child at index as the output module; null when there is none.
    virtual ZylMidiOutputModule* getOutputModule(int index) const;
    // Hands the names of the opened ports to the destination vocabulary.
    virtual void refreshDeviceValues();

private:
    ZylMidiPortBackend* backend;
    ZylMidiOutputDomainSet* domainSet = nullptr;
    std::unique_ptr<ZylMidiOutputDeviceManager> deviceManager;
};
