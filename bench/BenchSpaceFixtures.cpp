#include "bench/BenchSpaceFixtures.h"

#include "space/ZylCell.h"
#include "space/ZylChordDomain.h"
#include "space/ZylChordFilterDomain.h"
#include "space/ZylKeyDomain.h"
#include "space/ZylScaleDomain.h"
#include "space/ZylScaleNoteTable.h"
#include "space/ZylSpace.h"
#include "space/ZylSpaceDomainSet.h"

#include <cstdio>

BenchVocabulary::BenchVocabulary()
    : domains(std::make_unique<ZylSpaceDomainSet>()),
      table(std::make_unique<ZylScaleNoteTable>(domains->getScaleDomain(), domains->getKeyDomain()))
{
    for (ZylValue* v : domains->getScaleDomain()->getValues())
        scales.push_back(dynamic_cast<const ZylScaleValue*>(v));
    for (ZylValue* v : domains->getKeyDomain()->getValues())
        keys.push_back(dynamic_cast<const ZylKeyValue*>(v));
    for (ZylValue* v : domains->getChordFilterDomain()->getValues())
        filterTags.push_back(v->getCode());
}

BenchVocabulary::~BenchVocabulary() = default;

BenchVocabulary& benchVocabulary()
{
    static BenchVocabulary vocabulary;
    return vocabulary;
}

const BenchGrid kBenchGridOneTwo { "[1:2]", 45, 108, 1, 2, 25, 25, 27, 27 };
const BenchGrid kBenchGridLonguetHiggins { "Longuet-Higgins [4:7]", 21, 108, 4, 7, ZylSpace::kNoLimit,
                                           ZylSpace::kNoLimit, 27, 27 };

void layOut(ZylSpace& space, const BenchGrid& g)
{
    space.buildGrid(g.low, g.high, g.xStep, g.yStep, g.columns, g.rows, g.tileWidth, g.tileHeight);
}

std::vector<ZylCell*> visibleCells(const ZylSpace& space)
{
    std::vector<ZylCell*> out;
    for (const auto& cell : space.getCells())
        if (!cell->isHidden())
            out.push_back(cell.get());
    return out;
}

ZylCell* middleCell(const ZylSpace& space)
{
    const auto cells = visibleCells(space);
    return cells.empty() ? nullptr : cells[cells.size() / 2];
}

BenchCellFilter::BenchCellFilter(const ZylScaleNoteTable& t, const ZylScaleValue* s, const ZylKeyValue* k)
    : table(t), scale(s), key(k)
{
    char text[16];
    std::snprintf(text, sizeof(text), "S%02xK%02x", unsigned(scale->getId()), unsigned(key->getId()));
    filterKey = text;
}

const std::string& BenchCellFilter::getFilterKey()
{
    return filterKey;
}

bool BenchCellFilter::rejects(const ZylCell* cell, const ZylSpace*)
{
    return cell == nullptr || !cell->isPlayable() || !table.contains(cell->getNote(), scale, key);
}

BenchChordEnumerator::BenchChordEnumerator(int filterTag, int filterId, int assistId)
{
    for (ZylValue* v : benchVocabulary().domains->getChordDomain()->getValues())
        if (filterTag == ZylChordFilterDomain::kAll || v->hasTag(filterTag))
            chords.push_back(dynamic_cast<ZylChordValue*>(v));
    char text[16];
    std::snprintf(text, sizeof(text), "A%02xF%02x", unsigned(assistId), unsigned(filterId));
    enumeratorKey = text;
}

int BenchChordEnumerator::getNumChords()
{
    return int(chords.size());
}

ZylChordValue* BenchChordEnumerator::getChord(int index)
{
    return index >= 0 && index < getNumChords() ? chords[size_t(index)] : nullptr;
}

const std::string& BenchChordEnumerator::getEnumeratorKey()
{
    return enumeratorKey;
}
