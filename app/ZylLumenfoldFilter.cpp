#include "app/ZylLumenfoldFilter.h"

#include "app/ZylLumenfoldEditor.h"
#include "app/ZylLumenfoldModule.h"
#include "modules/ZylJuceMidiPortBackend.h"

ZylLumenfoldFilter::ZylLumenfoldFilter(ZylMidiPortBackend* midiPorts) : ports(midiPorts)
{
}

ZylLumenfoldFilter::~ZylLumenfoldFilter() = default;

std::unique_ptr<ZylModule> ZylLumenfoldFilter::createRootModule()
{
    return std::make_unique<ZylLumenfoldModule>(getModuleContainer(), ports);
}

juce::AudioProcessorEditor* ZylLumenfoldFilter::createEditor()
{
    return new ZylLumenfoldEditor(*this);
}

std::unique_ptr<ZylLumenfoldFilter> ZylLumenfoldFilter::createStandalone(ZylMidiPortBackend* ports)
{
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Standalone);
    auto filter = std::make_unique<ZylLumenfoldFilter>(ports);
    juce::AudioProcessor::setTypeOfNextNewPlugin(juce::AudioProcessor::wrapperType_Undefined);
    filter->initialise();
    return filter;
}

juce::AudioProcessor* JUCE_CALLTYPE createPluginFilter()
{
    // Opening and closing ports keeps no state in the backend; one serves every processor of
    // the process and outlives them all.
    static ZylJuceMidiPortBackend systemPorts;
    return ZylLumenfoldFilter::createStandalone(&systemPorts).release();
}
