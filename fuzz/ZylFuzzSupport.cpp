#include "fuzz/ZylFuzzSupport.h"

#include "tests/TestHelpers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace zylfuzz
{
void initialise()
{
    static bool done = false;
    if (done)
        return;
    done = true;
    juce::MessageManager::getInstance()->setCurrentThreadAsMessageThread();
}

void deliverMessages()
{
    zyltest::drainMessageQueue();
}

[[noreturn]] void fail(const char* what)
{
    std::fprintf(stderr, "loader promise broken: %s\n", what);
    std::abort();
}

namespace
{
juce::MemoryBlock save(const zyltest::StateTree& tree, int program)
{
    return program < 0 ? tree.bank() : tree.program(program);
}

bool load(zyltest::StateTree& tree, int program, const void* data, std::size_t size)
{
    const auto length = static_cast<juce::int64>(size);
    return program < 0 ? tree.root->loadBankFromMemory(data, length)
                       : tree.root->loadProgramFromMemory(program, data, length);
}

// What a load can change, read straight from the tree: every parameter's value and set id in
// every module, program and child set, the program names, the property sets and the inner
// module's "ext" text. Taking and comparing it costs microseconds, where saving the bank to
// compare texts took most of each execution.
struct Snapshot
{
    std::vector<const void*> valueObjects;
    std::vector<float> values;
    std::vector<int> setIds;
    juce::StringArray texts;

    bool operator==(const Snapshot& other) const
    {
        return valueObjects == other.valueObjects && values == other.values
               && setIds == other.setIds && texts == other.texts;
    }

    void addSet(const ZylParameterSet* set)
    {
        if (set == nullptr)
            return;
        setIds.push_back(set->getId());
        for (auto* parameter : set->getParameters())
        {
            valueObjects.push_back(parameter->getValueObject());
            values.push_back(parameter->getValue());
        }
        for (auto* child : set->getChildSets())
            addSet(child);
    }

    void addModule(const ZylModule& module)
    {
        addSet(module.getGlobalParameters());
        for (int program = 0; program < ZylModule::kNumPrograms; ++program)
            addSet(module.getProgramSet(program));
        if (auto* properties = module.getPropertySet())
        {
            const auto& all = properties->getAllProperties();
            texts.addArray(all.getAllKeys());
            texts.addArray(all.getAllValues());
        }
        for (auto* child : module.getChildren())
            addModule(*child);
    }

    static Snapshot of(const zyltest::StateTree& tree)
    {
        Snapshot snapshot;
        snapshot.addModule(*tree.root);
        for (int program = 0; program < ZylModule::kNumPrograms; ++program)
            snapshot.texts.add(tree.programs().getProgramName(program));
        snapshot.texts.add(tree.inner().deviceName);
        return snapshot;
    }
};

// The tree the inputs load into, and a snapshot of it taken when it was built or last changed by
// an accepted load. A refused load must leave it as the snapshot says.
std::unique_ptr<zyltest::StateTree> currentTree;
Snapshot currentSnapshot;

zyltest::StateTree& treeForNextInput()
{
    if (currentTree == nullptr)
    {
        currentTree = std::make_unique<zyltest::StateTree>();
        deliverMessages();
        currentSnapshot = Snapshot::of(*currentTree);
    }
    return *currentTree;
}
} // namespace

bool sameBytes(const juce::MemoryBlock& a, const juce::MemoryBlock& b)
{
    return a.getSize() == b.getSize()
           && (a.getSize() == 0 || std::memcmp(a.getData(), b.getData(), a.getSize()) == 0);
}

void loadAndCheck(const std::uint8_t* data, std::size_t size, int program)
{
    auto& tree = treeForNextInput();
    const bool loaded = load(tree, program, data, size);
    deliverMessages();
    if (!loaded)
    {
        if (!(Snapshot::of(tree) == currentSnapshot))
            fail("a refused load changed the state");
        return;
    }

    // The saved state loads into a fresh tree and saves to the same bytes. The loaded tree is
    // built anew for the next input, so that what one input loaded never shapes the next.
    const auto first = save(tree, program);
    currentTree.reset();
    zyltest::StateTree again;
    if (!load(again, program, first.getData(), first.getSize()))
        fail("a saved state did not load again");
    deliverMessages();
    if (!sameBytes(save(again, program), first))
        fail("a reloaded state saved to other bytes");
}
} // namespace zylfuzz
