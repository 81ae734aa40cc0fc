#include "fuzz/ZylFuzzSupport.h"

#include "tests/TestHelpers.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
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
//
// The same walk records it (after a tree is built or changed) and compares the tree with it
// (after a refused load) item by item, without building a second copy: a refused load is by far
// the most frequent input, and the copy's allocations and text conversions were most of its
// check.
struct Snapshot
{
    std::vector<const void*> valueObjects;
    std::vector<float> values;
    std::vector<int> setIds;
    std::vector<std::wstring> programNames;
    juce::StringArray texts;
};

class SnapshotWalk
{
public:
    // Records the tree into the snapshot, or compares it with the snapshot.
    SnapshotWalk(Snapshot& snapshotToUse, bool recordTree) : snapshot(snapshotToUse), record(recordTree)
    {
        if (record)
            snapshot = Snapshot();
    }

    // True when the compared tree matched the snapshot entry for entry (always after a record).
    bool walk(const zyltest::StateTree& tree)
    {
        addModule(*tree.root);
        auto* programParameter = tree.programs().getProgramParameter();
        if (auto* domain = programParameter != nullptr ? programParameter->getDomain() : nullptr)
            for (auto* value : domain->getValues())
                item(snapshot.programNames, nextName, value != nullptr ? value->getName() : std::wstring());
        text(tree.inner().deviceName);
        if (record && snapshot.programNames.empty())
            fail("the tree has no program names to compare");
        return same && nextObject == snapshot.valueObjects.size() && nextValue == snapshot.values.size()
               && nextSetId == snapshot.setIds.size() && nextName == snapshot.programNames.size()
               && nextText == static_cast<size_t>(snapshot.texts.size());
    }

private:
    template <typename T>
    void item(std::vector<T>& list, size_t& next, const T& value)
    {
        if (record)
            list.push_back(value);
        else
            same = same && next < list.size() && list[next] == value;
        ++next;
    }

    void text(const juce::String& value)
    {
        if (record)
            snapshot.texts.add(value);
        else if (same)
        {
            // Texts the load left alone still share their buffer with the recorded copy.
            const auto index = static_cast<int>(nextText);
            same = index < snapshot.texts.size()
                   && (snapshot.texts[index].getCharPointer() == value.getCharPointer()
                       || snapshot.texts[index] == value);
        }
        ++nextText;
    }

    void addSet(const ZylParameterSet* set)
    {
        if (set == nullptr)
            return;
        item(snapshot.setIds, nextSetId, set->getId());
        for (auto* parameter : set->getParameters())
        {
            item<const void*>(snapshot.valueObjects, nextObject, parameter->getValueObject());
            item(snapshot.values, nextValue, parameter->getValue());
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
            for (const auto& key : all.getAllKeys())
                text(key);
            for (const auto& value : all.getAllValues())
                text(value);
        }
        for (auto* child : module.getChildren())
            addModule(*child);
    }

    Snapshot& snapshot;
    const bool record;
    bool same = true;
    size_t nextObject = 0;
    size_t nextValue = 0;
    size_t nextSetId = 0;
    size_t nextName = 0;
    size_t nextText = 0;
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
        SnapshotWalk(currentSnapshot, true).walk(*currentTree);
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
        if (!SnapshotWalk(currentSnapshot, false).walk(tree))
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
