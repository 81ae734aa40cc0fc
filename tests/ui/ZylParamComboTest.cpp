#include "framework/ZylDebug.h"
#include "ui/ZylComboBox.h"
#include "ui/ZylDrawableButton.h"
#include "ui/ZylLabel.h"
#include "ui/ZylParamCombo.h"
#include "tests/ui/ZylWidgetTestSupport.h"

#include <gtest/gtest.h>

using namespace zyltest;

namespace
{
constexpr int kConfigure = zylCommandCode(kCommandMidiSettings);

struct ComboParts
{
    explicit ComboParts(ZylParamCombo& control)
        : label(findChild<ZylLabel>(control, "")),
          wheel(findChild<ZylDrawableButton>(control, "wheelButton")),
          modulation(findChild<ZylDrawableButton>(control, "modulationButton")),
          combo(findChild<ZylComboBox>(control, "combo")),
          decrease(findChild<ZylDrawableButton>(control, "decreaseButton")),
          increase(findChild<ZylDrawableButton>(control, "increaseButton"))
    {
    }

    std::vector<std::pair<juce::String, int>> items() const
    {
        std::vector<std::pair<juce::String, int>> list;
        for (int i = 0; i < combo->getNumItems(); ++i)
            list.emplace_back(combo->getItemText(i), combo->getItemId(i));
        return list;
    }

    ZylLabel* label;
    ZylDrawableButton* wheel;
    ZylDrawableButton* modulation;
    ZylComboBox* combo;
    ZylDrawableButton* decrease;
    ZylDrawableButton* increase;
};

// A, B, C and the command "Configure..." on a combo control of the default widths.
struct ComboControl : ::testing::Test
{
    ComboControl()
    {
        domain.addCommand(std::make_unique<ZylDomainCommand>(L"Configure..."));
        domain.addSink(&domainSink);
        control.setParameter(parameter.get());
        drainMessageQueue();
        parameter.codes();
    }
    ~ComboControl() override { domain.removeSink(&domainSink); }

    WidgetDomain domain { kControlCombo, { L"A", L"B", L"C" }, L"Three letters" };
    BoundParameter parameter { domain, L"Scale" };
    RecordingSink domainSink;
    ZylParamCombo control { nullptr, 0, 0 };
    ComboParts parts { control };
};
} // namespace

TEST_F(ComboControl, ListsValuesThenCommandsAndShowsTheParameter)
{
    ASSERT_NE(parts.combo, nullptr);
    const std::vector<std::pair<juce::String, int>> expected {
        { "A", 1 }, { "B", 2 }, { "C", 3 }, { "Configure...", 4 }
    };
    EXPECT_EQ(parts.items(), expected);
    EXPECT_EQ(parts.combo->getSelectedId(), 1);
    EXPECT_EQ(parts.label->getText(), "scale");
    EXPECT_EQ(parts.label->getTooltip(), "Three letters");
    EXPECT_TRUE(parts.label->getJustificationType() == juce::Justification::right);

    // No modulation parameter: no modulation button, and the box takes its 19 pixels.
    EXPECT_FALSE(parts.modulation->isVisible());
    const struct
    {
        juce::Component* widget;
        juce::Rectangle<int> bounds;
    } layout[] = { { parts.label, { 0, 0, 65, 19 } },      { parts.wheel, { 71, 0, 19, 19 } },
                   { parts.combo, { 89, 0, 115, 19 } },    { parts.decrease, { 203, 0, 19, 19 } },
                   { parts.increase, { 221, 0, 19, 19 } } };
    for (const auto& entry : layout)
        EXPECT_EQ(entry.widget->getBounds(), entry.bounds) << entry.widget->getName();
    EXPECT_EQ(control.getPreferredWidth(), 241);
    EXPECT_EQ(control.getPreferredHeight(), 19);
    EXPECT_EQ(control.getLayoutMargin(), -2);

    ZylParamCombo narrow(nullptr, 45, 140);
    EXPECT_EQ(narrow.getPreferredWidth(), 246);
}

