#pragma once

#include "framework/ZylCableBase.h"

#include <memory>

// A cable carrying one buffer of type T, or none. The buffer is owned by the cable only when it
// was handed over as owned; the host's buffers are attached for one block, not owned.
template <class T>
class ZylCable : public ZylCableBase
{
public:
    ZylCable() = default;
    ~ZylCable() override = default;

    // Frees the buffer the cable owns (unless it is the one handed in again), then attaches
    // newBuffer (null allowed). With owned true the cable takes newBuffer over.
    virtual void setBuffer(T* newBuffer, bool owned)
    {
        if (ownedBuffer != nullptr && ownedBuffer.get() == newBuffer)
        {
            if (!owned)
                ownedBuffer.release();
        }
        else
        {
            ownedBuffer.reset(owned ? newBuffer : nullptr);
        }
        buffer = newBuffer;
    }

    void setBuffer(std::unique_ptr<T> newBuffer)
    {
        setBuffer(newBuffer.release(), true);
    }

    T* getBuffer() const noexcept { return buffer; }
    bool ownsBuffer() const noexcept { return ownedBuffer != nullptr; }

private:
    T* buffer = nullptr;
    std::unique_ptr<T> ownedBuffer;
};
