#include "ui/ZylLookAndFeel.h"

#include "ui/ZylGuiHelpers.h"

namespace
{
// Fills a whole path with a vertical gradient between two colours.
juce::ColourGradient verticalGradient(juce::Colour top, float y1, juce::Colour bottom, float y2)
{
    return juce::ColourGradient(top, 0.0f, y1, bottom, 0.0f, y2, false);
}
} // namespace

juce::Colour ZylLookAndFeel::defaultBaseColour()
{
    return juce::Colour(0xff808080).darker(0.9f);
}

ZylLookAndFeel::ZylLookAndFeel()
{
    setColourScheme(defaultBaseColour(), juce::Colour(kDefaultTextColour));
    // Message boxes are the operating system's own.
    setUsingNativeAlertWindows(true);
}

void ZylLookAndFeel::setColourScheme(juce::Colour base, juce::Colour text)
{
    using juce::Colour;
    const Colour transparent(0x00000000);
    // Entries that name another entry read it back from the table just written.
    auto set = [this](int id, Colour colour) { setColour(id, colour); };
    auto get = [this](int id) { return findColour(id); };

    set(juce::AlertWindow::backgroundColourId, base.brighter(0.2f));
    set(juce::AlertWindow::textColourId, Colour(0xffd3d3d3));
    set(juce::AlertWindow::outlineColourId, get(juce::AlertWindow::backgroundColourId).brighter(0.2f));
    set(juce::Label::backgroundColourId, transparent);
    set(juce::Label::textColourId, get(juce::AlertWindow::textColourId));
    set(juce::Label::outlineColourId, transparent);
    set(juce::ComboBox::textColourId, text);
    set(juce::ComboBox::backgroundColourId, base);
    set(juce::ComboBox::outlineColourId, transparent);
    set(juce::ComboBox::buttonColourId, get(juce::ComboBox::backgroundColourId));
    set(juce::TextButton::buttonColourId, get(juce::ComboBox::buttonColourId));
    set(juce::TextButton::buttonOnColourId, get(juce::ComboBox::textColourId).withAlpha(0.5f));
    set(juce::TextButton::textColourOnId, get(juce::Label::textColourId));
    set(juce::TextButton::textColourOffId, get(juce::Label::textColourId));
    set(juce::TextEditor::backgroundColourId, get(juce::ComboBox::backgroundColourId));
    set(juce::TextEditor::textColourId, get(juce::ComboBox::textColourId));
    set(juce::TextEditor::highlightColourId, get(juce::ComboBox::textColourId));
    set(juce::TextEditor::highlightedTextColourId, get(juce::ComboBox::backgroundColourId));
    set(juce::TextEditor::outlineColourId, get(juce::ComboBox::outlineColourId));
    set(juce::TextEditor::focusedOutlineColourId, get(juce::ComboBox::outlineColourId));
    set(juce::TextEditor::shadowColourId, transparent);
    set(juce::Slider::backgroundColourId, transparent);
    set(juce::Slider::thumbColourId, get(juce::ComboBox::buttonColourId));
    set(juce::Slider::trackColourId, base.darker(0.1f));
    set(juce::Slider::textBoxTextColourId, get(juce::TextEditor::textColourId));
    set(juce::Slider::textBoxBackgroundColourId, get(juce::TextEditor::backgroundColourId));
    set(juce::Slider::textBoxHighlightColourId, get(juce::TextEditor::highlightColourId));
    set(juce::Slider::textBoxOutlineColourId, get(juce::TextEditor::outlineColourId));
    set(juce::Slider::rotarySliderFillColourId, get(juce::ComboBox::textColourId));
    set(juce::Slider::rotarySliderOutlineColourId, Colour(0xffff0000));
    set(juce::ListBox::backgroundColourId, get(juce::ComboBox::backgroundColourId));
    set(juce::ListBox::outlineColourId, get(juce::ComboBox::outlineColourId));
    set(juce::ListBox::textColourId, get(juce::ComboBox::textColourId));
    set(juce::ScrollBar::thumbColourId, base.brighter(0.8f));
    set(juce::ScrollBar::backgroundColourId, transparent);
    set(juce::PopupMenu::backgroundColourId, Colour(0xfff5f5f5));
    set(juce::PopupMenu::textColourId, Colour(0xff555555));
    set(juce::PopupMenu::highlightedBackgroundColourId,
        get(juce::PopupMenu::textColourId).withMultipliedAlpha(0.2f));
    set(juce::PopupMenu::highlightedTextColourId, get(juce::PopupMenu::textColourId));
    set(juce::TooltipWindow::textColourId, Colour(0xff555555));
    set(juce::DirectoryContentsDisplayComponent::highlightColourId,
        get(juce::AlertWindow::textColourId));
    set(juce::DirectoryContentsDisplayComponent::textColourId, get(juce::AlertWindow::textColourId));
}

