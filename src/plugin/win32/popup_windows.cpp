#include "plugin/win32/popup_windows.h"

#include <commctrl.h>

#include <array>
#include <stdexcept>
#include <string>

#include "plugin/win32/dialog_window.h"
#include "plugin/win32/modal_loop.h"
#include "widgets/win32/event_guard.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

constexpr UINT_PTR kCloseTimer = 1;
// The shadow: an 8 x 8 dotted pattern, combined with the screen by
// destination AND pattern.
constexpr std::array<WORD, 8> kShadowRows = {0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};
constexpr DWORD kDestinationAndPattern = 0x00A000C9;
constexpr int kShadow = 16;
// The system's animation of a folder being searched, in shell32.
constexpr int kSearchClip = 151;

struct GuideState {
  TRopInst* popup;
  MessageBoxes* boxes;
  GdiObject<HFONT> font;
};

void PaintGuide(HWND window, HDC dc, GuideState& state) {
  const TRopInst& popup = *state.popup;
  RECT client{};
  GetClientRect(window, &client);
  const int width = client.right;
  const int height = client.bottom;
  SelectedObject font(dc, state.font.get());
  GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
  SelectedObject selected_pen(dc, pen.get());
  GdiObject<HBRUSH> fill(popup.brush.style == BrushStyle::kClear
                             ? static_cast<HBRUSH>(nullptr)
                             : CreateSolidBrush(ToColorRef(popup.brush.colour)));
  {
    SelectedObject brush(dc, fill.get() != nullptr ? static_cast<HGDIOBJ>(fill.get())
                                                   : GetStockObject(NULL_BRUSH));
    Rectangle(dc, 1, 1, width - kShadow, height - kShadow);
  }
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, ToColorRef(popup.font.colour));
  RECT text_rect{6, 6, width - 21, height - 21};
  std::wstring text = ToWide(popup.Text());
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
            DT_LEFT | DT_TOP | DT_NOPREFIX);
  // In a one-bit pattern 0 bits take the text colour and 1 bits the
  // background colour of the surface.
  GdiObject<HBITMAP> bits(CreateBitmap(8, 8, 1, 1, kShadowRows.data()));
  GdiObject<HBRUSH> pattern(CreatePatternBrush(bits.get()));
  SetBkColor(dc, ToColorRef(popup.brush.colour));
  SelectedObject brush(dc, pattern.get());
  PatBlt(dc, kShadow, height - kShadow, width - kShadow, kShadow, kDestinationAndPattern);
  PatBlt(dc, width - kShadow, kShadow, kShadow, height, kDestinationAndPattern);
}

}  // namespace

PopupWindows::PopupWindows(HINSTANCE instance, HWND owner, MessageBoxes& boxes)
    : instance_(instance), owner_(owner), boxes_(boxes) {}

PopupWindows::~PopupWindows() {
  for (auto& [hint, busy] : busy_) {
    if (busy->window != nullptr && IsWindow(busy->window)) DestroyWindow(busy->window);
  }
}

Size PopupWindows::ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Size PopupWindows::MeasureText(const Font& font, std::string_view text) {
  HDC screen = GetDC(nullptr);
  GdiObject<HFONT> gdi_font = MakeFont(font);
  RECT extent{};
  {
    SelectedObject selected(screen, gdi_font.get());
    std::wstring wide = ToWide(text);
    DrawTextW(screen, wide.c_str(), static_cast<int>(wide.size()), &extent,
              DT_CALCRECT | DT_LEFT | DT_TOP | DT_NOPREFIX);
  }
  ReleaseDC(nullptr, screen);
  return {static_cast<int>(extent.right - extent.left), static_cast<int>(extent.bottom - extent.top)};
}

LRESULT CALLBACK PopupWindows::GuideProcedure(HWND window, UINT message, WPARAM w_param,
                                              LPARAM l_param) {
  if (message == WM_NCCREATE) {
    SetWindowLongPtrW(window, GWLP_USERDATA,
                      reinterpret_cast<LONG_PTR>(
                          reinterpret_cast<CREATESTRUCTW*>(l_param)->lpCreateParams));
  }
  auto* state = reinterpret_cast<GuideState*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (state == nullptr) return DefWindowProcW(window, message, w_param, l_param);
  auto guarded = [&](auto&& event) {
    RunGuarded(*state->boxes, reinterpret_cast<WindowHandle>(window), event);
  };
  switch (message) {
    case WM_ERASEBKGND:
      // What the paint leaves out keeps the screen beneath.
      return 1;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      HDC dc = BeginPaint(window, &paint);
      PaintGuide(window, dc, *state);
      EndPaint(window, &paint);
      return 0;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      guarded([&] { state->popup->FormKeyDown(static_cast<KeyCode>(w_param)); });
      return 0;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      guarded([&] { state->popup->FormMouseDown(); });
      return 0;
    case WM_TIMER:
      if (w_param == kCloseTimer) guarded([&] { state->popup->Timer1.Elapse(); });
      return 0;
    case WM_NCDESTROY:
      SetWindowLongPtrW(window, GWLP_USERDATA, 0);
      break;
    default:
      break;
  }
  return DefWindowProcW(window, message, w_param, l_param);
}

