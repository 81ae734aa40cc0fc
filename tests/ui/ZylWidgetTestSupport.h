#pragma once

#include "framework/ZylDomainCommand.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylMessageSink.h"
#include "framework/ZylParameter.h"
#include "framework/ZylRealDomain.h"
#include "framework/ZylRealParameter.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"

#include <juce_gui_basics/juce_gui_basics.h>

#include <memory>
#include <string>
#include <vector>

// Domains, parameters and small probes for the parameter widget tests.
namespace zyltest
{
// A list domain of the given control type whose values are named by the caller; the first value
// is the default. Its list can be rebuilt the way a run-time vocabulary rebuilds it.
class WidgetDomain : public ZylRealDomain
{
public:
    WidgetDomain(int type, const std::vector<std::wstring>& names,
                 std::wstring description = L"A test vocabulary")
        : ZylRealDomain(nullptr), controlType(type), text(std::move(description))
    {
        fill(names);
    }

    // Names "0" to "n-1".
    static std::vector<std::wstring> numbered(int n)
    {
        std::vector<std::wstring> names;
        for (int i = 0; i < n; ++i)
            names.push_back(std::to_wstring(i));
        return names;
    }

    std::wstring getShortName() const override { return L"Test"; }
    std::wstring getDescription() const override { return text; }
    int getControlType() const override { return controlType; }
    bool hasFixedValues() const override { return false; }
    bool hasDynamicValues() const override { return true; }

    // Replaces the list under the lock; the bound parameters re-select, then 0x0704 is posted.
    void rebuildWith(const std::vector<std::wstring>& names)
    {
        const juce::ScopedLock sl(getLock());
        clearValues();
        fill(names);
        listRebuilt();
    }

    ZylValue* value(size_t place) const { return getValues()[place]; }

private:
    void fill(const std::vector<std::wstring>& names)
    {
        for (const auto& name : names)
            addValue(std::make_unique<ZylValue>(this, 0, 0.0f, 0.0, name, L"", L"", nullptr, 0));
        distributePositions();
        renumberIds();
        renumberIndexes();
        setDefaultValue(getValues().empty() ? nullptr : getValues().front());
    }

    int controlType;
    std::wstring text;
};

// Records every message it hears.
class RecordingSink : public ZylMessageSink
{
public:
    struct Entry
    {
        void* sender;
        int code;
    };

    void receiveMessage(void* sender, int code, int /*timeMs*/) override
    {
        entries.push_back({ sender, code });
    }

    // The codes from sender since the last call (the queue drained first).
    std::vector<int> takeCodes(const void* sender)
    {
        drainMessageQueue();
        std::vector<int> codes;
        for (const auto& entry : entries)
            if (entry.sender == sender)
                codes.push_back(entry.code);
        entries.clear();
        return codes;
    }

    std::vector<Entry> entries;
};

// A parameter over a domain it does not own, with a sink that records what reaches it.
struct BoundParameter
{
    BoundParameter(ZylDomain& domain, const std::wstring& name = L"Scale")
        : parameter(std::make_unique<ZylRealParameter>(nullptr, 0, -1, &domain, false, name))
    {
        parameter->resendValue();
        drainMessageQueue();
        parameter->addSink(&sink);
    }
    ~BoundParameter() { parameter->removeSink(&sink); }

    ZylParameter* get() const { return parameter.get(); }
    std::vector<int> codes() { return sink.takeCodes(parameter->asSender()); }
    // How many value changes with the user's cause reached the parameter since the last call.
    size_t userChanges()
    {
        size_t count = 0;
        for (const int code : codes())
            count += code == zylMessageCode(kValueChanged, kCauseUser) ? 1 : 0;
        return count;
    }

