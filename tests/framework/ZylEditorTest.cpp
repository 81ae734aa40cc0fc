#include "framework/ZylEditor.h"
#include "framework/ZylFocusController.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylPropertySet.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylStateTestFilter.h"

#include <gtest/gtest.h>

using zyltest::StateTestFilter;

namespace
{
struct Editor : ::testing::Test
{
    Editor()
    {
        filter.initialise();
        zyltest::drainMessageQueue();
    }

    zyltest::LeafModule& leaf() { return *filter.root().leaf; }

    void wheel(ZylEditor& editor, float deltaY, float deltaX = 0.0f)
    {
        juce::MouseWheelDetails details {};
        details.deltaX = deltaX;
        details.deltaY = deltaY;
        const juce::MouseEvent event(juce::Desktop::getInstance().getMainMouseSource(), {},
                                     juce::ModifierKeys(), 0.0f, 0.0f, 0.0f, 0.0f, 0.0f,
                                     &editor, &editor, juce::Time::getCurrentTime(), {},
                                     juce::Time::getCurrentTime(), 1, false);
        editor.mouseWheelMove(event, details);
        zyltest::drainMessageQueue();
    }

    StateTestFilter filter;
};
} // namespace

TEST_F(Editor, SizeComesFromTheRootPropertiesWithinASaneRange)
{
    {
        ZylEditor editor(filter);
        EXPECT_EQ(editor.getWidth(), 1);
        EXPECT_EQ(editor.getHeight(), 1);
        EXPECT_EQ(editor.getFilter(), &filter);
    }
    auto* properties = filter.root().getPropertySet();
    struct Case
    {
        int width, height, expectedWidth, expectedHeight;
    };
    for (const auto& c : { Case { 640, 480, 640, 480 }, Case { 100000, -5, 16384, 1 },
                           Case { 0, 2147483647, 1, 16384 } })
    {
        properties->setValue("editorWidth", c.width);
        properties->setValue("editorHeight", c.height);
        ZylEditor editor(filter);
        EXPECT_EQ(editor.getWidth(), c.expectedWidth);
        EXPECT_EQ(editor.getHeight(), c.expectedHeight);
    }
}

TEST_F(Editor, OwnsAndDeletesItsChildComponents)
{
    juce::Component::SafePointer<juce::Component> child;
    {
        ZylEditor editor(filter);
        auto* panel = editor.addOwnedChild(std::make_unique<juce::Component>());
        EXPECT_EQ(panel->getParentComponent(), &editor);
        EXPECT_TRUE(panel->isVisible());
        child = panel;
    }
    EXPECT_EQ(child.getComponent(), nullptr);
}

TEST_F(Editor, LeavesChildrenItDoesNotOwnToTheirOwners)
{
    // A panel held elsewhere (as the help panel is by the product editor) outlives the editor.
    juce::Component held;
    {
        ZylEditor editor(filter);
        editor.addAndMakeVisible(held);
    }
    EXPECT_EQ(held.getParentComponent(), nullptr);

    // A subclass's member child is destroyed once, by the subclass.
    struct WithMember : ZylEditor
    {
        explicit WithMember(ZylFilter& owner) : ZylEditor(owner) { addAndMakeVisible(member); }
        juce::Component member;
    };
    { WithMember editor(filter); }
}

TEST_F(Editor, OneParameterAtATimeIsWheelAssigned)
{
    auto* a = leaf().level();
    auto* b = leaf().port();
    a->setWheelAssigned(true);
    zyltest::drainMessageQueue();
    EXPECT_EQ(filter.getFocusedObject(), a);

    b->setWheelAssigned(true);
    zyltest::drainMessageQueue();
    EXPECT_EQ(filter.getFocusedObject(), b);
    EXPECT_FALSE(a->isWheelAssigned());
    EXPECT_TRUE(b->isWheelAssigned());

    // A message from a parameter that is neither assigned nor current changes nothing.
    filter.getFocusController().receiveMessage(a->asSender(), kWheelAssignmentChanged, 0);
    EXPECT_EQ(filter.getFocusedObject(), b);
    // Other codes are not looked at.
    filter.getFocusController().receiveMessage(b->asSender(), zylMessageCode(kValueChanged, kCauseUser), 0);
    EXPECT_EQ(filter.getFocusedObject(), b);

    b->setWheelAssigned(false);
    zyltest::drainMessageQueue();
    EXPECT_EQ(filter.getFocusedObject(), nullptr);

    ZylEditor editor(filter);
    const auto before = b->getValueObject();
    wheel(editor, -1.0f);
    EXPECT_EQ(b->getValueObject(), before);
}

TEST_F(Editor, TheWheelStepsTheAssignedParameter)
{
    ZylEditor editor(filter);
    auto* level = leaf().level(); // rotary, 101 values: steps of 4
    auto* port = leaf().port();   // combo, 3 values: steps of 1
    const auto& levels = level->getDomain()->getValues();

    level->setWheelAssigned(true);
    zyltest::drainMessageQueue();
    wheel(editor, 1.0f);
    EXPECT_EQ(level->getValueObject(), levels.front()) << "wheel up at the first value stays";
    wheel(editor, -0.5f);
    EXPECT_EQ(level->getValueObject(), levels[4]);
    wheel(editor, 0.0f, 1.0f);
    EXPECT_EQ(level->getValueObject(), levels[4]) << "horizontal movements do nothing";
    level->setValueObject(levels[99], kCauseUser, false, true);
    wheel(editor, -1.0f);
    EXPECT_EQ(level->getValueObject(), levels.back());

    port->setWheelAssigned(true);
    zyltest::drainMessageQueue();
    wheel(editor, -1.0f);
    EXPECT_EQ(port->getValueObject()->getName(), L"Port B");
    wheel(editor, 1.0f);
    EXPECT_EQ(port->getValueObject()->getName(), L"Port A");
}