juce::Colour ZylLookAndFeel::createBaseColour(juce::Colour colour, bool hasKeyboardFocus,
                                              bool isMouseOver, bool isButtonDown)
{
    auto base = colour.withMultipliedSaturation(hasKeyboardFocus ? 1.3f : 0.9f);
    if (isButtonDown)
        return base.contrasting(0.2f);
    if (isMouseOver)
        return base.contrasting(0.1f);
    return base;
}

void ZylLookAndFeel::addRoundedRectangleWithCorners(juce::Path& path, float x, float y, float w,
                                                    float h, float cornerSize, bool curveTopLeft,
                                                    bool curveTopRight, bool curveBottomLeft,
                                                    bool curveBottomRight)
{
    if (cornerSize <= 0.0f
        || !(curveTopLeft || curveTopRight || curveBottomLeft || curveBottomRight))
    {
        path.startNewSubPath(x, y);
        path.lineTo(x + w, y);
        path.lineTo(x + w, y + h);
        path.lineTo(x, y + h);
        path.closeSubPath();
        return;
    }
    path.addRoundedRectangle(x, y, w, h, cornerSize, cornerSize, curveTopLeft, curveTopRight,
                             curveBottomLeft, curveBottomRight);
}

float ZylLookAndFeel::buttonOutlineThickness(bool isEnabled, bool isButtonDown)
{
    if (!isEnabled)
        return 0.4f;
    return isButtonDown ? 1.2f : 0.7f;
}

