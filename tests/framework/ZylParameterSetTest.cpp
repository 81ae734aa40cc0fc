#include "framework/ZylDebug.h"
#include "framework/ZylLinkParameter.h"
#include "framework/ZylLinkParameterSet.h"
#include "framework/ZylMessageCodes.h"
#include "framework/ZylParameterMap.h"
#include "framework/ZylParameterSet.h"
#include "framework/ZylRealParameter.h"
#include "framework/ZylValue.h"
#include "tests/TestHelpers.h"
#include "tests/framework/ZylTestDomain.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <thread>

namespace
{
juce::String textOf(const juce::XmlElement& element)
{
    return element.toString(juce::XmlElement::TextFormat().singleLine().withoutHeader());
}

// A set shaped like a module program: parameters 0 and 2 and one child set (id 4) holding
// parameter 5.
struct ProgramSet
{
    explicit ProgramSet(ZylDomain* domain, int firstHostIndex = 0)
    {
        set.setName(L"Prog");
        a = set.createParameter(0, firstHostIndex, domain);
        b = set.createParameter(2, -1, domain);
        auto* child = set.addChildSet(std::make_unique<ZylParameterSet>());
        child->setId(4);
        c = child->createParameter(5, firstHostIndex + 1, domain);
    }

    ZylParameterSet set;
    ZylRealParameter* a;
    ZylRealParameter* b;
    ZylRealParameter* c;
};

struct ParameterSets : ::testing::Test
{
    ParameterSets()
    {
        for (const auto* name : { L"w", L"x", L"y", L"z" })
            domain.add(name);
    }

    ZylValue* value(int index) { return domain.getValues()[static_cast<size_t>(index)]; }

    ZylTestDomain domain;
};
} // namespace

TEST_F(ParameterSets, IndexCoversTheLargestIdAndLeavesGapsEmpty)
{
    ProgramSet program(&domain);
    program.set.createParameter(5, -2, &domain);
    auto* repeated = program.set.createParameter(2, -3, &domain);

    EXPECT_EQ(program.set.getParameterById(0), program.a);
    EXPECT_EQ(program.set.getParameterById(2), repeated);
    for (int id : { 1, -1, 6 })
        EXPECT_EQ(program.set.getParameterById(id), nullptr) << id;
    EXPECT_EQ(program.set.findByAutomationIndex(1), program.c);
    EXPECT_EQ(program.set.findByAutomationIndex(-3), repeated);
    EXPECT_EQ(program.set.findChildSet(4), program.set.getChildSets()[0]);
    EXPECT_EQ(program.set.findChildSet(5), nullptr);

    ZylParameterSet empty;
    empty.buildIndex();
    EXPECT_EQ(empty.getParameterById(0), nullptr);
}

TEST_F(ParameterSets, StateWritesParametersThenChildSetsAndOmitsAZeroId)
{
    ProgramSet program(&domain);
    program.b->setValueObject(value(3), kCauseUser, false, false);
    EXPECT_EQ(textOf(*program.set.createXml()),
              "<ps><pv i=\"0\" v=\"0\"/><pv i=\"2\" v=\"3\"/>"
              "<cs><ps i=\"4\"><pv i=\"5\" v=\"0\"/></ps></cs></ps>");
}

TEST_F(ParameterSets, StateMatchesParametersByIdAndChildSetsByPlace)
{
    ProgramSet program(&domain);
    program.set.setId(9);
    ZylDebugCapture capture;
    program.set.restoreFromXml(*juce::parseXML("<ps><pv i=\"3\" v=\"1\"/><pv i=\"2\" v=\"2\"/>"
                                               "<cs><other/><ps i=\"6\"><pv i=\"5\" v=\"1\"/></ps>"
                                               "<ps><pv i=\"5\" v=\"3\"/></ps></cs></ps>"),
                               false);
    EXPECT_EQ(program.set.getId(), 9);
    EXPECT_EQ(program.b->getValueObject(), value(2));
    EXPECT_EQ(program.c->getValueObject(), value(1)); // the second "ps" has no child set
    EXPECT_EQ(program.set.getChildSets()[0]->getId(), 6);
    EXPECT_EQ(capture.getLines(), std::vector<juce::String>{ "unknown parameter id=3" });
}

TEST_F(ParameterSets, PrefixesReachEveryParameterUnlessEmpty)
{
    ProgramSet program(&domain);
    program.set.setNamePrefixForAll(L"Sp ");
    program.set.setNamePrefixForAll(L"");
    program.set.setNameSuffixForAll(L" 1");
    EXPECT_EQ(program.c->getFullName(), L"Sp Test 1");
    EXPECT_EQ(program.set.getNamePrefix(), L"");
}

