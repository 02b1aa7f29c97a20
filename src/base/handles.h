#pragma once
// Owners for what the platform hands out. Each closes its handle exactly once
// with the function that belongs to it; none can be copied.
#include <windows.h>

#include <objbase.h>

#include <utility>

namespace base {

template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type h) : m_h(h) {}
  ~UniqueHandle() { Reset(); }
  UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    if (this != &other) Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;

  Type Get() const { return m_h; }
  explicit operator bool() const { return m_h != Traits::Invalid(); }
  Type Release() { return std::exchange(m_h, Traits::Invalid()); }
  void Reset(Type h = Traits::Invalid()) {
    if (m_h != Traits::Invalid()) Traits::Close(m_h);
    m_h = h;
  }
  // For out-parameters: closes what is held and gives the slot.
  Type* Put() {
    Reset();
    return &m_h;
  }

 private:
  Type m_h = Traits::Invalid();
};

struct KernelHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::CloseHandle(h); }
};
struct FileHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::CloseHandle(h); }
};
struct FindHandleTraits {
  using Type = HANDLE;
  static Type Invalid() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { ::FindClose(h); }
};
struct RegKeyTraits {
  using Type = HKEY;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::RegCloseKey(h); }
};
struct ModuleTraits {
  using Type = HMODULE;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::FreeLibrary(h); }
};
struct MenuTraits {
  using Type = HMENU;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DestroyMenu(h); }
};
template <class T>
struct GdiObjectTraits {
  using Type = T;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DeleteObject(h); }
};
struct MemoryDcTraits {
  using Type = HDC;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::DeleteDC(h); }
};

struct GlobalMemoryTraits {
  using Type = HGLOBAL;
  static Type Invalid() { return nullptr; }
  static void Close(Type h) { ::GlobalFree(h); }
};
struct MappedViewTraits {
  using Type = void*;
  static Type Invalid() { return nullptr; }
  static void Close(Type p) { ::UnmapViewOfFile(p); }
};

using KernelHandle = UniqueHandle<KernelHandleTraits>;
using FileHandle = UniqueHandle<FileHandleTraits>;
using FindHandle = UniqueHandle<FindHandleTraits>;
using RegKey = UniqueHandle<RegKeyTraits>;
using Module = UniqueHandle<ModuleTraits>;
using Menu = UniqueHandle<MenuTraits>;
using Bitmap = UniqueHandle<GdiObjectTraits<HBITMAP>>;
using Brush = UniqueHandle<GdiObjectTraits<HBRUSH>>;
using Font = UniqueHandle<GdiObjectTraits<HFONT>>;
using MemoryDc = UniqueHandle<MemoryDcTraits>;
using GlobalMemory = UniqueHandle<GlobalMemoryTraits>;
using MappedView = UniqueHandle<MappedViewTraits>;  // MapViewOfFile ... UnmapViewOfFile

// A device context taken with GetDC and given back with ReleaseDC.
class WindowDc {
 public:
  explicit WindowDc(HWND hwnd) : m_hwnd(hwnd), m_hdc(::GetDC(hwnd)) {}
  ~WindowDc() {
    if (m_hdc) ::ReleaseDC(m_hwnd, m_hdc);
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  HDC Get() const { return m_hdc; }

 private:
  HWND m_hwnd;
  HDC m_hdc;
};

// BeginPaint ... EndPaint for one WM_PAINT.
class PaintDc {
 public:
  explicit PaintDc(HWND hwnd) : m_hwnd(hwnd) { m_hdc = ::BeginPaint(hwnd, &m_ps); }
  ~PaintDc() { ::EndPaint(m_hwnd, &m_ps); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  HDC Get() const { return m_hdc; }
  const PAINTSTRUCT& Info() const { return m_ps; }

 private:
  HWND m_hwnd;
  PAINTSTRUCT m_ps{};
  HDC m_hdc = nullptr;
};

// Selects a GDI object into a DC and puts the old one back.
class SelectScope {
 public:
  SelectScope(HDC hdc, HGDIOBJ obj) : m_hdc(hdc), m_old(::SelectObject(hdc, obj)) {}
  ~SelectScope() {
    if (m_old && m_old != HGDI_ERROR) ::SelectObject(m_hdc, m_old);
  }
  SelectScope(const SelectScope&) = delete;
  SelectScope& operator=(const SelectScope&) = delete;

 private:
  HDC m_hdc;
  HGDIOBJ m_old;
};

// The hourglass cursor while this lives.
class WaitCursor {
 public:
  WaitCursor() : m_old(::SetCursor(::LoadCursorW(nullptr, IDC_WAIT))) {}
  ~WaitCursor() { ::SetCursor(m_old); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  HCURSOR m_old;
};

// The component object library, initialised for this thread while it lives.
class ComScope {
 public:
  ComScope() : m_hr(::CoInitialize(nullptr)) {}
  ~ComScope() {
    if (SUCCEEDED(m_hr)) ::CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;
  HRESULT Result() const { return m_hr; }

 private:
  HRESULT m_hr;
};

}  // namespace base
