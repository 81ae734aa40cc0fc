#pragma once

// A shared per-block buffer between the pins of modules. The root module owns the cables; the
// framework never moves data along them: writer and readers are the modules whose pins hold it.
class ZylCableBase
{
public:
    ZylCableBase() = default;
    virtual ~ZylCableBase() = default;

    // Empties the carried buffer; the base carries none.
    virtual void clear() {}

    ZylCableBase(const ZylCableBase&) = delete;
    ZylCableBase& operator=(const ZylCableBase&) = delete;
};
