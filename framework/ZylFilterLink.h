#pragma once

class ZylFilter;

// Gives editor-side classes their processor. The processor is not owned and outlives every
// editor and panel that points at it.
class ZylFilterLink
{
public:
    explicit ZylFilterLink(ZylFilter* processor = nullptr) noexcept : filter(processor) {}
    virtual ~ZylFilterLink() = default;

    virtual ZylFilter* getFilter() const { return filter; }
    virtual void setFilter(ZylFilter* processor) { filter = processor; }

private:
    ZylFilter* filter;
};
