#include "ui/ZylParamRotary.h"

#include "framework/ZylDebug.h"
#include "framework/ZylDomain.h"
#include "framework/ZylHelpers.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylNumberText.h"
#include "framework/ZylParameter.h"
#include "framework/ZylValue.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"
#include "ui/ZylSlider.h"

#include <optional>

namespace
{
constexpr int kRowHeight = 19;
constexpr int kRowTop = 7;
constexpr int kLabelWidth = 65;
constexpr int kBesideLabelRight = 71;
constexpr int kValueBoxWidth = 40;
constexpr int kKnobWidth = 37;
constexpr int kKnobHeight = 31;
constexpr int kMinDragPixels = 50;
constexpr float kDecorationScale = 0.8f;

constexpr int kAllEdgesConnected = juce::Button::ConnectedOnLeft | juce::Button::ConnectedOnRight
                                   | juce::Button::ConnectedOnTop | juce::Button::ConnectedOnBottom;

bool isDigit(juce::juce_wchar c)
{
    return c >= '0' && c <= '9';
}

// Whether text begins (after blanks and a sign) with a decimal number: a digit, or a point
// followed by a digit. "inf", "nan" and words do not count.
bool beginsWithNumber(const juce::String& text)
{
    auto p = text.getCharPointer();
    while (juce::CharacterFunctions::isWhitespace(*p))
        ++p;
    if (*p == '+' || *p == '-')
        ++p;
    if (isDigit(*p))
        return true;
    if (*p == '.')
    {
        ++p;
        return isDigit(*p);
    }
    return false;
}

std::optional<double> leadingNumber(const juce::String& text)
{
    if (!beginsWithNumber(text))
        return std::nullopt;
    return zylParseLeadingNumber(toStdWString(text));
}

// A typed number: a decimal comma is read as a point when the text has no point.
std::optional<double> typedNumber(juce::String text)
{
    if (!text.containsChar('.'))
        text = text.replaceCharacter(',', '.');
    return leadingNumber(text);
}

juce::String toJuce(const std::wstring& text)
{
    return juce::String(text.c_str());
}
} // namespace

ZylParamRotary::ZylParamRotary(ZylEditor* owner)
    : ZylParamControl(owner), wheelIcon(loadIcon("mousewheel.svg")),
      modulateIcon(loadIcon("modulate.svg"))
{
    setLayoutStyle(1);

    label = new ZylLabel(juce::String(), juce::String());
    label->setJustificationType(juce::Justification::centred);
    addAndMakeVisible(label);

    wheelButton = new ZylDrawableButton("wheelButton");
    wheelButton->setImages(wheelIcon.get());
    wheelButton->setClickingTogglesState(true);
    wheelButton->setTooltip(kWheelTooltip);
    wheelButton->setConnectedEdges(kAllEdgesConnected);
    wheelButton->addListener(this);
    addAndMakeVisible(wheelButton);

    modulationButton = new ZylDrawableButton("modulationButton");
    modulationButton->setImages(modulateIcon.get());
    modulationButton->setClickingTogglesState(false);
    modulationButton->setTooltip("Assign a modulation source to this parameter");
    modulationButton->setConnectedEdges(kAllEdgesConnected);
    modulationButton->addListener(this);
    addAndMakeVisible(modulationButton);

    valueBox = new ZylLabel("valueBox", "000.0");
    valueBox->setJustificationType(juce::Justification::centred);
    valueBox->setEditable(true, false);
    valueBox->setColour(juce::Label::backgroundColourId,
                        findColour(juce::ComboBox::backgroundColourId));
    valueBox->setColour(juce::Label::textColourId, findColour(juce::ComboBox::textColourId));
    valueBox->setColour(juce::TextEditor::textColourId, findColour(juce::ComboBox::textColourId));
    valueBox->setColour(juce::Label::outlineColourId, findColour(juce::ComboBox::outlineColourId));
    valueBox->addListener(this);
    addAndMakeVisible(valueBox);

    knob = new ZylSlider("knob");
    knob->setRange(0.0, 100.0, 1.0);
    knob->setSliderStyle(juce::Slider::RotaryVerticalDrag);
    knob->setTextBoxStyle(juce::Slider::NoTextBox, true, 0, 0);
    // The wheel belongs to the editor, which steps the wheel-assigned parameter.
    knob->setScrollWheelEnabled(false);
    knob->addListener(this);
    addAndMakeVisible(knob);

    // Three quarters of a rounded blob in a 46 x 44 box, its square corner top left.
    decoration.startNewSubPath(23.0f, 0.0f);
    decoration.cubicTo(36.0f, 0.0f, 46.0f, 10.0f, 46.0f, 22.0f);
    decoration.cubicTo(46.0f, 34.0f, 36.0f, 44.0f, 23.0f, 44.0f);
    decoration.cubicTo(10.0f, 44.0f, 0.0f, 34.0f, 0.0f, 22.0f);
    decoration.lineTo(0.0f, 0.0f);
    decoration.closeSubPath();

    resized();
    updateModulationButtons();
}

