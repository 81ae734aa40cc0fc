#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// The look of the whole interface: a dark scheme made of two colours (a base face colour and an
// accent text colour), square glossy buttons, striped popup menus, one small bold condensed font
// almost everywhere, a sphere knob with a value arc and a pointer, and its own tooltip, tick box,
// scroll bar and menu-bar drawing. Everything not overridden here is LookAndFeel_V3's.
class ZylLookAndFeel : public juce::LookAndFeel_V3
{
public:
    // The scheme's defaults: base 0xff808080 darker by 0.9 (0xff434343), text 0xff6acdfe.
    static juce::Colour defaultBaseColour();
    static constexpr juce::uint32 kDefaultTextColour = 0xff6acdfe;

    static constexpr float kFontHeight = 11.7f;
    static constexpr float kFontHorizontalScale = 0.85f;
    static constexpr int kMenuBarHeight = 20;
    static constexpr float kTooltipMaxWidth = 400.0f;
    static constexpr float kTooltipFontHeight = 12.0f;

    // Fills the colour table with the default scheme and switches native alert windows on.
    ZylLookAndFeel();
    ~ZylLookAndFeel() override = default;

    // Refills every entry of the colour table from the two colours; may be called at any time.
    virtual void setColourScheme(juce::Colour base, juce::Colour text);

    // The glass lozenge of LookAndFeel_V2 with a softer highlight; offered to panels.
    virtual void drawGradientShape(juce::Graphics& g, float x, float y, float w, float h,
                                   juce::Colour colour, float outlineThickness, float cornerSize,
                                   bool flatLeft, bool flatRight, bool flatTop, bool flatBottom);
    // A square-cornered face with a thin bright band near the top and a dark outline. Nothing is
    // drawn when the area is not above 1.1 x the outline thickness in either direction.
    virtual void drawLozenge(juce::Graphics& g, float x, float y, float w, float h, float cornerSize,
                             juce::Colour colour, float outlineThickness, bool connectedLeft,
                             bool connectedRight, bool connectedTop, bool connectedBottom);
    // Left-justified plain (not bold) text in the menu font, wrapped at 400 pixels.
    virtual juce::TextLayout createTextLayout(const juce::String& text, juce::Colour colour);
    // A shaded ball: a dark rim circle, then a vertical gradient inside it.
    virtual void drawSphere(juce::Graphics& g, float x, float y, float diameter, juce::Colour colour,
                            float rim);
    // A button face: outline thickness and insets from the state, then drawLozenge.
    virtual void drawButtonLozenge(juce::Graphics& g, float x, float y, float w, float h,
                                   juce::Colour colour, bool isMouseOver, bool isButtonDown,
                                   bool hasFocus, bool isEnabled, bool connectedLeft,
                                   bool connectedRight, bool connectedTop, bool connectedBottom);

    // Size of a tooltip for text: its layout plus 20 across and 15 down.
    virtual void getTooltipSize(const juce::String& text, int& width, int& height);

    // The face colour of a control in a state: saturation up when focused, down otherwise, then
    // contrasted when pressed (0.2) or hovered (0.1).
    static juce::Colour createBaseColour(juce::Colour colour, bool hasKeyboardFocus,
                                         bool isMouseOver, bool isButtonDown);
    // A closed rectangle whose flagged corners are quarter circles of radius cornerSize,
    // running clockwise from the top-left.
    static void addRoundedRectangleWithCorners(juce::Path& path, float x, float y, float w, float h,
                                               float cornerSize, bool curveTopLeft,
                                               bool curveTopRight, bool curveBottomLeft,
                                               bool curveBottomRight);
    // Outline thickness of a button face in a state.
    static float buttonOutlineThickness(bool isEnabled, bool isButtonDown);

    // juce::LookAndFeel
    juce::Path getTickShape(float height) override;

    // juce::ScrollBar::LookAndFeelMethods
    void drawScrollbarButton(juce::Graphics& g, juce::ScrollBar& scrollbar, int width, int height,
                             int buttonDirection, bool isScrollbarVertical, bool isMouseOver,
                             bool isButtonDown) override;
    void drawScrollbar(juce::Graphics& g, juce::ScrollBar& scrollbar, int x, int y, int width,
                       int height, bool isScrollbarVertical, int thumbStartPosition, int thumbSize,
                       bool isMouseOver, bool isMouseDown) override;

    // juce::Button::LookAndFeelMethods
    void drawButtonBackground(juce::Graphics& g, juce::Button& button,
                              const juce::Colour& backgroundColour, bool isMouseOver,
                              bool isButtonDown) override;
    void drawButtonText(juce::Graphics& g, juce::TextButton& button, bool isMouseOver,
                        bool isButtonDown) override;
    void drawTickBox(juce::Graphics& g, juce::Component& component, float x, float y, float w,
                     float h, bool ticked, bool isEnabled, bool isMouseOver,
                     bool isButtonDown) override;

    // juce::AlertWindow::LookAndFeelMethods
    juce::Font getAlertWindowMessageFont() override;
    juce::Font getAlertWindowFont() override;

    // juce::PopupMenu::LookAndFeelMethods
    void drawPopupMenuBackground(juce::Graphics& g, int width, int height) override;
    juce::Font getPopupMenuFont() override;
    void getIdealPopupMenuItemSize(const juce::String& text, bool isSeparator,
                                   int standardMenuItemHeight, int& idealWidth,
                                   int& idealHeight) override;
    void drawMenuBarBackground(juce::Graphics& g, int width, int height, bool isMouseOverBar,
                               juce::MenuBarComponent& menuBar) override;
    int getDefaultMenuBarHeight() override;
    juce::Font getMenuBarFont(juce::MenuBarComponent& menuBar, int itemIndex,
                              const juce::String& itemText) override;
    void drawMenuBarItem(juce::Graphics& g, int width, int height, int itemIndex,
                         const juce::String& itemText, bool isMouseOverItem, bool isMenuOpen,
                         bool isMouseOverBar, juce::MenuBarComponent& menuBar) override;

    // juce::ComboBox::LookAndFeelMethods
    void drawComboBox(juce::Graphics& g, int width, int height, bool isButtonDown, int buttonX,
                      int buttonY, int buttonW, int buttonH, juce::ComboBox& box) override;
    juce::Font getComboBoxFont(juce::ComboBox& box) override;

    // juce::Label::LookAndFeelMethods
    juce::Font getLabelFont(juce::Label& label) override;

    // juce::Slider::LookAndFeelMethods
    void drawRotarySlider(juce::Graphics& g, int x, int y, int width, int height, float sliderPos,
                          float rotaryStartAngle, float rotaryEndAngle,
                          juce::Slider& slider) override;

    // juce::TooltipWindow::LookAndFeelMethods: the window takes getTooltipSize's size, placed
    // beside the pointer as the framework does.
    juce::Rectangle<int> getTooltipBounds(const juce::String& tipText, juce::Point<int> screenPos,
                                          juce::Rectangle<int> parentArea) override;
    void drawTooltip(juce::Graphics& g, const juce::String& text, int width, int height) override;

private:
    juce::TextLayout layoutTooltipText(const juce::String& text, juce::Colour colour) const;

    JUCE_DECLARE_NON_COPYABLE_WITH_LEAK_DETECTOR(ZylLookAndFeel)
};
