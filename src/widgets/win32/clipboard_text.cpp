#include "widgets/win32/clipboard_text.h"

#include <cstring>

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

std::optional<std::wstring> ReadClipboardText(HWND owner) {
  OpenClipboardScope clipboard(owner);
  if (!clipboard.open()) return std::nullopt;
  HANDLE block = GetClipboardData(CF_UNICODETEXT);
  if (block == nullptr) return std::nullopt;
  LockedGlobal locked(block);
  if (locked.data() == nullptr) return std::nullopt;
  // Up to the terminating zero, but never past the block.
  const auto* text = static_cast<const wchar_t*>(locked.data());
  const size_t most = GlobalSize(block) / sizeof(wchar_t);
  size_t length = 0;
  while (length < most && text[length] != L'\0') ++length;
  return std::wstring(text, length);
}

bool WriteClipboardText(HWND owner, std::wstring_view text) {
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
    std::memcpy(locked.data(), text.data(), text.size() * sizeof(wchar_t));
    static_cast<wchar_t*>(locked.data())[text.size()] = L'\0';
  }
  // On success the clipboard owns the block; on failure it is still ours.
  if (SetClipboardData(CF_UNICODETEXT, block) == nullptr) {
    GlobalFree(block);
    return false;
  }
  return true;
}

}  // namespace tarnvex