TEST_F(ParameterSets, LinkSetMirrorsTheShapeAndTakesTheSourceName)
{
    ProgramSet program(&domain);
    ZylLinkParameterSet links(program.set);
    EXPECT_EQ(links.getName(), L"ProgLinks");
    ASSERT_EQ(links.getParameters().size(), 2u);
    ASSERT_EQ(links.getChildSets().size(), 1u);
    EXPECT_EQ(links.getChildSets()[0]->getId(), 4);
    EXPECT_EQ(links.getChildSets()[0]->getName(), L"Links");
    EXPECT_EQ(links.getParameterById(2)->getOwnerSet(), &links);
    EXPECT_EQ(links.getLinks()[1]->getTarget(), program.b);
    EXPECT_EQ(&links.getParameters()[1]->getLock(), &domain.getLock());
    EXPECT_EQ(links.getParameters()[1]->getAutomationIndex(), -1);
    EXPECT_EQ(textOf(*links.createXml()), textOf(*program.set.createXml()));
}

TEST_F(ParameterSets, LinkKeepsItsOwnWheelFlag)
{
    ProgramSet program(&domain);
    ZylLinkParameterSet links(program.set);
    auto* link = links.getParameters()[0];
    ZylTestSink sink;
    link->addSink(&sink);

    link->setWheelAssigned(true);
    link->setWheelAssigned(true);
    zyltest::drainMessageQueue();
    EXPECT_TRUE(link->isWheelAssigned());
    EXPECT_FALSE(program.a->isWheelAssigned());
    EXPECT_EQ(codesFrom(sink, link->asSender()), std::vector<int>{ kWheelAssignmentChanged });
    link->removeSink(&sink);
}

TEST_F(ParameterSets, RelinkedLinksPassOnTheNewTargetsMessagesOnly)
{
    ProgramSet first(&domain);
    ProgramSet second(&domain);
    ZylLinkParameterSet links(first.set);
    ZylTestSink sink;
    links.addSinkToAll(&sink);
    auto* link = links.getParameters()[0];
    auto* childLink = links.getChildSets()[0]->getParameters()[0];

    links.relink(second.set);
    EXPECT_EQ(static_cast<ZylLinkParameter*>(childLink)->getTarget(), second.c);
    first.a->setValueObject(value(1), kCauseUser, false, true);
    second.a->setValueObject(value(2), kCauseHost, false, true);
    link->setValueObject(value(3), kCauseUser, false, true);
    zyltest::drainMessageQueue();

    ASSERT_EQ(sink.entries.size(), 2u);
    EXPECT_EQ(sink.entries[0].sender, link->asSender());
    EXPECT_EQ(sink.entries[0].code, 0x0103);
    EXPECT_EQ(sink.entries[1].code, 0x0102);
    EXPECT_EQ(second.a->getValueObject(), value(3));
    EXPECT_EQ(first.a->getValueObject(), value(1));
    EXPECT_EQ(first.a->getSinkList().getNumSinks(), 0);
    links.removeSinkFromAll(&sink);
}

TEST_F(ParameterSets, RelinkEndsAGestureUnderWayOnceWithTheLinkAsSender)
{
    ProgramSet first(&domain);
    ProgramSet second(&domain);
    ZylLinkParameterSet links(first.set);
    ZylTestSink sink;
    links.addSinkToAll(&sink);
    auto* link = links.getParameters()[0];
    link->setGestureActive(true);
    zyltest::drainMessageQueue();
    sink.entries.clear();

    links.relink(second.set);
    EXPECT_FALSE(first.a->isGestureActive());
    EXPECT_FALSE(link->isGestureActive());
    link->setGestureActive(false);
    links.relink(first.set);
    zyltest::drainMessageQueue();
    EXPECT_EQ(codesFrom(sink, link->asSender()), std::vector<int>{ 0x0405 });
    EXPECT_EQ(sink.entries.size(), 1u);
    links.removeSinkFromAll(&sink);
}

