#include "wine/test_host.h"

#include <stdexcept>
#include <utility>

#include "embedding/host_messages.h"
#include "wine/operator_input.h"

namespace tarnvex::testing {

namespace {

constexpr wchar_t kTestClassName[] = L"TarnvexTestWindow";

void RegisterTestClass(WNDPROC procedure) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof window_class;
  if (GetClassInfoExW(GetModuleHandleW(nullptr), kTestClassName, &window_class)) return;
  window_class.lpfnWndProc = procedure;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  window_class.lpszClassName = kTestClassName;
  if (RegisterClassExW(&window_class) == 0) throw std::runtime_error("RegisterClassExW failed");
}

}  // namespace

TestWindow::TestWindow(HWND parent, int width, int height) {
  RegisterTestClass(Procedure);
  DWORD style =
      parent ? WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN : WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN;
  window_ = CreateWindowExW(0, kTestClassName, L"test", style, 0, 0, width, height, parent, nullptr,
                            GetModuleHandleW(nullptr), this);
  if (window_ == nullptr) throw std::runtime_error("CreateWindowExW failed");
}

TestWindow::~TestWindow() { Destroy(); }

void TestWindow::Destroy() {
  if (window_ != nullptr && IsWindow(window_)) DestroyWindow(window_);
  window_ = nullptr;
}

LRESULT CALLBACK TestWindow::Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(l_param);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(create->lpCreateParams));
  }
  auto* self = reinterpret_cast<TestWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (self != nullptr) {
    if (message == kHostClosedMessage) {
      ++self->close_notifications_;
      self->events_.push_back("closed");
      if (self->on_host_closed) self->on_host_closed();
      return 0;
    }
    if (message == WM_PARENTNOTIFY && LOWORD(w_param) == WM_DESTROY) {
      self->events_.push_back("child destroyed");
    }
    if (message == WM_NCDESTROY) {
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      self->window_ = nullptr;
    }
  }
  return DefWindowProcW(window, message, w_param, l_param);
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
  text.resize(
      static_cast<size_t>(GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
  return text;
}

std::vector<HWND> EditorsIn(HWND parent) {
  std::vector<HWND> editors;
  for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
       child = GetWindow(child, GW_HWNDNEXT)) {
    if (WindowText(child) == L"津贴项目设置") editors.push_back(child);
  }
  return editors;
}

HWND PanelMainOf(HWND editor) { return FindWindowExW(editor, nullptr, L"TarnvexPanel", nullptr); }

EditorGrids GridsOf(HWND editor) {
  HWND first = FindDescendant(editor, L"TarnvexColumnGrid", 0);
  HWND second = FindDescendant(editor, L"TarnvexColumnGrid", 1);
  if (first == nullptr || second == nullptr) return {};
  RECT first_rect{};
  RECT second_rect{};
  GetWindowRect(first, &first_rect);
  GetWindowRect(second, &second_rect);
  if (first_rect.top > second_rect.top) std::swap(first, second);
  return {first, second};
}

SIZE ClientSize(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  return {client.right - client.left, client.bottom - client.top};
}

SIZE WindowSize(HWND window) {
  RECT bounds{};
  GetWindowRect(window, &bounds);
  return {bounds.right - bounds.left, bounds.bottom - bounds.top};
}

ULONG ReferenceCount(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

bool RecordingService::ExecuteQuery(const Variant& sql, Variant& result) {
  arguments.push_back(sql);
  arguments.push_back(result);
  result = Variant(std::vector<uint8_t>{1, 2, 3});
  return true;
}

bool RecordingService::ExecuteStatement(Variant& statements) {
  arguments.push_back(statements);
  statements = Variant(VariantArray{0, {Variant(u"第一行"), Variant(u"second")}});
  return false;
}

bool RecordingService::CheckRight(const std::u16string& operator_code,
                                  const std::u16string& function_code) {
  arguments.push_back(Variant(operator_code));
  arguments.push_back(Variant(function_code));
  return operator_code == u"操作员";
}

}  // namespace tarnvex::testing
