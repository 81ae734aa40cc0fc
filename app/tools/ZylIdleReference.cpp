// The least an idle JUCE program costs on this machine: a plain window of the program's size
// and a JACK client whose callback writes silence, on the audio setup the end-to-end run gives
// the program. scripts/e2e.sh measures it beside the idle program, so that its log tells what
// JUCE itself costs (its per-window display timer, the JACK callback) from what the program
// adds to it.
//
//   lumenfold_idle_reference        runs until it is killed; prints the device it opened
#include <juce_audio_devices/juce_audio_devices.h>
#include <juce_gui_basics/juce_gui_basics.h>

#include <iostream>

namespace
{
constexpr int kWindowWidth = 1001;
constexpr int kWindowHeight = 580;
constexpr double kSampleRate = 44100.0;
constexpr int kBlockSize = 512;

class SilentCallback : public juce::AudioIODeviceCallback
{
public:
    void audioDeviceIOCallbackWithContext(const float* const* /*inputs*/, int /*numInputs*/,
                                          float* const* outputs, int numOutputs, int numSamples,
                                          const juce::AudioIODeviceCallbackContext&) override
    {
        for (int channel = 0; channel < numOutputs; ++channel)
            if (outputs[channel] != nullptr)
                juce::FloatVectorOperations::clear(outputs[channel], numSamples);
    }
    void audioDeviceAboutToStart(juce::AudioIODevice*) override {}
    void audioDeviceStopped() override {}
};

class IdleReference : public juce::JUCEApplication
{
public:
    const juce::String getApplicationName() override { return "lumenfold idle reference"; }
    const juce::String getApplicationVersion() override { return "1"; }
    bool moreThanOneInstanceAllowed() override { return true; }

    void initialise(const juce::String&) override
    {
        window = std::make_unique<juce::DocumentWindow>(getApplicationName(), juce::Colours::darkgrey,
                                                        juce::DocumentWindow::allButtons);
        window->setContentOwned(new juce::Component(), false);
        window->setUsingNativeTitleBar(true);
        window->setSize(kWindowWidth, kWindowHeight);
        window->setVisible(true);

        devices.setCurrentAudioDeviceType("JACK", true);
        juce::AudioDeviceManager::AudioDeviceSetup setup;
        setup.outputDeviceName = "system";
        setup.sampleRate = kSampleRate;
        setup.bufferSize = kBlockSize;
        const auto error = devices.initialise(0, 2, nullptr, false, {}, &setup);
        devices.addAudioCallback(&callback);
        auto* device = devices.getCurrentAudioDevice();
        std::cout << "device: "
                  << (device != nullptr ? device->getTypeName() + " " + device->getName() : juce::String("none"))
                  << (error.isNotEmpty() ? " (" + error + ")" : juce::String()) << std::endl;
    }

    void shutdown() override
    {
        devices.removeAudioCallback(&callback);
        devices.closeAudioDevice();
        window = nullptr;
    }

private:
    std::unique_ptr<juce::DocumentWindow> window;
    juce::AudioDeviceManager devices;
    SilentCallback callback;
};
} // namespace

START_JUCE_APPLICATION(IdleReference)