void PopupWindows::ShowModal(TRopInst& popup) {
  GuideState state{&popup, &boxes_, MakeFont(popup.font)};
  const Rect& bounds = popup.bounds();
  HWND root = GetAncestor(owner_, GA_ROOT);
  HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kGuideClassName, nullptr,
                                WS_POPUP, bounds.left, bounds.top, bounds.width, bounds.height,
                                root, nullptr, instance_, &state);
  if (window == nullptr) throw std::runtime_error("无法创建快捷键指南窗口");
  if (popup.Timer1.enabled()) SetTimer(window, kCloseTimer, popup.Timer1.interval(), nullptr);
  // Modal: the editor and the host take no input until the guide closes; the
  // keys then go where they went before.
  RunModalLoop(
      root, window, [&popup] { return popup.closed(); }, [window] { SetFocus(window); },
      [window] { KillTimer(window, kCloseTimer); });
}

void PopupWindows::ShowModalForm(Form& dialog) {
  ShowDialogModally(instance_, owner_, boxes_, dialog);
}

FrameMetrics PopupWindows::SizeableFrame() {
  return {GetSystemMetrics(SM_CYCAPTION), GetSystemMetrics(SM_CXSIZEFRAME),
          GetSystemMetrics(SM_CYSIZEFRAME)};
}

bool PopupWindows::FileExists(std::string_view path) {
  const DWORD attributes = GetFileAttributesW(ToWide(path).c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

void PopupWindows::ShowBusyWindow(TFrmHint& hint) {
  HideBusyWindow(hint);
  auto busy = std::make_unique<BusyWindow>();
  const Rect place = hint.Placement(ScreenSize());
  busy->window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kBusyClassName, nullptr,
                                 WS_POPUP | WS_THICKFRAME, place.left, place.top, place.width,
                                 place.height, GetAncestor(owner_, GA_ROOT), nullptr, instance_,
                                 nullptr);
  if (busy->window == nullptr) throw std::runtime_error("无法创建等待窗口");
  busy->font = MakeFont(hint.Label1.font);
  const Rect& label = hint.Label1.bounds;
  HWND text = CreateWindowExW(0, L"STATIC", ToWide(hint.Label1.Caption).c_str(),
                              WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, label.left, label.top,
                              // The label sizes itself to its text.
                              MeasureText(hint.Label1.font, hint.Label1.Caption).width,
                              label.height, busy->window, nullptr, instance_, nullptr);
  SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(busy->font.get()), FALSE);
  const Rect& clip = hint.Animate1.bounds;
  HWND animation = CreateWindowExW(0, ANIMATE_CLASSW, nullptr,
                                   WS_CHILD | WS_VISIBLE | ACS_TRANSPARENT | ACS_CENTER,
                                   clip.left, clip.top, clip.width, clip.height, busy->window,
                                   nullptr, instance_, nullptr);
  if (animation != nullptr) {
    if (hint.Animate1.file_name.empty()) {
      Animate_OpenEx(animation, GetModuleHandleW(L"shell32.dll"), MAKEINTRESOURCEW(kSearchClip));
    } else {
      Animate_Open(animation, ToWide(hint.Animate1.file_name).data());
    }
    if (hint.Animate1.active) Animate_Play(animation, 0, -1, -1);
  }
  ShowWindow(busy->window, SW_SHOWNOACTIVATE);
  // Nothing else paints while the work runs.
  UpdateWindow(busy->window);
  RedrawWindow(busy->window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  busy_[&hint] = std::move(busy);
}

void PopupWindows::HideBusyWindow(TFrmHint& hint) {
  auto found = busy_.find(&hint);
  if (found == busy_.end()) return;
  if (found->second->window != nullptr && IsWindow(found->second->window)) {
    DestroyWindow(found->second->window);
  }
  busy_.erase(found);
}

}  // namespace tarnvex
