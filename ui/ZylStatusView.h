#pragma once

#include "ui/ZylPanel.h"

class ZylModule;
class ZylParameter;

// A small panel that refreshes itself on the transport's bar, beat and tick messages and on
// every program change. It draws nothing beyond the panel's background; subclasses read what
// they show in refresh and draw it.
class ZylStatusView : public ZylPanel
{
public:
    ZylStatusView(ZylEditor* editor, int width, int height);
    ~ZylStatusView() override;

    ZylModuleContainer* getModuleContainer() const override;
    bool handleMessage(void* sender, int code, int timeMs) override;
    virtual void refresh();

private:
    ZylParameter* getTransportStateParameter() const;
    ZylParameter* getProgramParameter() const;

    // The sources the view registered with, so that it leaves the same ones.
    ZylParameter* transportState = nullptr;
    ZylModule* programModule = nullptr;

    JUCE_DECLARE_NON_COPYABLE(ZylStatusView)
};
