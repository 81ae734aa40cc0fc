#include "ui/ZylPianoPanel.h"

#include "framework/ZylModuleContainer.h"
#include "space/ZylSpaceModule.h"
#include "ui/ZylPianoView.h"
#include "ui/ZylViewport.h"

ZylPianoPanel::ZylPianoPanel(ZylEditor* owner) : ZylPanel(owner, "Piano", 690, 71, false)
{
    pianoView = new ZylPianoView(owner);
    pianoView->setZoom(100.0);
    auto* viewport = new ZylViewport();
    viewport->setViewedComponent(pianoView, true);
    setContent(viewport, false);
    spaceModule = getSpaceModule();
    if (spaceModule != nullptr)
        spaceModule->addParameterSink(this, false);
}

ZylPianoPanel::~ZylPianoPanel()
{
    if (spaceModule != nullptr)
        spaceModule->removeParameterSink(this, false);
}

ZylSpaceModule* ZylPianoPanel::getSpaceModule() const
{
    auto* container = getModuleContainer();
    return container != nullptr ? dynamic_cast<ZylSpaceModule*>(container->getModule(ZylSpaceModule::kModuleId))
                                : nullptr;
}

ZylPianoView* ZylPianoPanel::getPianoView() const { return pianoView; }

bool ZylPianoPanel::handleMessage(void*, int, int) { return false; }