ZylParamRotary::~ZylParamRotary()
{
    setParameter(nullptr);
    deleteAllChildren();
    label = valueBox = nullptr;
    wheelButton = modulationButton = nullptr;
    knob = nullptr;
}

void ZylParamRotary::layout(int& width, int& height, bool measureOnly) const
{
    const bool labelBeside = getLayoutStyle() == kLabelBesideStyle;
    const int c = labelBeside ? kBesideLabelRight : 0;
    if (!measureOnly)
    {
        if (labelBeside)
        {
            label->setJustificationType(juce::Justification::right);
            label->setBounds(0, kRowTop, kLabelWidth, kRowHeight);
        }
        else
        {
            label->setJustificationType(juce::Justification::centred);
            label->setBounds(-5, kRowTop + kRowHeight, kLabelWidth, kRowHeight);
        }
        wheelButton->setBounds(c, kRowTop, kRowHeight, kRowHeight);
    }
    int d = c + kRowHeight;

    auto* parameter = getParameter();
    const bool modulatable = parameter != nullptr && parameter->getModulationParameter() != nullptr;
    if (modulatable)
    {
        if (!measureOnly)
            modulationButton->setBounds(d, kRowTop, kRowHeight, kRowHeight);
        d = c + 2 * kRowHeight - 1;
    }
    if (!measureOnly)
    {
        modulationButton->setVisible(modulatable);
        valueBox->setBounds(d, kRowTop, kValueBoxWidth, kRowHeight);
        knob->setBounds(d + 35, kRowTop + 2, kKnobWidth, kKnobHeight);

    }
    // The value box always stands at the row's top, so that a size measured before the first
    // layout is the size the control gets.
    width = d + 72;
    height = kRowTop + 37;
}

void ZylParamRotary::paint(juce::Graphics& g)
{
    g.setColour(findColour(juce::ComboBox::backgroundColourId));
    const auto transform = juce::AffineTransform::scale(kDecorationScale)
                               .translated(static_cast<float>(valueBox->getRight() - 5),
                                           static_cast<float>(valueBox->getY()));
    g.fillPath(decoration, transform);
}

void ZylParamRotary::resized()
{
    int width = 0;
    int height = 0;
    layout(width, height, false);
}

int ZylParamRotary::getPreferredHeight() const
{
    int width = 0;
    int height = 0;
    layout(width, height, true);
    return height;
}

int ZylParamRotary::getPreferredWidth() const
{
    int width = 0;
    int height = 0;
    layout(width, height, true);
    return width;
}

void ZylParamRotary::rebuild(bool /*keepSelection*/)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    label->setText(juce::String(), juce::dontSendNotification);
    valueBox->setText(juce::String(), juce::dontSendNotification);
    label->setText(toJuce(parameter->getName()).toLowerCase(), juce::dontSendNotification);

    const auto description = toJuce(parameter->getDescription());
    setTooltip(description);
    knob->setTooltip(description);
    label->setTooltip(description);
    valueBox->setTooltip(description);

    auto* domain = parameter->getDomain();
    const int n = domain != nullptr ? static_cast<int>(domain->getValues().size()) : 0;
    // A knob needs a range; a list of one value (or none) gets one position too many, which
    // sliderValueChanged refuses.
    knob->setRange(0.0, static_cast<double>(juce::jmax(1, n - 1)), 1.0);
    knob->setMouseDragSensitivity(juce::jmax(n - 1, kMinDragPixels));
}

