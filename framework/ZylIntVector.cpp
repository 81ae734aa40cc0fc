#include "framework/ZylIntVector.h"

#include <initializer_list>

namespace
{
std::unique_ptr<ZylIntVector> makeList(std::initializer_list<std::int32_t> items)
{
    return std::make_unique<ZylIntVector>(items);
}
} // namespace

std::unique_ptr<ZylIntVector> makeIntVector1(int a) { return makeList({ a }); }

std::unique_ptr<ZylIntVector> makeIntVector2(int a, int b) { return makeList({ a, b }); }

std::unique_ptr<ZylIntVector> makeIntVector3(int a, int b, int c) { return makeList({ a, b, c }); }

std::unique_ptr<ZylIntVector> makeIntVector4(int a, int b, int c, int d)
{
    return makeList({ a, b, c, d });
}

std::unique_ptr<ZylIntVector> makeIntVector5(int a, int b, int c, int d, int e)
{
    return makeList({ a, b, c, d, e });
}

std::unique_ptr<ZylIntVector> makeIntVector7(int a, int b, int c, int d, int e, int f, int g)
{
    return makeList({ a, b, c, d, e, f, g });
}

std::unique_ptr<ZylIntVector> makeIntervalVector(int b, int c, int e)
{
    return makeList({ 0, b, c, 6, e, 10 });
}

std::unique_ptr<ZylIntVector> makeChromaticVector()
{
    auto list = std::make_unique<ZylIntVector>();
    for (std::int32_t i = 0; i < 12; ++i)
        list->push_back(i);
    return list;
}

std::wstring formatIntVector(const ZylIntVector* list)
{
    std::wstring text = L"[";
    if (list != nullptr)
    {
        for (size_t i = 0; i < list->size(); ++i)
        {
            if (i > 0)
                text += L' ';
            text += std::to_wstring((*list)[i]);
        }
    }
    text += L']';
    return text;
}
