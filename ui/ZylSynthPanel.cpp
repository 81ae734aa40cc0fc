#include "ui/ZylSynthPanel.h"

#include "framework/ZylModuleContainer.h"
#include "modules/ZylSynthModule.h"
#include "ui/ZylArtArchives.h"
#include "ui/ZylGuiHelpers.h"
#include "ui/ZylSpacer.h"

ZylSynthPanel::ZylSynthPanel(ZylEditor* owner, int width) : ZylParamPanel(owner, "Synth", width)
{
    icon = createDrawableFromArchive(ZylArtArchives::kSynthIcon, "synth.svg");
    setIcon(icon.get());

    addPanel(new ZylSpacer(300, 10, true));
    // Without a synth module the panel keeps its gaps and shows no knob.
    if (auto* synth = getSynthModule())
        addParameterControl(synth->getGainParameter(), 0, 0);
    addPanel(new ZylSpacer(300, 13, true));
}

ZylSynthPanel::~ZylSynthPanel()
{
    setIcon(nullptr);
    deleteAllChildren();
}

ZylSynthModule* ZylSynthPanel::getSynthModule() const
{
    auto* container = getModuleContainer();
    if (container == nullptr)
        return nullptr;
    return dynamic_cast<ZylSynthModule*>(container->getModule(kSynthModuleId));
}
