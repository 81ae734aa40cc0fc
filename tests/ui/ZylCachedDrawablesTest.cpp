#include "framework/ZylModuleContainer.h"
#include "tests/ui/ZylUiTestSupport.h"
#include "ui/ZylCachedDrawable.h"
#include "ui/ZylCachedDrawables.h"
#include "ui/ZylCachedSVG.h"

#include <gtest/gtest.h>

namespace
{
const char* const kPage =
    "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"80\" height=\"40\" viewBox=\"0 0 80 40\">"
    "<path d=\"M10 10 L70 10 L70 30 L10 30 Z\" fill=\"#336699\"/></svg>";

// Counts the entries deleted, to see who frees them.
struct CountedEntry : ZylCachedDrawable
{
    explicit CountedEntry(int& counter) : deleted(counter) {}
    ~CountedEntry() override { ++deleted; }
    int& deleted;
};
} // namespace

TEST(ZylCachedDrawables, SvgEntryParsesOnFirstUseAndKeepsTheDrawable)
{
    const auto zip = zyltest::makeZip({ { "help1.svg", kPage }, { "broken.svg", "<svg><path" },
                                        { "notes.txt", "not a picture" } });
    ZylCachedSVG page(zip.getData(), zip.getSize(), "help1.svg");
    auto* first = page.getDrawable();
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->getDrawableBounds().toNearestInt(), juce::Rectangle<int>(10, 10, 60, 20));
    EXPECT_EQ(page.getDrawable(), first);

    // Missing, unreadable or unusable sources give null, every time, and hold nothing.
    const char garbage[] = "PK\x03\x04 truncated";
    struct Case
    {
        const void* data;
        std::size_t size;
        juce::String name;
    };
    const Case cases[] = {
        { zip.getData(), zip.getSize(), "aboutvstasio.svg" },
        { zip.getData(), zip.getSize(), "notes.txt" },
        { zip.getData(), zip.getSize(), "broken.svg" },
        { zip.getData(), zip.getSize(), "" },
        { zip.getData(), zip.getSize() / 2, "help1.svg" },
        { garbage, sizeof(garbage), "help1.svg" },
        { nullptr, zip.getSize(), "help1.svg" },
        { zip.getData(), 0, "help1.svg" },
    };
    for (const auto& c : cases)
    {
        ZylCachedSVG missing(c.data, c.size, c.name);
        EXPECT_EQ(missing.getDrawable(), nullptr) << c.name << " " << c.size;
        EXPECT_EQ(missing.getDrawable(), nullptr);
    }
}

TEST(ZylCachedDrawables, AddKeepsTheFirstEntryAndClearDeletesAll)
{
    int deleted = 0;
    ZylCachedDrawables cache;
    EXPECT_EQ(cache.find("lumenfold/help1.svg"), nullptr);

    auto* first = new CountedEntry(deleted);
    EXPECT_EQ(cache.add("lumenfold/help1.svg", first), first);
    CountedEntry offered(deleted);
    EXPECT_EQ(cache.add("lumenfold/help1.svg", &offered), first);
    EXPECT_EQ(cache.find("lumenfold/help1.svg"), first);
    auto* about = cache.add("lumenfold/aboutvstasio.svg", new CountedEntry(deleted));
    EXPECT_EQ(cache.find("lumenfold/aboutvstasio.svg"), about);

    cache.clear();
    EXPECT_EQ(deleted, 2);
    EXPECT_EQ(cache.find("lumenfold/help1.svg"), nullptr);
    EXPECT_EQ(cache.find("lumenfold/aboutvstasio.svg"), nullptr);
}

TEST(ZylCachedDrawables, ContainerKeepsOneCacheAndFreesItLast)
{
    int deleted = 0;
    {
        ZylModuleContainer container;
        EXPECT_EQ(container.getDrawables(), nullptr);
        auto& cache = ZylCachedDrawables::of(container);
        EXPECT_EQ(container.getDrawables(), &cache);
        EXPECT_EQ(&ZylCachedDrawables::of(container), &cache);
        cache.add("lumenfold/help1.svg", new CountedEntry(deleted));
    }
    EXPECT_EQ(deleted, 1);
}
