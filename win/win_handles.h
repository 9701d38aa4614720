// Small owners for the handles that a function or a window owns, so that
// every way out releases them, in the order their owners are declared.
#pragma once

#include <windows.h>
#include <winspool.h>

#include <utility>

// Owns one handle of a kind whose release is Traits::release and whose empty
// value is Traits::empty().
template <typename Traits>
class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle handle) : handle_(handle) {}
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept
    {
        reset(other.release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Traits::empty(); }

    // Hands the handle over to a new owner.
    Handle release() { return std::exchange(handle_, Traits::empty()); }

    // Releases the handle held now and takes another. Returns whether the
    // release succeeded (true when nothing was held).
    bool reset(Handle handle = Traits::empty())
    {
        const Handle old = std::exchange(handle_, handle);
        return old == Traits::empty() || Traits::release(old);
    }

private:
    Handle handle_ = Traits::empty();
};

namespace handle_traits {

template <typename H, BOOL(WINAPI* Release)(H)>
struct NullIsEmpty {
    using Handle = H;
    static constexpr Handle empty() { return nullptr; }
    static bool release(Handle handle) { return Release(handle) != 0; }
};

template <typename H>
struct GdiObject {
    using Handle = H;
    static constexpr Handle empty() { return nullptr; }
    static bool release(Handle handle) { return DeleteObject(handle) != 0; }
};

struct File {
    using Handle = HANDLE;
    static Handle empty() { return INVALID_HANDLE_VALUE; }
    static bool release(Handle handle) { return CloseHandle(handle) != 0; }
};

} // namespace handle_traits

using OwnedBitmap = UniqueHandle<handle_traits::GdiObject<HBITMAP>>;
using OwnedFont = UniqueHandle<handle_traits::GdiObject<HFONT>>;
using OwnedDc = UniqueHandle<handle_traits::NullIsEmpty<HDC, DeleteDC>>;
using OwnedFile = UniqueHandle<handle_traits::File>;
using OwnedMenu = UniqueHandle<handle_traits::NullIsEmpty<HMENU, DestroyMenu>>;
using OwnedPrinter = UniqueHandle<handle_traits::NullIsEmpty<HANDLE, ClosePrinter>>;
using OwnedWindow = UniqueHandle<handle_traits::NullIsEmpty<HWND, DestroyWindow>>;

// A window's DC, borrowed for the length of a function.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDc()
    {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    HDC get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a DC; the one it replaced goes back on the way out,
// so that the object can be deleted afterwards.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~SelectedObject()
    {
        if (previous_ && previous_ != HGDI_ERROR)
            SelectObject(dc_, previous_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

// A global memory block locked for the length of a function; data() is null
// when the lock failed.
template <typename T = void>
class GlobalLockGuard {
public:
    explicit GlobalLockGuard(HGLOBAL block) : block_(block), data_(block ? GlobalLock(block) : nullptr) {}
    ~GlobalLockGuard()
    {
        if (data_)
            GlobalUnlock(block_);
    }
    GlobalLockGuard(const GlobalLockGuard&) = delete;
    GlobalLockGuard& operator=(const GlobalLockGuard&) = delete;
    T* data() const { return static_cast<T*>(data_); }
    SIZE_T size() const { return data_ ? GlobalSize(block_) : 0; }

private:
    HGLOBAL block_;
    void* data_;
};