void ZylLookAndFeel::drawGradientShape(juce::Graphics& g, float x, float y, float w, float h,
                                       juce::Colour colour, float outlineThickness,
                                       float cornerSize, bool flatLeft, bool flatRight,
                                       bool flatTop, bool flatBottom)
{
    if (w <= outlineThickness || h <= outlineThickness)
        return;

    const int intX = static_cast<int>(x);
    const int intY = static_cast<int>(y);
    const int intW = static_cast<int>(w);
    const int intH = static_cast<int>(h);
    const float cs = cornerSize < 0.0f ? juce::jmin(w * 0.5f, h * 0.5f) : cornerSize;
    const float edgeBlurRadius = h * 0.75f + (h - cs * 2.0f);
    const int intEdge = static_cast<int>(edgeBlurRadius);

    juce::Path outline;
    outline.addRoundedRectangle(x, y, w, h, cs, cs, !(flatLeft || flatTop), !(flatRight || flatTop),
                                !(flatLeft || flatBottom), !(flatRight || flatBottom));
    {
        auto body = verticalGradient(colour.darker(0.2f), y, colour.darker(0.2f), y + h);
        body.addColour(0.03, colour.withMultipliedAlpha(0.3f));
        body.addColour(0.4, colour);
        body.addColour(0.97, colour.withMultipliedAlpha(0.3f));
        g.setGradientFill(body);
        g.fillPath(outline);
    }

    juce::ColourGradient edge(juce::Colours::transparentBlack, x + edgeBlurRadius, y + h * 0.5f,
                              colour.darker(0.2f), x, y + h * 0.5f, true);
    if (edgeBlurRadius > 0.0f)
    {
        edge.addColour(juce::jlimit(0.0, 1.0, 1.0 - (cs * 0.5f) / edgeBlurRadius),
                       juce::Colours::transparentBlack);
        edge.addColour(juce::jlimit(0.0, 1.0, 1.0 - (cs * 0.25f) / edgeBlurRadius),
                       colour.darker(0.2f).withMultipliedAlpha(0.3f));
    }
    if (!(flatLeft || flatTop || flatBottom))
    {
        juce::Graphics::ScopedSaveState state(g);
        g.setGradientFill(edge);
        g.reduceClipRegion(intX, intY, intEdge, intH);
        g.fillPath(outline);
    }
    if (!(flatRight || flatTop || flatBottom))
    {
        edge.point1.setX(x + w - edgeBlurRadius);
        edge.point2.setX(x + w);
        juce::Graphics::ScopedSaveState state(g);
        g.setGradientFill(edge);
        g.reduceClipRegion(intX + intW - intEdge, intY, 2 + intEdge, intH);
        g.fillPath(outline);
    }

    const float leftIndent = (flatTop || flatLeft) ? 0.0f : cs * 0.4f;
    const float rightIndent = (flatTop || flatRight) ? 0.0f : cs * 0.4f;
    juce::Path highlight;
    highlight.addRoundedRectangle(x + leftIndent, y + cs * 0.1f, w - (leftIndent + rightIndent),
                                  h * 0.4f, cs * 0.4f, cs * 0.4f, !(flatLeft || flatTop),
                                  !(flatRight || flatTop), !(flatLeft || flatBottom),
                                  !(flatRight || flatBottom));
    g.setGradientFill(
        verticalGradient(colour.brighter(1.0f), y, juce::Colours::transparentWhite, y + h * 0.1f));
    g.fillPath(highlight);

    g.setColour(colour.darker(0.4f).withMultipliedAlpha(1.5f));
    g.strokePath(outline, juce::PathStrokeType(outlineThickness));
}

void ZylLookAndFeel::drawLozenge(juce::Graphics& g, float x, float y, float w, float h,
                                 float /*cornerSize*/, juce::Colour colour, float outlineThickness,
                                 bool connectedLeft, bool connectedRight, bool connectedTop,
                                 bool connectedBottom)
{
    if (w <= 1.1f * outlineThickness || h <= 1.1f * outlineThickness)
        return;

    // Every face is square-cornered, whatever its corner size and connections.
    juce::Path outline;
    addRoundedRectangleWithCorners(outline, x, y, w, h, 0.0f, !(connectedLeft || connectedTop),
                                   !(connectedRight || connectedTop),
                                   !(connectedLeft || connectedBottom),
                                   !(connectedRight || connectedBottom));

    const auto band = colour.overlaidWith(juce::Colours::white.withAlpha(0.2f));
    const auto light = colour.overlaidWith(juce::Colours::white.withAlpha(0.07f));
    auto fill = verticalGradient(colour, y, colour, y + h);
    fill.addColour(0.11, band);
    fill.addColour(0.12, light);
    fill.addColour(0.89, colour);
    fill.addColour(0.89, light);
    g.setGradientFill(fill);
    g.fillPath(outline);

    g.setColour(juce::Colours::black.withAlpha(0.5f));
    g.strokePath(outline, juce::PathStrokeType(outlineThickness));
}

juce::TextLayout ZylLookAndFeel::createTextLayout(const juce::String& text, juce::Colour colour)
{
    auto font = getPopupMenuFont();
    font = font.withStyle(font.getStyleFlags() & ~juce::Font::bold);
    juce::AttributedString attributed;
    attributed.setJustification(juce::Justification::left);
    attributed.append(text, font, colour);
    juce::TextLayout layout;
    layout.createLayoutWithBalancedLineLengths(attributed, kTooltipMaxWidth);
    return layout;
}

