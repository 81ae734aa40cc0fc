#include "ui/ZylStatusView.h"

#include "framework/ZylEditor.h"
#include "framework/ZylFilter.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylModuleContainer.h"
#include "framework/ZylParameter.h"
#include "framework/ZylProgramModule.h"
#include "modules/ZylTransportModule.h"

ZylStatusView::ZylStatusView(ZylEditor* owner, int width, int height)
    : ZylPanel(owner, "Status", width, height, false)
{
    setBackgroundColour(getLookAndFeel().findColour(juce::ComboBox::backgroundColourId));
    transportState = getTransportStateParameter();
    if (transportState != nullptr)
        transportState->addSink(this);
    if (auto* container = getModuleContainer())
        programModule = container->getModule(ZylProgramModule::kModuleId);
    if (programModule != nullptr)
        programModule->addParameterSink(this, false);
}

ZylStatusView::~ZylStatusView()
{
    if (transportState != nullptr)
        transportState->removeSink(this);
    if (programModule != nullptr)
        programModule->removeParameterSink(this, false);
}

ZylModuleContainer* ZylStatusView::getModuleContainer() const
{
    auto* owner = getEditor();
    if (owner == nullptr)
        return nullptr;
    auto* filter = owner->getFilter();
    return filter != nullptr ? filter->getModuleContainer() : nullptr;
}

ZylParameter* ZylStatusView::getTransportStateParameter() const
{
    auto* container = getModuleContainer();
    if (container == nullptr)
        return nullptr;
    auto* transport = dynamic_cast<ZylTransportModule*>(container->getModule(ZylTransportModule::kModuleId));
    return transport != nullptr ? transport->getStateParameter() : nullptr;
}

ZylParameter* ZylStatusView::getProgramParameter() const
{
    auto* program = dynamic_cast<ZylProgramModule*>(programModule);
    return program != nullptr ? program->getProgramParameter() : nullptr;
}

bool ZylStatusView::handleMessage(void* sender, int code, int)
{
    if (sender == nullptr)
        return false;
    if (transportState != nullptr && sender == transportState->asSender())
    {
        const int event = zylMessageEvent(code);
        if (event == zylMessageEvent(kBarChanged) || event == zylMessageEvent(kBeatChanged)
            || event == zylMessageEvent(kTransportTick))
        {
            refresh();
            return true;
        }
        return false;
    }
    auto* program = getProgramParameter();
    if (program != nullptr && sender == program->asSender())
    {
        refresh();
        return true;
    }
    return false;
}

void ZylStatusView::refresh() {}
