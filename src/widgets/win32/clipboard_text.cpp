#include "widgets/win32/clipboard_text.h"

namespace tarnvex {

namespace {

// The clipboard, open while this lives: an open clipboard shuts out every
// other program until it is closed.
class OpenClipboardScope {
 public:
  explicit OpenClipboardScope(HWND owner) : open_(OpenClipboard(owner) != FALSE) {}
  ~OpenClipboardScope() {
    if (open_) CloseClipboard();
  }
  OpenClipboardScope(const OpenClipboardScope&) = delete;
  OpenClipboardScope& operator=(const OpenClipboardScope&) = delete;

  bool open() const { return open_; }

 private:
  bool open_;
};

// A global memory block, locked while this lives.
class LockedGlobal {
 public:
  explicit LockedGlobal(HANDLE block) : block_(block), data_(GlobalLock(block)) {}
  ~LockedGlobal() {
    if (data_ != nullptr) GlobalUnlock(block_);
  }
  LockedGlobal(const LockedGlobal&) = delete;
  LockedGlobal& operator=(const LockedGlobal&) = delete;

  void* data() const { return data_; }

 private:
  HANDLE block_;
  void* data_;
};

}  // namespace

std::wstring ClipboardText(HWND owner) {
  OpenClipboardScope clipboard(owner);
  if (!clipboard.open()) return {};
  HANDLE block = GetClipboardData(CF_UNICODETEXT);
  if (block == nullptr) return {};
  LockedGlobal locked(block);
  if (locked.data() == nullptr) return {};
  return static_cast<const wchar_t*>(locked.data());
}

bool PutClipboardText(HWND owner, std::wstring_view text) {
  OpenClipboardScope clipboard(owner);
  if (!clipboard.open() || !EmptyClipboard()) return false;
  HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  if (block == nullptr) return false;
  {
    LockedGlobal locked(block);
    if (locked.data() == nullptr) {
      GlobalFree(block);
      return false;
    }
    auto* copy = static_cast<wchar_t*>(locked.data());
    text.copy(copy, text.size());
    copy[text.size()] = L'\0';
  }
  // Once taken, the block is the clipboard's to free.
  if (SetClipboardData(CF_UNICODETEXT, block) != nullptr) return true;
  GlobalFree(block);
  return false;
}

}  // namespace tarnvex