void ZylLookAndFeel::drawSphere(juce::Graphics& g, float x, float y, float diameter,
                                juce::Colour colour, float rim)
{
    if (diameter <= rim)
        return;
    g.setColour(findColour(juce::ComboBox::backgroundColourId).darker(0.9f));
    g.fillEllipse(x, y, diameter, diameter);

    auto shade = verticalGradient(colour.brighter(1.0f), y, colour, y + diameter);
    shade.addColour(0.1, colour.brighter(0.5f));
    shade.addColour(0.5, colour);
    g.setGradientFill(shade);
    g.fillEllipse(x + rim, y + rim, diameter - 2.0f * rim, diameter - 2.0f * rim);
}

void ZylLookAndFeel::drawButtonLozenge(juce::Graphics& g, float x, float y, float w, float h,
                                       juce::Colour colour, bool isMouseOver, bool isButtonDown,
                                       bool hasFocus, bool isEnabled, bool connectedLeft,
                                       bool connectedRight, bool connectedTop,
                                       bool connectedBottom)
{
    const float thickness = buttonOutlineThickness(isEnabled, isButtonDown);
    const float half = thickness * 0.5f;
    const float left = connectedLeft ? 0.5f : half;
    const float right = connectedRight ? 0.5f : half;
    const float top = connectedTop ? 0.5f : half;
    const float bottom = connectedBottom ? 0.5f : half;
    const auto face = createBaseColour(colour, hasFocus, isMouseOver, isButtonDown)
                          .withMultipliedAlpha(isEnabled ? 1.0f : 0.97f);
    const float insetHeight = h - top - bottom;
    drawLozenge(g, x + left, y + top, w - left - right, insetHeight, insetHeight * 0.4f, face,
                thickness, connectedLeft, connectedRight, connectedTop, connectedBottom);
}

juce::TextLayout ZylLookAndFeel::layoutTooltipText(const juce::String& text,
                                                   juce::Colour colour) const
{
    juce::AttributedString attributed;
    attributed.setJustification(juce::Justification::centred);
    attributed.append(text, juce::Font(kTooltipFontHeight, juce::Font::bold), colour);
    juce::TextLayout layout;
    layout.createLayoutWithBalancedLineLengths(attributed, kTooltipMaxWidth);
    return layout;
}

void ZylLookAndFeel::getTooltipSize(const juce::String& text, int& width, int& height)
{
    const auto layout = layoutTooltipText(text, juce::Colours::black);
    width = static_cast<int>(layout.getWidth() + 20.0f);
    height = static_cast<int>(layout.getHeight() + 15.0f);
}

juce::Path ZylLookAndFeel::getTickShape(float height)
{
    static const float points[] = { 280.0f, 288.0f, 304.0f, 328.0f, 352.0f, 256.0f,
                                    368.0f, 272.0f, 304.0f, 368.0f, 264.0f, 304.0f };
    juce::Path tick;
    tick.startNewSubPath(points[0], points[1]);
    for (size_t i = 2; i < std::size(points); i += 2)
        tick.lineTo(points[i], points[i + 1]);
    tick.closeSubPath();
    tick.scaleToFit(0.0f, 0.0f, height, height, false);
    return tick;
}

void ZylLookAndFeel::drawScrollbarButton(juce::Graphics& g, juce::ScrollBar& scrollbar, int width,
                                         int height, int buttonDirection,
                                         bool /*isScrollbarVertical*/, bool /*isMouseOver*/,
                                         bool isButtonDown)
{
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    juce::Path arrow;
    switch (buttonDirection)
    {
    case 0: arrow.addTriangle(0.5f * w, 0.2f * h, 0.1f * w, 0.7f * h, 0.9f * w, 0.7f * h); break;
    case 1: arrow.addTriangle(0.8f * w, 0.5f * h, 0.3f * w, 0.1f * h, 0.3f * w, 0.9f * h); break;
    case 2: arrow.addTriangle(0.5f * w, 0.8f * h, 0.1f * w, 0.3f * h, 0.9f * w, 0.3f * h); break;
    case 3: arrow.addTriangle(0.2f * w, 0.5f * h, 0.7f * w, 0.1f * h, 0.7f * w, 0.9f * h); break;
    default: break;
    }
    const auto thumb = scrollbar.findColour(juce::ScrollBar::thumbColourId);
    g.setColour(isButtonDown ? thumb.contrasting(0.2f) : thumb);
    g.fillPath(arrow);
    g.setColour(juce::Colours::black.withAlpha(0.5f));
    g.strokePath(arrow, juce::PathStrokeType(0.5f));
}