    std::unique_ptr<ZylRealParameter> parameter;
    RecordingSink sink;
};

// The child of parent named name, of type T; null when there is none.
template <class T>
T* findChild(juce::Component& parent, const juce::String& name)
{
    for (auto* child : parent.getChildren())
        if (child->getName() == name)
            if (auto* typed = dynamic_cast<T*>(child))
                return typed;
    return nullptr;
}

// Every child of parent of type T, in z-order.
template <class T>
std::vector<T*> childrenOfType(juce::Component& parent)
{
    std::vector<T*> found;
    for (auto* child : parent.getChildren())
        if (auto* typed = dynamic_cast<T*>(child))
            found.push_back(typed);
    return found;
}

// Clicks the button the way a mouse click does (the click arrives through the message queue).
inline void click(juce::Button& button)
{
    button.triggerClick();
    drainMessageQueue();
}

// A mouse event at (x, y) on component with the left button down.
inline juce::MouseEvent mouseAt(juce::Component& component, float x, float y)
{
    const auto now = juce::Time::getCurrentTime();
    return juce::MouseEvent(juce::Desktop::getInstance().getMainMouseSource(), { x, y },
                            juce::ModifierKeys(juce::ModifierKeys::leftButtonModifier), 0.0f,
                            0.0f, 0.0f, 0.0f, 0.0f, &component, &component, now, { x, y }, now,
                            1, false);
}

// One turn of the mouse wheel over component.
inline void turnWheel(juce::Component& component, float deltaY)
{
    juce::MouseWheelDetails details {};
    details.deltaY = deltaY;
    component.mouseWheelMove(mouseAt(component, 2.0f, 2.0f), details);
    drainMessageQueue();
}
} // namespace zyltest

#include <clocale>

namespace zyltest
{
// A locale whose decimal mark is a comma, for the life of the object (all categories, as a
// library calling setlocale(LC_ALL, "") in such a country would); active tells whether one was
// found. The old locale comes back afterwards.
class CommaDecimalLocale
{
public:
    CommaDecimalLocale()
    {
        if (const char* current = std::setlocale(LC_ALL, nullptr))
            previous = current;
        for (const char* name : { "de_DE.UTF-8", "de_DE.utf8", "fr_FR.UTF-8", "fr_FR.utf8",
                                  "German_Germany.1252" })
            if (std::setlocale(LC_ALL, name) != nullptr && *std::localeconv()->decimal_point == ',')
            {
                active = true;
                return;
            }
        std::setlocale(LC_ALL, previous.c_str());
    }
    ~CommaDecimalLocale() { std::setlocale(LC_ALL, previous.c_str()); }
    CommaDecimalLocale(const CommaDecimalLocale&) = delete;
    CommaDecimalLocale& operator=(const CommaDecimalLocale&) = delete;

    bool active = false;

private:
    std::string previous = "C";
};
} // namespace zyltest

#include "tests/ui/ZylSnapshot.h"
#include "ui/ZylGuiHelpers.h"

namespace zyltest
{
// The editor's striped dark background around a panel, so that a snapshot shows the panel as
// it stands in the program.
class EditorBackdrop : public juce::Component
{
public:
    static constexpr int kMargin = 6;

    explicit EditorBackdrop(juce::Component& panel) : shown(panel) { addAndMakeVisible(shown); }
    ~EditorBackdrop() override { removeChildComponent(&shown); }

    void paint(juce::Graphics& g) override
    {
        fillStriped(g, findColour(juce::ComboBox::backgroundColourId), getWidth(), getHeight());
    }
    void resized() override { shown.setBounds(getLocalBounds().reduced(kMargin)); }

private:
    juce::Component& shown;
};

// Writes the component as name + ".png" and, drawn three times larger for a closer look,
// name + "-x3.png" into snapshotFolder(), when that is set.
inline void maybeWriteSnapshots(juce::Component& component, int width, int height,
                                const juce::String& name)
{
    maybeWriteSnapshot(component, width, height, name);
    const auto folder = snapshotFolder();
    if (folder == juce::File())
        return;
    const auto image = component.createComponentSnapshot(component.getLocalBounds(), true, 3.0f);
    auto file = folder.getChildFile(name + "-x3.png");
    file.deleteFile();
    juce::FileOutputStream out(file);
    juce::PNGImageFormat png;
    if (out.openedOk())
        png.writeImageToStream(image, out);
}
} // namespace zyltest
