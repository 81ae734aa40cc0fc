#include "ui/ZylSpacePanel.h"

#include "ui/ZylGuiHelpers.h"
#include "framework/ZylModuleContainer.h"
#include "space/ZylSpaceModule.h"
#include "resources/ZylEmbeddedArchive.h"
#include "ui/ZylChordView.h"
#include "ui/ZylSpacer.h"

ZylSpacePanel::ZylSpacePanel(ZylEditor* owner) : ZylParamPanel(owner, "Space", 290)
{
    const auto archive = ZylEmbeddedArchive::find("spaceicons");
    icon = createDrawableFromZip(archive.getData(), archive.getSize(), "space.svg");
    setIcon(icon.get());

    const auto spacer = [this](int w, int h, bool lineBreak) {
        addPanel(new ZylSpacer(w, h, lineBreak));
    };
    const auto combo = [this](ZylParameter* parameter) {
        if (parameter != nullptr)
            addParameterControl(parameter, kLabelWidth, kBoxWidth);
    };

    auto* module = getSpaceModule();
    if (module == nullptr)
        return;
    spacer(250, 10, true);
    combo(module->getSpaceParameter());
    combo(module->getLabelParameter());
    spacer(250, 10, true);
    combo(module->getKeyParameter());
    combo(module->getScaleParameter());
    spacer(15, 19, false);
    chordView = new ZylChordView(owner);
    addPanel(chordView);
    spacer(250, 10, true);
    combo(module->getChordFilterParameter());
    combo(module->getChordParameter());
    combo(module->getVoicingParameter());
    spacer(15, 19, false);
    combo(module->getTriggerParameter());
    combo(module->getOnClickParameter());
    combo(module->getAssistParameter());
}

ZylSpacePanel::~ZylSpacePanel()
{
    setIcon(nullptr);
    deleteAllChildren();
}

ZylSpaceModule* ZylSpacePanel::getSpaceModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylSpaceModule*>(container->getModule(ZylSpaceModule::kModuleId))
                                : nullptr;
}