void ZylLookAndFeel::drawScrollbar(juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y,
                                   int width, int height, bool isScrollbarVertical,
                                   int thumbStartPosition, int thumbSize, bool /*isMouseOver*/,
                                   bool /*isMouseDown*/)
{
    g.setColour(scrollbar.findColour(juce::ScrollBar::backgroundColourId));
    g.fillRect(x, y, width, height);

    const int slotIndent = juce::jmin(width, height) > 15 ? 1 : 0;
    const int thumbIndent = slotIndent + 1;
    const float fx = static_cast<float>(x);
    const float fy = static_cast<float>(y);
    const float fw = static_cast<float>(width);
    const float fh = static_cast<float>(height);
    const float si = static_cast<float>(slotIndent);
    const float ti = static_cast<float>(thumbIndent);
    const float start = static_cast<float>(thumbStartPosition);
    const float size = static_cast<float>(thumbSize);
    const auto thumbColour = scrollbar.findColour(juce::ScrollBar::thumbColourId);

    juce::Path slot;
    juce::Path thumb;
    // Gradients run across the bar: from its near edge (0) to its far edge (1).
    float acrossStart = 0.0f;
    float acrossLength = 0.0f;
    if (isScrollbarVertical)
    {
        const float slotWidth = fw - 2.0f * si;
        slot.addRoundedRectangle(fx + si, fy + si, slotWidth, fh - 2.0f * si, slotWidth * 0.5f);
        if (thumbSize > 0)
        {
            const float thumbWidth = fw - 2.0f * ti;
            const float thumbLength = size - 2.0f * ti;
            thumb.addRoundedRectangle(fx + ti, start + ti, thumbWidth, thumbLength,
                                      juce::jmin(thumbWidth, thumbLength) * 0.5f);
        }
        acrossStart = fx;
        acrossLength = fw;
    }
    else
    {
        const float slotHeight = fh - 2.0f * si;
        slot.addRoundedRectangle(fx + si, fy + si, fw - 2.0f * si, slotHeight, slotHeight * 0.5f);
        if (thumbSize > 0)
        {
            const float thumbHeight = fh - 2.0f * ti;
            const float thumbLength = size - 2.0f * ti;
            thumb.addRoundedRectangle(start + ti, fy + ti, thumbLength, thumbHeight,
                                      juce::jmin(thumbHeight, thumbLength) * 0.5f);
        }
        acrossStart = fy;
        acrossLength = fh;
    }

    auto across = [isScrollbarVertical, acrossStart, acrossLength](juce::Colour from, float f1,
                                                                    juce::Colour to, float f2) {
        const float a = acrossStart + f1 * acrossLength;
        const float b = acrossStart + f2 * acrossLength;
        return isScrollbarVertical ? juce::ColourGradient(from, a, 0.0f, to, b, 0.0f, false)
                                   : juce::ColourGradient(from, 0.0f, a, to, 0.0f, b, false);
    };

    g.setGradientFill(across(thumbColour.overlaidWith(juce::Colours::black.withAlpha(0.27f)), 0.0f,
                             thumbColour.overlaidWith(juce::Colours::black.withAlpha(0.1f)), 0.7f));
    g.fillPath(slot);
    g.setGradientFill(across(juce::Colours::transparentBlack, 0.6f,
                             juce::Colours::black.withAlpha(0.1f), 1.0f));
    g.fillPath(slot);

    g.setColour(thumbColour);
    g.fillPath(thumb);
    {
        juce::Graphics::ScopedSaveState state(g);
        if (isScrollbarVertical)
            g.reduceClipRegion(x + width / 2, y, width - width / 2, height);
        else
            g.reduceClipRegion(x, y + height / 2, width, height - height / 2);
        g.setGradientFill(across(juce::Colours::black.withAlpha(0.05f), 0.6f,
                                 juce::Colours::transparentBlack, 1.0f));
        g.fillPath(thumb);
    }
    g.setColour(juce::Colours::black.withAlpha(0.3f));
    g.strokePath(thumb, juce::PathStrokeType(0.4f));
}