TEST_F(ParameterSets, RelinkOntoASetOfAnotherShapeIsRefusedAsAWhole)
{
    ProgramSet first(&domain);
    ZylLinkParameterSet links(first.set);
    auto* childLinks = static_cast<ZylLinkParameterSet*>(links.getChildSets()[0]);

    struct Case
    {
        const char* what;
        std::function<void(ProgramSet&)> reshape;
    };
    const Case cases[] = {
        { "one parameter more", [&](ProgramSet& p) { p.set.createParameter(7, -3, &domain); } },
        { "one child set more",
          [](ProgramSet& p) { p.set.addChildSet(std::make_unique<ZylParameterSet>()); } },
        { "one child parameter more",
          [&](ProgramSet& p) { p.set.getChildSets()[0]->createParameter(6, -3, &domain); } },
        { "another child id", [](ProgramSet& p) { p.set.getChildSets()[0]->setId(8); } },
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ProgramSet other(&domain);
        c.reshape(other);
        other.set.buildIndex();
        EXPECT_FALSE(links.relink(other.set));
        EXPECT_EQ(links.getLinks()[0]->getTarget(), first.a);
        EXPECT_EQ(links.getLinks()[1]->getTarget(), first.b);
        EXPECT_EQ(childLinks->getLinks()[0]->getTarget(), first.c);
        EXPECT_EQ(other.a->getSinkList().getNumSinks(), 0);
    }

    // Fewer parameters, or the same number with other ids.
    ZylParameterSet shorter;
    shorter.createParameter(0, 0, &domain);
    ZylParameterSet renumbered;
    for (const int id : { 0, 3 })
        renumbered.createParameter(id, -1, &domain);
    renumbered.addChildSet(std::make_unique<ZylParameterSet>())->setId(4);
    for (const auto* other : { &shorter, &renumbered })
    {
        EXPECT_FALSE(links.relink(*other));
        EXPECT_EQ(links.getLinks()[0]->getTarget(), first.a);
    }

    ProgramSet same(&domain);
    EXPECT_TRUE(links.relink(same.set));
    EXPECT_EQ(childLinks->getLinks()[0]->getTarget(), same.c);
    EXPECT_TRUE(links.relink(first.set));
}

TEST_F(ParameterSets, ResendAllPostsOnceForEveryParameterOfTheTree)
{
    ProgramSet program(&domain);
    ZylTestSink sink;
    program.set.addSinkToAll(&sink);
    program.set.resendAll();
    zyltest::drainMessageQueue();
    EXPECT_EQ(sink.entries.size(), 3u);
    program.set.removeSinkFromAll(&sink);
    program.set.resendAll();
    zyltest::drainMessageQueue();
    EXPECT_EQ(sink.entries.size(), 3u);
}

TEST_F(ParameterSets, MapCountsEachHostIndexOnceAndReadingNeverInserts)
{
    ProgramSet program(&domain); // host indexes 0 and 1, one internal -1
    ProgramSet clash(&domain, 1); // host 1 is taken already, host 2 is new
    ZylParameterMap map;
    map.add(nullptr);
    map.add(&program.set);
    EXPECT_EQ(map.size(), 3);
    EXPECT_EQ(map.getNumHostParameters(), 2);

    // A set added twice must not announce phantom parameters to the host.
    map.add(&program.set);
    EXPECT_EQ(map.size(), 3);
    EXPECT_EQ(map.getNumHostParameters(), 2);

    map.add(&clash.set);
    EXPECT_EQ(map.getParameter(1), program.c);
    EXPECT_EQ(map.getParameter(2), clash.c);
    EXPECT_EQ(map.getNumHostParameters(), 3);

    EXPECT_EQ(map.getParameter(40), nullptr);
    EXPECT_EQ(map.size(), 4);
}

TEST(ZylLinkParameter, OppositeRetargetsOnTwoThreadsNeverDeadlock)
{
    // Held on the heap: should the threads hang, they are abandoned together with what they
    // use, and the test fails instead of blocking the run.
    struct Shared
    {
        ZylTestDomain firstDomain;
        ZylTestDomain secondDomain;
        ZylParameterSet set;
        ZylParameter* first = set.createParameter(0, -1, &firstDomain);
        ZylParameter* second = set.createParameter(1, -2, &secondDomain);
        ZylLinkParameter forward { nullptr, first };
        ZylLinkParameter backward { nullptr, second };
        std::atomic<int> finished { 0 };
    };
    auto shared = std::make_unique<Shared>();
    shared->firstDomain.add(L"a");
    shared->secondDomain.add(L"b");

    constexpr int kRounds = 20000;
    auto swing = [](Shared& s, ZylLinkParameter& link, ZylParameter* there, ZylParameter* back) {
        for (int round = 0; round < kRounds; ++round)
        {
            link.setTarget(there);
            link.setTarget(back);
        }
        ++s.finished;
    };
    std::thread one(swing, std::ref(*shared), std::ref(shared->forward), shared->second,
                    shared->first);
    std::thread two(swing, std::ref(*shared), std::ref(shared->backward), shared->first,
                    shared->second);

    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(60);
    while (shared->finished.load() < 2 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));

    if (shared->finished.load() < 2)
    {
        one.detach();
        two.detach();
        shared.release();
        FAIL() << "the re-targeting threads hang";
    }
    one.join();
    two.join();
    EXPECT_EQ(shared->forward.getTarget(), shared->first);
    EXPECT_EQ(shared->backward.getTarget(), shared->second);
}
