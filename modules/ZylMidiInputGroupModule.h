#pragma once

#include "framework/ZylModule.h"

#include <memory>

class ZylMidiInputDeviceManager;
class ZylMidiInputDomainSet;
class ZylMidiInputModule;
class ZylMidiPortBackend;

// The MIDI input group (id 3000): the MIDI input vocabularies, the input device manager and
// one child, the MIDI input module (300100). Whole-state saves carry the device manager's list
// of opened ports in the group's "ext" element; program saves carry nothing of it.
class ZylMidiInputGroupModule : public ZylModule
{
public:
    static constexpr std::int32_t kModuleId = 3000;

    // The ports come from backend, which must outlive the group (null: no ports).
    ZylMidiInputGroupModule(ZylModuleContainer* container, ZylMidiPortBackend* backend);
    ~ZylMidiInputGroupModule() override;

    void initialise() override;
    void prepareToPlay(double sampleRate, int blockSize) override;
    std::unique_ptr<juce::XmlElement> createExtXml(bool programOnly, int programIndex) const override;
    void restoreExtXml(const juce::XmlElement& element, bool programOnly, int programIndex,
                       bool notify) override;

    virtual ZylMidiInputDomainSet* getDomainSet() const;
    // The child at index as the input module; null when there is none.
    virtual ZylMidiInputModule* getInputModule(int index) const;
    // Hands the names of the opened ports to the source vocabulary.
    virtual void refreshDeviceValues();

    ZylMidiInputDeviceManager* getDeviceManager() const noexcept { return deviceManager.get(); }

private:
    ZylMidiPortBackend* backend;
    ZylMidiInputDomainSet* domainSet = nullptr;
    std::unique_ptr<ZylMidiInputDeviceManager> deviceManager;
};