void ZylLookAndFeel::drawButtonBackground(juce::Graphics& g, juce::Button& button,
                                          const juce::Colour& backgroundColour, bool isMouseOver,
                                          bool isButtonDown)
{
    drawButtonLozenge(g, 0.0f, 0.0f, static_cast<float>(button.getWidth()),
                      static_cast<float>(button.getHeight()), backgroundColour, isMouseOver,
                      isButtonDown, button.hasKeyboardFocus(true), button.isEnabled(),
                      button.isConnectedOnLeft(), button.isConnectedOnRight(),
                      button.isConnectedOnTop(), button.isConnectedOnBottom());
}

void ZylLookAndFeel::drawButtonText(juce::Graphics& g, juce::TextButton& button,
                                    bool /*isMouseOver*/, bool /*isButtonDown*/)
{
    const auto font = getPopupMenuFont();
    g.setFont(font);
    g.setColour(button.findColour(juce::TextButton::textColourOnId)
                    .withMultipliedAlpha(button.isEnabled() ? 1.0f : 0.5f));

    const int width = button.getWidth();
    const int height = button.getHeight();
    const int yIndent = juce::jmin(4, juce::roundToInt(static_cast<float>(height) * 0.3f));
    const int cornerSize = juce::jmin(width, height) / 2;
    const int fontHeight = juce::roundToInt(font.getHeight() * 0.6f);
    const int leftIndent =
        juce::jmin(fontHeight, 2 + cornerSize / (button.isConnectedOnLeft() ? 4 : 2));
    const int rightIndent =
        juce::jmin(fontHeight, 2 + cornerSize / (button.isConnectedOnRight() ? 4 : 2));
    g.drawFittedText(button.getButtonText(), leftIndent, yIndent,
                     width - leftIndent - rightIndent, height - 2 * yIndent,
                     juce::Justification::centred, 2, 0.7f);
}

void ZylLookAndFeel::drawTickBox(juce::Graphics& g, juce::Component& /*component*/, float x,
                                 float y, float w, float h, bool ticked, bool isEnabled,
                                 bool /*isMouseOver*/, bool /*isButtonDown*/)
{
    const auto text = findColour(juce::ComboBox::textColourId);
    juce::Path box;
    box.addRectangle(0.0f, 2.0f, 6.0f, 6.0f);
    g.setColour(text.withAlpha(0.6f));
    g.strokePath(box,
                 juce::PathStrokeType(1.5f, juce::PathStrokeType::mitered,
                                      juce::PathStrokeType::butt),
                 box.getTransformToScaleToFit(x, y + 2.0f, w - 5.0f, h - 5.0f, true));
    if (ticked)
    {
        const auto tick = getTickShape(1.0f);
        g.setColour(isEnabled ? text : juce::Colours::transparentBlack);
        g.fillPath(tick, tick.getTransformToScaleToFit(x, y - 2.0f, w - 2.0f, h - 2.0f, true));
    }
}

juce::Font ZylLookAndFeel::getAlertWindowMessageFont()
{
    return getPopupMenuFont();
}

juce::Font ZylLookAndFeel::getAlertWindowFont()
{
    return getPopupMenuFont();
}