TEST_F(ComboControl, UserActionsReachTheParameterWithTheUserCause)
{
    const int userChange = zylMessageCode(kValueChanged, kCauseUser);
    struct Case
    {
        const char* what;
        int startIndex;
        std::function<void()> act;
        int endIndex;
        std::vector<int> parameterCodes;
        std::vector<int> domainCodes;
    };
    const std::vector<Case> cases {
        { "choose B", 0, [&] { parts.combo->setSelectedId(2, juce::sendNotificationSync); }, 1,
          { userChange }, {} },
        { "increase", 0, [&] { click(*parts.increase); }, 1, { userChange }, {} },
        { "decrease", 2, [&] { click(*parts.decrease); }, 1, { userChange }, {} },
        { "increase at the last value", 2, [&] { click(*parts.increase); }, 2, {}, {} },
        { "decrease at the first value", 0, [&] { click(*parts.decrease); }, 0, {}, {} },
        { "the command", 1,
          [&] { parts.combo->setSelectedId(4, juce::sendNotificationSync); }, 1, {},
          { kConfigure } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        parameter.get()->setValueObject(domain.value(static_cast<size_t>(c.startIndex)),
                                        kCauseState, false, true);
        drainMessageQueue();
        parameter.codes();
        domainSink.takeCodes(static_cast<ZylDomain*>(&domain));

        c.act();
        drainMessageQueue();
        EXPECT_EQ(parameter.get()->getIndex(), c.endIndex);
        EXPECT_EQ(parameter.codes(), c.parameterCodes);
        EXPECT_EQ(domainSink.takeCodes(static_cast<ZylDomain*>(&domain)), c.domainCodes);
        EXPECT_EQ(parts.combo->getSelectedId(), c.endIndex + 1) << "the box shows the value";
    }
}

TEST_F(ComboControl, FollowsTheParametersMessages)
{
    parameter.get()->setValueObject(domain.value(2), kCauseHost, false, true);
    drainMessageQueue();
    EXPECT_EQ(parts.combo->getText(), "C");

    parameter.get()->setEnabled(false, true);
    drainMessageQueue();
    EXPECT_FALSE(control.isEnabled());
    parameter.get()->setEnabled(true, true);
    drainMessageQueue();
    EXPECT_TRUE(control.isEnabled());

    // Names changed: the texts are rebuilt and the selection stays.
    domain.value(0)->setName(L"Alpha", zylMessageCode(kDomainValuesChanged, kCauseHost), true);
    drainMessageQueue();
    EXPECT_EQ(parts.combo->getItemText(0), "Alpha");
    EXPECT_EQ(parts.combo->getSelectedId(), 3);

    // The list rebuilt: new items, the parameter's re-selected value shown.
    domain.rebuildWith({ L"C", L"D" });
    drainMessageQueue();
    const std::vector<std::pair<juce::String, int>> expected { { "C", 1 }, { "D", 2 },
                                                               { "Configure...", 3 } };
    EXPECT_EQ(parts.items(), expected);
    EXPECT_EQ(parts.combo->getText(), "C");

    parameter.get()->setWheelAssigned(true);
    drainMessageQueue();
    EXPECT_TRUE(parts.wheel->getToggleState());
    click(*parts.wheel);
    EXPECT_FALSE(parameter.get()->isWheelAssigned());
}

TEST_F(ComboControl, AStaleSelectionChangesNothing)
{
    ZylDebugCapture capture;
    // The list shrank to one value; the box still lists A, B, C and the command when the
    // choice of C is handled.
    domain.rebuildWith({ L"A" });
    parts.combo->setSelectedId(3, juce::dontSendNotification);
    control.comboBoxChanged(parts.combo);
    EXPECT_TRUE(capture.contains("ZylParamCombo parameter index overflow - change message too old?"));
    EXPECT_EQ(parameter.get()->getIndex(), 0);
}

TEST_F(ComboControl, TheBoxsLateReportOfItsOwnSelectionWritesNothing)
{
    // The control lists and shows the value afresh (as when it is bound), and the box reports
    // that selection later. Before the report arrives the parameter moves on without a message
    // yet, as a program switch relinks it: the report must not write the old value back.
    control.rebuild(false);
    control.updateValue();
    parameter.get()->setValueObject(domain.value(2), kCauseState, false, false);
    drainMessageQueue();
    EXPECT_EQ(parameter.get()->getIndex(), 2);
    EXPECT_TRUE(parameter.codes().empty());

    // A choice the user makes is written as before.
    control.updateValue();
    drainMessageQueue();
    parts.combo->setSelectedId(2, juce::sendNotificationAsync);
    drainMessageQueue();
    EXPECT_EQ(parameter.get()->getIndex(), 1);
    EXPECT_EQ(parameter.codes(), std::vector<int> { zylMessageCode(kValueChanged, kCauseUser) });
}

// Popup menus that open inside a parent component instead of a window of their own, so that
// a popup can be open without a display.
struct InPlacePopups : juce::LookAndFeel_V4
{
    juce::PopupMenu::Options getOptionsForComboBoxPopupMenu(juce::ComboBox& box,
                                                            juce::Label& label) override
    {
        return LookAndFeel_V4::getOptionsForComboBoxPopupMenu(box, label).withParentComponent(parent);
    }
    juce::Component* parent = nullptr;
};

TEST_F(ComboControl, AnOpenPopupIsClosedWhenTheListIsRebuilt)
{
    // A popup menu places itself on a screen, even inside a parent.
    if (juce::Desktop::getInstance().getDisplays().getPrimaryDisplay() == nullptr)
        GTEST_SKIP() << "needs a display (run under xvfb-run)";
    InPlacePopups popups;
    juce::Component window;
    popups.parent = &window;
    window.setLookAndFeel(&popups);
    window.setSize(300, 200);
    window.addAndMakeVisible(control);
    control.setBounds(0, 0, 241, 19);

    // Names changed only: the open popup's items still stand for the same values.
    parts.combo->showPopup();
    drainMessageQueue();
    ASSERT_TRUE(parts.combo->isPopupActive());
    domain.value(1)->setName(L"Beta", zylMessageCode(kDomainValuesChanged, kCauseHost), true);
    drainMessageQueue();
    EXPECT_TRUE(parts.combo->isPopupActive());

    domain.rebuildWith({ L"X", L"A", L"B", L"C" });
    drainMessageQueue();
    EXPECT_FALSE(parts.combo->isPopupActive()) << "an item chosen there would be stale";
    EXPECT_EQ(parameter.get()->getValueObject()->getName(), L"A");
    EXPECT_EQ(parts.combo->getText(), "A");

    window.removeChildComponent(&control);
    window.setLookAndFeel(nullptr);
}

TEST(ComboControlBinding, UnboundIgnoresEverythingAndTheSameDomainKeepsItsItems)
{
    WidgetDomain domain { kControlCombo, { L"A", L"B" } };
    WidgetDomain other { kControlCombo, { L"X", L"Y", L"Z" } };
    BoundParameter first { domain }, second { domain }, third { other };
    ZylParamCombo control(nullptr, 0, 0);
    ComboParts parts(control);

    EXPECT_EQ(parts.combo->getNumItems(), 0);
    click(*parts.increase);
    click(*parts.wheel);
    control.receiveMessage(first.get()->asSender(), kDomainListRebuilt, 0);
    EXPECT_EQ(parts.combo->getNumItems(), 0);
    EXPECT_TRUE(first.codes().empty());

    control.setParameter(first.get());
    // A name changed without a message: only a rebuild shows it.
    domain.value(0)->setName(L"Changed", 0, false);
    second.get()->setValueObject(domain.value(1), kCauseState, false, false);
    control.setParameter(second.get());
    EXPECT_EQ(parts.combo->getItemText(0), "A") << "same domain: the items stay";
    EXPECT_EQ(parts.combo->getSelectedId(), 2);
    control.setParameter(third.get());
    EXPECT_EQ(parts.items().size(), 3u);

    // The old parameters' messages no longer reach the control.
    first.get()->setValueObject(domain.value(1), kCauseHost, false, true);
    drainMessageQueue();
    EXPECT_EQ(parts.combo->getText(), "X");
}

TEST(ComboControlModulation, AModulatedParameterCannotBeEditedByHand)
{
    WidgetDomain domain { kControlCombo, { L"A", L"B" } };
    WidgetDomain sources { kControlCombo, { L"Off", L"LFO 1", L"LFO 2" } };
    BoundParameter parameter { domain }, modulation { sources };
    parameter.get()->setModulationParameter(modulation.get());

    ZylParamCombo control(nullptr, 0, 0);
    ComboParts parts(control);
    control.setParameter(parameter.get());
    EXPECT_TRUE(parts.modulation->isVisible());
    EXPECT_EQ(parts.modulation->getBounds(), juce::Rectangle<int>(89, 0, 19, 19));
    EXPECT_EQ(parts.combo->getBounds(), juce::Rectangle<int>(107, 0, 96, 19));

    for (const int source : { 1, 0, 2 })
    {
        modulation.get()->setValueObject(sources.value(static_cast<size_t>(source)), kCauseUser,
                                         false, true);
        drainMessageQueue();
        const bool modulated = source != 0;
        EXPECT_EQ(parts.modulation->getToggleState(), modulated);
        for (juce::Component* widget : { static_cast<juce::Component*>(parts.combo),
                                         static_cast<juce::Component*>(parts.increase),
                                         static_cast<juce::Component*>(parts.decrease),
                                         static_cast<juce::Component*>(parts.wheel) })
            EXPECT_EQ(widget->isEnabled(), !modulated) << widget->getName();
    }
}

namespace
{
// Reaches the modulation menu's last step, which a test cannot click.
struct ModulatedCombo : ZylParamCombo
{
    ModulatedCombo() : ZylParamCombo(nullptr, 0, 0) {}
    using ZylParamControl::chooseModulationValue;
};
} // namespace

TEST(ComboControlModulation, TheMenusChoiceIsTheValueItShowedEvenAfterARebuild)
{
    WidgetDomain domain { kControlCombo, { L"A", L"B" } };
    WidgetDomain sources { kControlCombo, { L"Off", L"LFO 1", L"LFO 2" } };
    BoundParameter parameter { domain }, modulation { sources };
    parameter.get()->setModulationParameter(modulation.get());
    ModulatedCombo control;
    control.setParameter(parameter.get());

    // The menu showed "LFO 2" third; meanwhile the list was rebuilt in another order.
    sources.rebuildWith({ L"Off", L"LFO 2", L"LFO 3", L"LFO 1" });
    drainMessageQueue();
    EXPECT_TRUE(control.chooseModulationValue(L"LFO 2"));
    EXPECT_EQ(modulation.get()->getValueObject()->getName(), L"LFO 2");
    EXPECT_EQ(modulation.codes().back(), zylMessageCode(kValueChanged, kCauseUser));

    sources.rebuildWith({ L"Off", L"LFO 1" });
    drainMessageQueue();
    EXPECT_FALSE(control.chooseModulationValue(L"LFO 2")) << "a value that is gone is not chosen";
    EXPECT_EQ(modulation.userChanges(), 0u);
}
