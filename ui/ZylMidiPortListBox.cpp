#include "ui/ZylMidiPortListBox.h"

namespace
{
const juce::Colour kEmptyTextColour(0xff808080);
constexpr float kSelectedRowAlpha = 0.4f;
constexpr float kDisabledPortAlpha = 0.6f;
// The tick column ends this far right of the row height.
constexpr int kTickColumnGap = 5;
} // namespace

ZylMidiPortListBox::ZylMidiPortListBox(const juce::String& listName,
                                       const juce::StringArray& portNames,
                                       const juce::String& emptyListText)
    : juce::ListBox(listName, nullptr), items(portNames), emptyText(emptyListText)
{
    setModel(this);
    setOutlineThickness(1);
    setRowHeight(kRowHeight);
}

ZylMidiPortListBox::~ZylMidiPortListBox()
{
    setModel(nullptr);
}

int ZylMidiPortListBox::getNumRows()
{
    return items.size();
}

void ZylMidiPortListBox::paintListBoxItem(int row, juce::Graphics& g, int width, int height,
                                          bool rowIsSelected)
{
    if (!juce::isPositiveAndBelow(row, items.size()))
        return;

    if (rowIsSelected)
        g.fillAll(findColour(juce::ComboBox::textColourId, false)
                      .withMultipliedAlpha(kSelectedRowAlpha));

    const auto& name = items[row];
    const bool enabled = isPortEnabled(name);

    const int x = getRowHeight() + kTickColumnGap;
    const auto tickSize = static_cast<float>(height - height / 4);
    auto& laf = getLookAndFeel();
    laf.drawTickBox(g, *this, static_cast<float>(x) - tickSize,
                            (static_cast<float>(height) - tickSize) / 2.0f, tickSize, tickSize,
                            enabled, true, true, false);

    g.setFont(laf.getPopupMenuFont());
    g.setColour(laf.findColour(juce::ComboBox::textColourId)
                    .withAlpha(enabled ? 1.0f : kDisabledPortAlpha));
    g.drawText(name, x, 0, width - x - 2, height, juce::Justification::centredLeft, true);
}

void ZylMidiPortListBox::listBoxItemClicked(int row, const juce::MouseEvent& e)
{
    selectRow(row);
    if (e.x < getRowHeight() + kTickColumnGap)
        flipEnablement(row);
}

void ZylMidiPortListBox::listBoxItemDoubleClicked(int row, const juce::MouseEvent&)
{
    flipEnablement(row);
}

void ZylMidiPortListBox::flipEnablement(int row)
{
    if (!juce::isPositiveAndBelow(row, items.size()))
        return;
    const auto& name = items[row];
    setPortEnabled(name, !isPortEnabled(name));
}

void ZylMidiPortListBox::paintOverChildren(juce::Graphics& g)
{
    // Over the children: the list's viewport is opaque when its background is, and hides
    // whatever the list itself paints below it.
    juce::ListBox::paintOverChildren(g);

    if (items.isEmpty())
    {
        g.setColour(kEmptyTextColour);
        g.setFont(getLookAndFeel().getPopupMenuFont());
        g.drawText(emptyText, 0, 0, getWidth(), getHeight() / 2, juce::Justification::centred,
                   true);
    }
}