void ZylLookAndFeel::drawPopupMenuBackground(juce::Graphics& g, int width, int height)
{
    fillStriped(g, findColour(juce::PopupMenu::backgroundColourId), width, height);
    g.setColour(juce::Colour(0xff555555).withAlpha(0.6f));
    g.drawRect(0, 0, width, height, 1);
}

juce::Font ZylLookAndFeel::getPopupMenuFont()
{
    return juce::Font(kFontHeight, juce::Font::bold).withHorizontalScale(kFontHorizontalScale);
}

void ZylLookAndFeel::getIdealPopupMenuItemSize(const juce::String& text, bool isSeparator,
                                               int standardMenuItemHeight, int& idealWidth,
                                               int& idealHeight)
{
    if (isSeparator)
    {
        idealWidth = 50;
        idealHeight = standardMenuItemHeight > 0 ? standardMenuItemHeight / 2 : 10;
        return;
    }
    const auto font = getPopupMenuFont();
    idealHeight = juce::jmax(standardMenuItemHeight, juce::roundToInt(font.getHeight() * 1.3f));
    idealWidth = juce::roundToInt(font.getStringWidthFloat(text)) + 2 * idealHeight;
}

void ZylLookAndFeel::drawMenuBarBackground(juce::Graphics& g, int width, int height,
                                           bool isMouseOverBar, juce::MenuBarComponent& menuBar)
{
    const auto colour = (isMouseOverBar ? findColour(juce::PopupMenu::backgroundColourId)
                                        : findColour(juce::ComboBox::backgroundColourId))
                            .withMultipliedSaturation(0.9f);
    if (menuBar.isEnabled())
        drawLozenge(g, -4.0f, 0.0f, static_cast<float>(width + 8), static_cast<float>(height), 0.0f,
                    colour, 0.4f, true, true, true, true);
    else
        g.fillAll(colour);
}

int ZylLookAndFeel::getDefaultMenuBarHeight()
{
    return kMenuBarHeight;
}

juce::Font ZylLookAndFeel::getMenuBarFont(juce::MenuBarComponent& /*menuBar*/, int /*itemIndex*/,
                                          const juce::String& /*itemText*/)
{
    return getPopupMenuFont();
}

void ZylLookAndFeel::drawMenuBarItem(juce::Graphics& g, int width, int height, int itemIndex,
                                     const juce::String& itemText, bool isMouseOverItem,
                                     bool isMenuOpen, bool isMouseOverBar,
                                     juce::MenuBarComponent& menuBar)
{
    if (!menuBar.isEnabled())
    {
        g.setColour(menuBar.findColour(juce::AlertWindow::textColourId).withMultipliedAlpha(0.5f));
    }
    else if (isMenuOpen || isMouseOverItem)
    {
        g.fillAll(menuBar.findColour(juce::PopupMenu::highlightedBackgroundColourId));
        g.setColour(menuBar.findColour(juce::PopupMenu::highlightedTextColourId));
    }
    else
    {
        g.setColour(isMouseOverBar ? menuBar.findColour(juce::PopupMenu::textColourId)
                                   : menuBar.findColour(juce::AlertWindow::textColourId));
    }
    g.setFont(getMenuBarFont(menuBar, itemIndex, itemText));
    g.drawFittedText(itemText, 0, 0, width, height, juce::Justification::centred, 1, 0.7f);
}

void ZylLookAndFeel::drawComboBox(juce::Graphics& g, int width, int height, bool isButtonDown,
                                  int /*buttonX*/, int /*buttonY*/, int /*buttonW*/,
                                  int /*buttonH*/, juce::ComboBox& box)
{
    auto* label = box.getNumChildComponents() > 0 ? box.getChildComponent(0) : nullptr;
    const bool isMouseOver =
        (box.isMouseOver() || (label != nullptr && label->isMouseOver())) && box.isEnabled();
    drawButtonLozenge(g, 0.0f, 0.0f, static_cast<float>(width), static_cast<float>(height),
                      box.findColour(juce::ComboBox::buttonColourId), isMouseOver, isButtonDown,
                      box.hasKeyboardFocus(true), box.isEnabled(), true, true, true, true);

    const float h = static_cast<float>(height);
    const float d = static_cast<float>(width - height);
    juce::Path arrow;
    arrow.addTriangle(d + 0.5f * h, 0.6f * h, d + 0.7f * h, 0.4f * h, d + 0.3f * h, 0.4f * h);
    g.setColour(box.findColour(juce::TextButton::textColourOnId)
                    .withAlpha(box.isEnabled() ? 1.0f : 0.5f));
    g.fillPath(arrow);
}

