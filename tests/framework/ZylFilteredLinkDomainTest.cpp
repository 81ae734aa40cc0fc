#include "framework/ZylFilteredLinkDomain.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

#include <memory>

namespace
{
constexpr int kTriads = 2;
constexpr int kSevenths = 3;
constexpr int kUnused = 42;

// Five chords, three of them triads (places 1, 2, 4), spread over the linked positions.
struct FilteredView : ::testing::Test
{
    FilteredView()
    {
        chords.push_back(linked.add(L"U", { 4, 5 }));
        chords.push_back(linked.add(L"M", { kTriads, 5 }));
        chords.push_back(linked.add(L"m", { kTriads }));
        chords.push_back(linked.add(L"M7", { kSevenths }));
        chords.push_back(linked.add(L"dim", { kTriads }));
        for (auto* chord : chords)
            chord->setId(100 + chord->getIndex());
        view = std::make_unique<ZylFilteredLinkDomain>(&linked);
    }

    std::vector<ZylValue*> triads() const { return { chords[1], chords[2], chords[4] }; }

    ZylTestDomain linked;
    std::vector<ZylValue*> chords;
    std::unique_ptr<ZylFilteredLinkDomain> view;
};
} // namespace

TEST_F(FilteredView, WithoutATagItBehavesLikeTheLinkedDomain)
{
    EXPECT_FALSE(view->isFiltering());
    EXPECT_EQ(&view->getValues(), &linked.getValues());
    EXPECT_EQ(view->getDefaultValue(), chords[0]);
    EXPECT_EQ(view->findByPosition(0.45f), linked.findByPosition(0.45f));
    EXPECT_EQ(view->getIndexOf(chords[3], false), 3);
    EXPECT_FLOAT_EQ(view->getPositionOf(chords[3], false), 0.6f);
    EXPECT_EQ(view->getNext(chords[0], 2), chords[2]);
    EXPECT_EQ(view->getPrevious(chords[0], 1), nullptr);
    EXPECT_EQ(view->findByName(L"M7"), chords[3]);
    EXPECT_EQ(view->findByNumericName(0.0), chords[0]);
    EXPECT_EQ(view->getShortName(), L"Test");
    EXPECT_EQ(&view->getLock(), &linked.getLock());

    // Renumbering through the view reaches the linked values.
    view->assignPositions(0.0f, 0.1f);
    EXPECT_FLOAT_EQ(chords[4]->getPosition(), 0.4f);
    view->distributePositions();
    EXPECT_FLOAT_EQ(chords[4]->getPosition(), 0.8f);
}

TEST_F(FilteredView, ATagShowsTheTaggedValuesWithEvenViewPositions)
{
    view->setFilterTag(kTriads);
    EXPECT_TRUE(view->isFiltering());
    EXPECT_EQ(view->getFilterTag(), kTriads);
    EXPECT_EQ(view->getValues(), triads());
    EXPECT_EQ(view->getDefaultValue(), chords[1]);

    const float expected[] = { 0.0f, 1.0f / 3.0f, 2.0f / 3.0f };
    for (size_t i = 0; i < 3; ++i)
    {
        EXPECT_EQ(view->getIndexOf(triads()[i], false), static_cast<int>(i));
        EXPECT_FLOAT_EQ(view->getPositionOf(triads()[i], false), expected[i]);
    }
    // The linked values keep their own positions and indexes.
    EXPECT_FLOAT_EQ(chords[4]->getPosition(), 0.8f);
    EXPECT_EQ(view->getIndexOf(chords[4], true), 4);
    EXPECT_FLOAT_EQ(view->getPositionOf(chords[4], true), 0.8f);

    EXPECT_EQ(view->findByPosition(0.5f), chords[2]);
    EXPECT_EQ(view->findByPosition(0.7f), chords[4]);
    EXPECT_EQ(view->findByPosition(-0.01f), nullptr);
    EXPECT_EQ(view->getNext(chords[1], 2), chords[4]);
    EXPECT_EQ(view->getPrevious(chords[4], 1), chords[2]);
    EXPECT_EQ(view->getNext(chords[4], 1), nullptr);
}

TEST_F(FilteredView, HiddenValuesHaveNoPlaceButIdAndDataLookupsSearchEverything)
{
    view->setFilterTag(kTriads);
    EXPECT_EQ(view->getIndexOf(chords[3], false), -1);
    EXPECT_EQ(view->getPositionOf(chords[3], false), 0.0f);
    EXPECT_EQ(view->getIndexOf(chords[3], true), 3);
    EXPECT_FLOAT_EQ(view->getPositionOf(chords[3], true), 0.6f);
    EXPECT_EQ(view->getNext(chords[3], 0), nullptr);
    EXPECT_EQ(view->getPrevious(chords[3], 1), nullptr);

    EXPECT_EQ(view->findById(103), chords[3]);
    EXPECT_EQ(view->findByData(3.0), chords[3]);
    EXPECT_EQ(view->findByName(L"M7"), nullptr);
    EXPECT_EQ(view->findByName(L"dim"), chords[4]);
}

