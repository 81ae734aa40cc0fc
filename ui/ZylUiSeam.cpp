#include "ui/ZylUiSeam.h"

#include "ui/ZylJuceUiSeam.h"

namespace
{
ZylUiSeam* installedSeam = nullptr;
} // namespace

ZylUiSeam& ZylUiSeam::get()
{
    if (installedSeam != nullptr)
        return *installedSeam;
    static ZylJuceUiSeam juceSeam;
    return juceSeam;
}

ZylUiSeam* ZylUiSeam::set(ZylUiSeam* seam)
{
    auto* previous = installedSeam;
    installedSeam = seam;
    return previous;
}
