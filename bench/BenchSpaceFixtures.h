#pragma once

#include "space/ZylCellFilter.h"
#include "space/ZylChordEnumerator.h"

#include <memory>
#include <string>
#include <vector>

class ZylCell;
class ZylChordValue;
class ZylKeyValue;
class ZylScaleNoteTable;
class ZylScaleValue;
class ZylSpace;
class ZylSpaceDomainSet;

// The vocabularies and the note table, built once for the whole bench run.
struct BenchVocabulary
{
    BenchVocabulary();
    ~BenchVocabulary();

    std::unique_ptr<ZylSpaceDomainSet> domains;
    std::unique_ptr<ZylScaleNoteTable> table;
    std::vector<const ZylScaleValue*> scales;
    std::vector<const ZylKeyValue*> keys;
    // The chord groups' tags, in the ChordFilter vocabulary's order.
    std::vector<int> filterTags;
};
BenchVocabulary& benchVocabulary();

// The grids the ranking benchmarks play on, laid out as the Space vocabulary lays them out.
struct BenchGrid
{
    const char* label;
    int low, high, xStep, yStep, columns, rows, tileWidth, tileHeight;
};
extern const BenchGrid kBenchGridOneTwo;       // "[1:2]", up to 13 cells per note
extern const BenchGrid kBenchGridLonguetHiggins; // "Longuet-Higgins [4:7]"
void layOut(ZylSpace& space, const BenchGrid& grid);
// The visible cell nearest to the middle of the cell list.
ZylCell* middleCell(const ZylSpace& space);
// Every visible cell, in space order.
std::vector<ZylCell*> visibleCells(const ZylSpace& space);

// The cell filter of the fit assists: a cell must be playable and lie in the scale and key.
class BenchCellFilter : public ZylCellFilter
{
public:
    BenchCellFilter(const ZylScaleNoteTable& table, const ZylScaleValue* scale, const ZylKeyValue* key);

    const std::string& getFilterKey() override;
    bool rejects(const ZylCell* cell, const ZylSpace* space) override;

private:
    const ZylScaleNoteTable& table;
    const ZylScaleValue* scale;
    const ZylKeyValue* key;
    std::string filterKey;
};

// The chords of one chord group (tag 0 lists all), keyed by an assist id and the group.
class BenchChordEnumerator : public ZylChordEnumerator
{
public:
    BenchChordEnumerator(int filterTag, int filterId, int assistId);

    int getNumChords() override;
    ZylChordValue* getChord(int index) override;
    const std::string& getEnumeratorKey() override;

private:
    std::vector<ZylChordValue*> chords;
    std::string enumeratorKey;
};