TEST_F(FilteredView, ATagNoValueCarriesLeavesASafeEmptyView)
{
    view->setFilterTag(kUnused);
    EXPECT_TRUE(view->getValues().empty());
    EXPECT_EQ(view->getDefaultValue(), nullptr);
    EXPECT_EQ(view->findByPosition(0.5f), nullptr);
    EXPECT_EQ(view->findByName(L"U"), nullptr);
    EXPECT_EQ(view->getNext(chords[0], 0), nullptr);
    EXPECT_EQ(view->getIndexOf(nullptr, false), -1);
    EXPECT_EQ(view->getPositionOf(nullptr, false), 0.0f);
    view->distributePositions();
    view->assignPositions(0.0f, 0.5f);
    EXPECT_EQ(view->findByPosition(1.0f), nullptr);
}

TEST_F(FilteredView, EveryRetagPostsListRebuiltFromTheView)
{
    ZylTestSink sink;
    view->addSink(&sink);
    view->setFilterTag(kTriads);
    view->setFilterTag(kUnused);
    view->setFilterTag(0);
    zyltest::drainMessageQueue();
    view->removeSink(&sink);

    ASSERT_EQ(sink.entries.size(), 3u);
    for (const auto& entry : sink.entries)
    {
        EXPECT_EQ(entry.code, kDomainListRebuilt);
        EXPECT_EQ(entry.sender, static_cast<ZylDomain*>(view.get()));
    }
    EXPECT_FALSE(view->isFiltering());
    EXPECT_EQ(view->getValues().size(), 5u);
    EXPECT_EQ(view->getDefaultValue(), chords[0]);
}

TEST_F(FilteredView, RepostsLinkedMessagesAsItselfKeepingTheirTime)
{
    ZylTestSink sink;
    view->addSink(&sink);
    int stranger = 0;
    linked.postTimedMessage(static_cast<ZylDomain*>(&linked), 0x0503, 1234);
    linked.postTimedMessage(&stranger, 0x0602, 99);
    zyltest::drainMessageQueue();
    view->removeSink(&sink);

    ASSERT_EQ(sink.entries.size(), 2u);
    EXPECT_EQ(sink.entries[0].sender, static_cast<ZylDomain*>(view.get()));
    EXPECT_EQ(sink.entries[0].code, 0x0503);
    EXPECT_EQ(sink.entries[0].timeMs, 1234);
    EXPECT_EQ(sink.entries[1].sender, &stranger);
    EXPECT_EQ(sink.entries[1].timeMs, 99);
}

TEST_F(FilteredView, ForwardsTheRestToTheLinkedDomain)
{
    auto* command = linked.addCommand(std::make_unique<ZylDomainCommand>(L"Configure..."));
    EXPECT_EQ(view->findCommand(10), command);
    EXPECT_EQ(&view->getCommands(), &linked.getCommands());
    EXPECT_EQ(view->getControlType(), linked.getControlType());
    EXPECT_TRUE(view->hasFixedValues());
    EXPECT_FALSE(view->hasDynamicValues());

    view->setFilterTag(kTriads);
    const auto xml = view->createXml();
    EXPECT_EQ(xml->getNumChildElements(), 5);
    const auto renamed = juce::parseXML("<dom><val n=\"unison\"/></dom>");
    view->restoreFromXml(renamed.get(), false);
    EXPECT_EQ(chords[0]->getName(), L"unison");

    view->clearCommands();
    EXPECT_TRUE(linked.getCommands().empty());
}

TEST_F(FilteredView, ClearingValuesThroughTheViewDropsItsPointersFirst)
{
    view->setFilterTag(kTriads);
    view->clearValues();
    EXPECT_TRUE(linked.getValues().empty());
    EXPECT_TRUE(view->getValues().empty());
    EXPECT_EQ(view->getDefaultValue(), nullptr);
    EXPECT_EQ(view->findByPosition(0.9f), nullptr);
}

TEST_F(FilteredView, UnregistersFromTheLinkedDomainWhenDestroyed)
{
    EXPECT_TRUE(linked.getSinkList().containsSink(view.get()));
    view.reset();
    EXPECT_EQ(linked.getSinkList().getNumSinks(), 0);
}
