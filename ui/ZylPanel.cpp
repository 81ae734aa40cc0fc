#include "ui/ZylPanel.h"

#include "framework/ZylEditor.h"
#include "framework/ZylFilter.h"

ZylPanel::ZylPanel(ZylEditor* owner, const juce::String& panelTitle, int width, int height,
                   bool lineBreak)
    : editor(owner), preferredWidth(width), preferredHeight(height), lineBreakAfter(lineBreak)
{
    setTitle(panelTitle);
    // No parent yet: this is the default look-and-feel's colour.
    backgroundColour = getLookAndFeel()
                           .findColour(juce::ComboBox::backgroundColourId)
                           .brighter(0.5f)
                           .withAlpha(0.5f);
}

ZylPanel::~ZylPanel()
{
    content = nullptr;
    deleteAllChildren();
}

void ZylPanel::paint(juce::Graphics& g)
{
    juce::Path background;
    background.addRoundedRectangle(0.0f, 0.0f, static_cast<float>(getWidth()),
                                   static_cast<float>(getHeight()), kCornerSize);
    g.setColour(getBackgroundColour());
    g.fillPath(background);
}

void ZylPanel::paintOverChildren(juce::Graphics& g)
{
    if (icon == nullptr)
        return;
    icon->draw(g, 1.0f,
               juce::AffineTransform::scale(kIconScale).translated(kIconOffset, kIconOffset));
    g.setColour(getLookAndFeel().findColour(juce::AlertWindow::textColourId).darker(0.2f));
    g.drawLine(kSeparatorX, kSeparatorInset, kSeparatorX,
               static_cast<float>(getHeight()) - kSeparatorInset, 1.0f);
}

void ZylPanel::resized()
{
    if (content == nullptr)
        return;
    if (fillContent)
    {
        content->setBounds(getLocalBounds().reduced(kContentInset));
        return;
    }
    int width = getWidth() - kContentInset;
    int height = getHeight() - kContentInset;
    if (auto* view = content->getViewedComponent())
    {
        width = juce::jmin(view->getWidth(), width);
        height = juce::jmin(view->getHeight(), height);
    }
    content->setBounds(getLocalBounds().withSizeKeepingCentre(width, height));
}

int ZylPanel::getPreferredHeight() const
{
    return preferredHeight;
}

int ZylPanel::getPreferredWidth() const
{
    return preferredWidth;
}

void ZylPanel::setPreferredWidth(int width)
{
    preferredWidth = width;
}

void ZylPanel::setPreferredHeight(int height)
{
    preferredHeight = height;
}

void ZylPanel::setBackgroundColour(juce::Colour colour)
{
    backgroundColour = colour;
}

juce::Colour ZylPanel::getBackgroundColour() const
{
    return backgroundColour;
}

juce::Viewport* ZylPanel::getContent() const
{
    return content;
}

void ZylPanel::setContent(juce::Viewport* newContent, bool fill)
{
    fillContent = fill;
    if (newContent == content)
        return;
    if (content != nullptr)
    {
        // The replaced viewport belongs to the panel: deleting it here keeps it (and the view
        // it owns) from outliving its use.
        std::unique_ptr<juce::Viewport> previous(content);
        content = nullptr;
        removeChildComponent(previous.get());
    }
    content = newContent;
    if (content != nullptr)
    {
        addAndMakeVisible(content);
        resized();
    }
}

int ZylPanel::getLayoutMargin() const
{
    return 0;
}

int ZylPanel::getLayoutIndent() const
{
    return 0;
}

void ZylPanel::setLineBreakAfter(bool lineBreak)
{
    lineBreakAfter = lineBreak;
}

bool ZylPanel::isLineBreakAfter() const
{
    return lineBreakAfter;
}

void ZylPanel::setIcon(juce::Drawable* newIcon)
{
    icon = newIcon;
}

juce::Drawable* ZylPanel::getIcon() const
{
    return icon;
}

ZylEditor* ZylPanel::getEditor() const
{
    return editor;
}

ZylModuleContainer* ZylPanel::getModuleContainer() const
{
    if (editor == nullptr)
        return nullptr;
    auto* processor = editor->getFilter();
    return processor != nullptr ? processor->getModuleContainer() : nullptr;
}

bool ZylPanel::handleMessage(void* /*sender*/, int /*code*/, int /*timeMs*/)
{
    return false;
}

void ZylPanel::receiveMessage(void* sender, int code, int timeMs)
{
    handleMessage(sender, code, timeMs);
}
