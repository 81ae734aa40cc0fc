#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// Integer lists (interval sets, tags) and their builders, shared by the vocabularies.

using ZylIntVector = std::vector<std::int32_t>;

// New integer lists holding the arguments in order.
std::unique_ptr<ZylIntVector> makeIntVector1(int a);
std::unique_ptr<ZylIntVector> makeIntVector2(int a, int b);
std::unique_ptr<ZylIntVector> makeIntVector3(int a, int b, int c);
std::unique_ptr<ZylIntVector> makeIntVector4(int a, int b, int c, int d);
std::unique_ptr<ZylIntVector> makeIntVector5(int a, int b, int c, int d, int e);
std::unique_ptr<ZylIntVector> makeIntVector7(int a, int b, int c, int d, int e, int f, int g);
// {0, b, c, 6, e, 10}
std::unique_ptr<ZylIntVector> makeIntervalVector(int b, int c, int e);
// {0, 1, ..., 11}
std::unique_ptr<ZylIntVector> makeChromaticVector();

// "[0 4 7]"; "[]" for a null or empty list.
std::wstring formatIntVector(const ZylIntVector* list);
