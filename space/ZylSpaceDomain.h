#pragma once

#include "framework/ZylRealDomain.h"
#include "framework/ZylValue.h"
#include "space/ZylSpace.h"

#include <cstdint>
#include <memory>
#include <string>

class ZylSpaceDomainSet;

// A grid layout of the pitch space. The value owns its ZylSpace and lays it out once, in the
// constructor, so the grid exists for as long as the vocabulary does and is never laid out
// again. Columns or rows of ZylSpace::kNoLimit set no limit. The id given at construction is not
// kept.
class ZylSpaceValue : public ZylValue
{
public:
    // The cells are drawn with a 3-unit gap, so the tiles are the cell size minus 3.
    static constexpr int kCellGap = 3;

    ZylSpaceValue(ZylRealDomain* domain, int id, float position, double data,
                  const std::wstring& name, const std::wstring& label,
                  const std::wstring& description, std::int32_t low, std::int32_t high,
                  std::int32_t xStep, std::int32_t yStep, std::int32_t columns, std::int32_t rows,
                  std::int32_t cellWidth, std::int32_t cellHeight);
    ~ZylSpaceValue() override;

    // The laid-out grid; it lives as long as the value.
    ZylSpace* getSpace() const noexcept { return space.get(); }

private:
    std::int32_t low;
    std::int32_t high;
    std::int32_t xStep;
    std::int32_t yStep;
    std::int32_t columns;
    std::int32_t rows;
    std::int32_t cellWidth;
    std::int32_t cellHeight;
    std::unique_ptr<ZylSpace> space;

    JUCE_DECLARE_NON_COPYABLE(ZylSpaceValue)
};

// The 50 grid layouts: five named ones, then every pair of coprime steps i < j up to 12.
// Constructing the domain lays out all 50 grids. Ids are list positions and are stored in
// programs.
class ZylSpaceDomain : public ZylRealDomain
{
public:
    explicit ZylSpaceDomain(ZylSpaceDomainSet* owner);
    ~ZylSpaceDomain() override;

    std::wstring getShortName() const override;
    std::wstring getDescription() const override;

    JUCE_DECLARE_NON_COPYABLE(ZylSpaceDomain)
};
