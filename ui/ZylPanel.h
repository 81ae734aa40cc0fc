#pragma once

#include "framework/ZylMessageSink.h"
#include "framework/ZylMessageSource.h"

#include <juce_gui_basics/juce_gui_basics.h>

class ZylEditor;
class ZylModuleContainer;

// The base of every region of the editor and of every parameter widget: a rounded background,
// an optional icon in a narrow column on the left with a separator line beside it, and an
// optional content viewport that it lays out. Messages that reach the panel go to handleMessage.
//
// Ownership: a panel owns all its child components and deletes them in its destructor (members
// of a subclass that are children have removed themselves by then). The icon is not owned: the
// subclass that sets it deletes it. Message thread only.
class ZylPanel : public juce::Component,
                 public juce::SettableTooltipClient,
                 public ZylMessageSource,
                 public ZylMessageSink
{
public:
    static constexpr float kCornerSize = 6.0f;
    static constexpr int kContentInset = 6;
    // The icon is drawn at this scale, moved by (kIconOffset, kIconOffset).
    static constexpr float kIconScale = 0.09f;
    static constexpr float kIconOffset = 6.0f;
    // The separator between the icon column and the controls.
    static constexpr float kSeparatorX = 33.0f;
    static constexpr float kSeparatorInset = 7.0f;

    // editor may be null (spacers have none). title ("Midi", "Space", ...; empty for controls
    // and spacers) becomes the component's title (juce::Component::getTitle); it is not drawn.
    // The background starts as the look-and-feel's combo box background, brighter by 0.5 at
    // half alpha.
    ZylPanel(ZylEditor* editor, const juce::String& title, int preferredWidth, int preferredHeight,
             bool lineBreakAfter = false);
    ~ZylPanel() override;

    void paint(juce::Graphics& g) override;
    void paintOverChildren(juce::Graphics& g) override;
    void resized() override;

    virtual int getPreferredHeight() const;
    virtual int getPreferredWidth() const;
    virtual void setPreferredWidth(int width);
    virtual void setPreferredHeight(int height);
    virtual void setBackgroundColour(juce::Colour colour);
    virtual juce::Colour getBackgroundColour() const;
    virtual juce::Viewport* getContent() const;
    // Takes content over as a child (null allowed). The viewport it replaces is deleted, and with
    // it the view that viewport owns. fill true: the content covers the panel less 6 pixels on
    // every side; false: it keeps its view's size where that fits and is centred.
    virtual void setContent(juce::Viewport* content, bool fill);
    // Used by the parameter panel's flow layout; 0 here.
    virtual int getLayoutMargin() const;
    virtual int getLayoutIndent() const;
    virtual void setLineBreakAfter(bool lineBreak);
    virtual bool isLineBreakAfter() const;
    // Not owned; see the class comment.
    virtual void setIcon(juce::Drawable* icon);
    virtual juce::Drawable* getIcon() const;
    virtual ZylEditor* getEditor() const;
    // The editor's processor's container; null without an editor or processor.
    virtual ZylModuleContainer* getModuleContainer() const;
    // The message hook; the base handles nothing and returns false.
    virtual bool handleMessage(void* sender, int code, int timeMs);

    // ZylMessageSink: hands the message to handleMessage.
    void receiveMessage(void* sender, int code, int timeMs) override;

private:
    ZylEditor* editor;
    juce::Drawable* icon = nullptr;
    int preferredWidth;
    int preferredHeight;
    juce::Colour backgroundColour;
    juce::Viewport* content = nullptr;
    bool fillContent = false;
    bool lineBreakAfter;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZylPanel)
};