void ZylParamRotary::updateValue()
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    auto* value = parameter->getValueObject();
    valueBox->setText(value != nullptr ? toJuce(value->getName()) : juce::String(),
                      juce::dontSendNotification);

    const int index = parameter->getIndex();
    if (index != juce::roundToInt(knob->getValue()))
    {
        if (!dragging)
            knob->setValue(static_cast<double>(index), juce::dontSendNotification);
        if (value != nullptr && !value->getDescription().empty())
        {
            valueBox->setTooltip(toJuce(value->getDescription()));
            knob->setTooltip(toJuce(value->getDescription()));
        }
    }
    setEnabled(parameter->isEnabled());
    updateModulationButtons();
}

void ZylParamRotary::updateWheelButton()
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const juce::ScopedLock sl(parameter->getLock());
    wheelButton->setToggleState(parameter->isWheelAssigned(), juce::dontSendNotification);
}

void ZylParamRotary::updateModulation()
{
    resized();
    updateModulationButtons();
}

void ZylParamRotary::updateModulationButtons()
{
    const bool on = isModulated();
    modulationButton->setToggleState(on, juce::dontSendNotification);
    wheelButton->setEnabled(!on);
    valueBox->setEnabled(!on);
    // Without a parameter the knob has nothing to turn.
    knob->setEnabled(!on && getParameter() != nullptr);
}

void ZylParamRotary::buttonClicked(juce::Button* button)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    if (button == wheelButton)
    {
        const juce::ScopedLock sl(parameter->getLock());
        parameter->setWheelAssigned(wheelButton->getToggleState());
    }
    else if (button == modulationButton)
    {
        juce::Component::SafePointer<ZylParamRotary> self(this);
        showModulationMenu(*modulationButton, [self] {
            if (self != nullptr)
                self->updateModulationButtons();
        });
    }
}

void ZylParamRotary::sliderValueChanged(juce::Slider* /*slider*/)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    const int position = juce::roundToInt(knob->getValue());
    const juce::ScopedLock sl(parameter->getLock());
    auto* domain = parameter->getDomain();
    const auto* values = domain != nullptr ? &domain->getValues() : nullptr;
    if (values == nullptr || position < 0 || position >= static_cast<int>(values->size()))
    {
        zylDebugLine("ZylParamRotary parameter index overflow - change message too old?");
        return;
    }
    if (auto* value = (*values)[static_cast<size_t>(position)])
    {
        parameter->setValueObject(value, kCauseUser, false, true);
        updateValue();
    }
}

void ZylParamRotary::sliderDragStarted(juce::Slider* /*slider*/)
{
    auto* parameter = getParameter();
    if (parameter == nullptr)
        return;
    dragging = true;
    parameter->setGestureActive(true);
}

void ZylParamRotary::sliderDragEnded(juce::Slider* /*slider*/)
{
    dragging = false;
    if (auto* parameter = getParameter())
        parameter->setGestureActive(false);
}

ZylValue* ZylParamRotary::findTypedValue(const juce::String& text) const
{
    auto* parameter = getParameter();
    auto* domain = parameter != nullptr ? parameter->getDomain() : nullptr;
    const auto typed = typedNumber(text);
    if (domain == nullptr || !typed.has_value())
        return nullptr;

    ZylValue* lowest = nullptr;
    ZylValue* highest = nullptr;
    double low = 0.0;
    double high = 0.0;
    for (auto* value : domain->getValues())
    {
        // "-oo dB" and other names without a number never match a typed number.
        const auto number = leadingNumber(toJuce(value->getName()));
        if (!number.has_value())
            continue;
        if (*number == *typed)
            return value;
        if (lowest == nullptr || *number < low)
        {
            lowest = value;
            low = *number;
        }
        if (highest == nullptr || *number > high)
        {
            highest = value;
            high = *number;
        }
    }
    if (lowest != nullptr && *typed < low)
        return lowest;
    if (highest != nullptr && *typed > high)
        return highest;
    return nullptr;
}

void ZylParamRotary::labelTextChanged(juce::Label* labelThatChanged)
{
    auto* parameter = getParameter();
    if (labelThatChanged != valueBox || parameter == nullptr)
        return;
    {
        const juce::ScopedLock sl(parameter->getLock());
        if (auto* value = findTypedValue(valueBox->getText()))
            parameter->setValueObject(value, kCauseUser, false, true);
    }
    updateValue();
}
