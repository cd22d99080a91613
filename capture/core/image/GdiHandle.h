// One device object (bitmap, palette) owned by the object that holds it and
// deleted with it. Stock objects may be attached too: the system ignores
// their deletion.
#pragma once

#include <windows.h>

template <class Handle>
class GdiHandle {
public:
    GdiHandle() = default;
    GdiHandle(const GdiHandle&) = delete;
    GdiHandle& operator=(const GdiHandle&) = delete;
    ~GdiHandle() { DeleteObject(); }

    Handle GetSafeHandle() const { return handle_; }
    operator Handle() const { return handle_; }
    // Takes over handle, deleting the one held before; a null handle is
    // refused and changes nothing.
    bool Attach(Handle handle)
    {
        if (!handle)
            return false;
        DeleteObject();
        handle_ = handle;
        return true;
    }
    Handle Detach()
    {
        Handle handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    bool DeleteObject()
    {
        if (!handle_)
            return false;
        ::DeleteObject(handle_);
        handle_ = nullptr;
        return true;
    }

private:
    Handle handle_ = nullptr;
};
