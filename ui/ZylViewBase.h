#pragma once

#include "framework/ZylMessageSink.h"
#include "framework/ZylMessageSource.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ZylEditor;
class ZylModuleContainer;

// A message-receiving element of the editor that knows its editor. Messages delivered to the
// sink go to handleMessage.
class ZylViewBase : public juce::SettableTooltipClient, public ZylMessageSource, public ZylMessageSink
{
public:
    explicit ZylViewBase(ZylEditor* editor);
    ~ZylViewBase() override;

    virtual int getHeightHint() const;
    virtual int getWidthHint() const;
    virtual void setWidthHint(int hint);
    virtual void setHeightHint(int hint);
    virtual ZylEditor* getEditor() const;
    // The processor's module container reached through the editor; null without either.
    virtual ZylModuleContainer* getModuleContainer() const;
    // True when the message was handled; the base handles nothing.
    virtual bool handleMessage(void* sender, int code, int timeMs);

    void receiveMessage(void* sender, int code, int timeMs) override;

    const juce::String& getViewName() const noexcept { return name; }

protected:
    juce::String name;

private:
    ZylEditor* editor;
    int widthHint = 200;
    int heightHint = 100;

    JUCE_DECLARE_NON_COPYABLE(ZylViewBase)
};