juce::Font ZylLookAndFeel::getComboBoxFont(juce::ComboBox& /*box*/)
{
    return getPopupMenuFont();
}

juce::Font ZylLookAndFeel::getLabelFont(juce::Label& /*label*/)
{
    return getPopupMenuFont();
}

void ZylLookAndFeel::drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height,
                                      float sliderPos, float rotaryStartAngle,
                                      float rotaryEndAngle, juce::Slider& slider)
{
    const float r = static_cast<float>(juce::jmin(height / 2, width / 2));
    const float cx = static_cast<float>(x) + 0.5f * static_cast<float>(width);
    const float cy = static_cast<float>(y) + 0.5f * static_cast<float>(height);
    const float angle = rotaryStartAngle + sliderPos * (rotaryEndAngle - rotaryStartAngle);
    const bool enabled = slider.isEnabled();
    const bool isMouseOver = slider.isMouseOverOrDragging() && enabled;

    const float s = 0.9f * 0.85f * r;
    const auto ball = createBaseColour(findColour(juce::ComboBox::buttonColourId), false,
                                       isMouseOver, false)
                          .withMultipliedAlpha(enabled ? 1.0f : 0.5f);
    drawSphere(g, cx - s, cy - s, 2.0f * s, ball, 0.1f * s);

    if (angle != rotaryStartAngle)
    {
        juce::Path arc;
        arc.addPieSegment(cx - r, cy - r, 2.0f * r, 2.0f * r, rotaryStartAngle, angle, 0.85f);
        const float alpha = enabled ? (isMouseOver ? 1.0f : 0.7f) : 0.3f;
        g.setColour(slider.findColour(juce::Slider::rotarySliderFillColourId).withAlpha(alpha));
        g.fillPath(arc);
    }

    const float n = 0.1f * r;
    juce::Path pointer;
    pointer.addRectangle(-0.6f * n, -0.55f * 0.85f * r - n, 1.2f * n, 4.0f * n);
    g.setColour(slider.findColour(juce::AlertWindow::textColourId)
                    .withMultipliedAlpha(enabled ? 1.0f : 0.5f));
    g.fillPath(pointer, juce::AffineTransform::rotation(angle).translated(cx, cy));
}

juce::Rectangle<int> ZylLookAndFeel::getTooltipBounds(const juce::String& tipText,
                                                      juce::Point<int> screenPos,
                                                      juce::Rectangle<int> parentArea)
{
    int w = 0;
    int h = 0;
    getTooltipSize(tipText, w, h);
    return juce::Rectangle<int>(screenPos.x > parentArea.getCentreX() ? screenPos.x - (w + 12)
                                                                      : screenPos.x + 24,
                                screenPos.y > parentArea.getCentreY() ? screenPos.y - (h + 6)
                                                                      : screenPos.y + 6,
                                w, h)
        .constrainedWithin(parentArea);
}

void ZylLookAndFeel::drawTooltip(juce::Graphics& g, const juce::String& text, int width, int height)
{
    g.fillAll(findColour(juce::TooltipWindow::backgroundColourId));
    g.setColour(findColour(juce::TooltipWindow::outlineColourId));
    g.drawRect(0, 0, width, height, 1);
    layoutTooltipText(text, findColour(juce::TooltipWindow::textColourId))
        .draw(g, juce::Rectangle<float>(static_cast<float>(width), static_cast<float>(height)));
}
