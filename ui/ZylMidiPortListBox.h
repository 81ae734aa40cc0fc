#pragma once

#include <juce_gui_basics/juce_gui_basics.h>

// A tick list of the MIDI ports present when it was built: a ticked row is a port opened in the
// program's device manager. Clicking the tick column or double-clicking a row opens or closes
// the port. The port list is read once; the ticks are read from the manager at every paint, so
// a port that failed to open stays unticked. The two directions differ only in the hooks below.
class ZylMidiPortListBox : public juce::ListBox, public juce::ListBoxModel
{
public:
    static constexpr int kRowHeight = 21;

    ZylMidiPortListBox(const juce::String& listName, const juce::StringArray& portNames,
                       const juce::String& emptyText);
    ~ZylMidiPortListBox() override;

    int getNumRows() override;
    void paintListBoxItem(int row, juce::Graphics& g, int width, int height,
                          bool rowIsSelected) override;
    void listBoxItemClicked(int row, const juce::MouseEvent& e) override;
    void listBoxItemDoubleClicked(int row, const juce::MouseEvent& e) override;
    // The list's outline, and the empty text when there are no ports.
    void paintOverChildren(juce::Graphics& g) override;

    // Opens the row's port when it is closed and closes it when it is open; rows outside the
    // list do nothing.
    virtual void flipEnablement(int row);

    const juce::StringArray& getItems() const noexcept { return items; }
    const juce::String& getEmptyText() const noexcept { return emptyText; }

protected:
    virtual bool isPortEnabled(const juce::String& name) const = 0;
    virtual void setPortEnabled(const juce::String& name, bool enabled) = 0;

private:
    juce::StringArray items;
    juce::String emptyText;

    JUCE_DECLARE_NON_COPYABLE(ZylMidiPortListBox)
};
