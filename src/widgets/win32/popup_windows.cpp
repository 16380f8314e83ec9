#include "widgets/win32/popup_windows.h"

#include <commctrl.h>

#include <array>
#include <string>

#include "widgets/win32/dialog_window.h"
#include "widgets/win32/modal_loop.h"
#include "widgets/win32/creation_calls.h"
#include "widgets/win32/device_contexts.h"
#include "widgets/event_guard.h"
#include "widgets/win32/last_error.h"
#include "widgets/win32/wide_text.h"
#include "widgets/win32/painted_window.h"

namespace tarnvex {

namespace {

constexpr UINT_PTR kCloseTimer = 1;
// What an error in a popup's own input handling reports as failed.
constexpr char kPopupOperation[] = "关闭提示";
// The shadow: an 8 x 8 dotted pattern, combined with the screen by
// destination AND pattern.
constexpr std::array<WORD, 8> kShadowRows = {0xAA, 0x00, 0x55, 0x00, 0xAA, 0x00, 0x55, 0x00};
constexpr DWORD kDestinationAndPattern = 0x00A000C9;
constexpr int kShadow = 16;
// The system's animation of a folder being searched, in shell32.
constexpr int kSearchClip = 151;

// The shortcut guide's window: paints the guide and turns keys, clicks and
// its closing timer into the guide's input methods.
class GuideWindow : public PaintedWindow {
 public:
  // Throws std::system_error when the window cannot be made.
  GuideWindow(HINSTANCE instance, HWND root, MessageBoxes& boxes, TextPopup& popup)
      : popup_(popup), boxes_(boxes), font_(MakeFont(popup.font)) {
    const Rect& bounds = popup.bounds();
    CreateBound(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, PopupWindows::kPopupClassName, nullptr, WS_POPUP,
                {bounds.left, bounds.top, bounds.left + bounds.width, bounds.top + bounds.height},
                root, instance);
  }

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override {
    // What the paint leaves out keeps the screen beneath: the background is
    // never erased.
    if (LRESULT painted = 0; HandlePainting(message, w_param, painted)) return painted;
    switch (message) {
      case WM_KEYDOWN:
      case WM_SYSKEYDOWN:
        Guarded([&] { popup_.FormKeyDown(static_cast<KeyCode>(w_param)); });
        return 0;
      case WM_LBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_MBUTTONDOWN:
        Guarded([&] { popup_.FormMouseDown(); });
        return 0;
      case WM_TIMER:
        if (w_param == kCloseTimer) Guarded([&] { popup_.Timer1.Elapse(); });
        return 0;
      default:
        return Default(message, w_param, l_param);
    }
  }

  template <typename Event>
  void Guarded(Event&& event) {
    GuardEvent(boxes_, reinterpret_cast<WindowHandle>(window()), kPopupOperation,
               std::forward<Event>(event));
  }

  void Paint(HDC dc, const RECT& /*dirty*/) override {
    const RECT client = ClientRect();
    const int width = client.right;
    const int height = client.bottom;
    SelectedObject font(dc, font_.get());
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 2, RGB(0, 0, 0)));
    SelectedObject selected_pen(dc, pen.get());
    GdiObject<HBRUSH> fill(popup_.brush.style == BrushStyle::kClear
                               ? static_cast<HBRUSH>(nullptr)
                               : CreateSolidBrush(ToColorRef(popup_.brush.colour)));
    {
      SelectedObject brush(dc, fill.get() != nullptr ? static_cast<HGDIOBJ>(fill.get())
                                                     : GetStockObject(NULL_BRUSH));
      Rectangle(dc, 1, 1, width - kShadow, height - kShadow);
    }
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, ToColorRef(popup_.font.colour));
    RECT text_rect{6, 6, width - 21, height - 21};
    std::wstring text = ToWide(popup_.Text());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &text_rect,
              DT_LEFT | DT_TOP | DT_NOPREFIX);
    // In a one-bit pattern 0 bits take the text colour and 1 bits the
    // background colour of the surface.
    GdiObject<HBITMAP> bits(CreateBitmap(8, 8, 1, 1, kShadowRows.data()));
    GdiObject<HBRUSH> pattern(CreatePatternBrush(bits.get()));
    SetBkColor(dc, ToColorRef(popup_.brush.colour));
    SelectedObject brush(dc, pattern.get());
    PatBlt(dc, kShadow, height - kShadow, width - kShadow, kShadow, kDestinationAndPattern);
    PatBlt(dc, width - kShadow, kShadow, kShadow, height, kDestinationAndPattern);
  }

  TextPopup& popup_;
  MessageBoxes& boxes_;
  GdiObject<HFONT> font_;
};

// A child of the busy window, a system control. Throws std::system_error
// when it cannot be made; the busy window takes it along when destroyed.
HWND MakeBusyChild(const wchar_t* class_name, const wchar_t* text, DWORD style, const Rect& place,
                   int width, HWND parent, HINSTANCE instance) {
  HWND child =
      Creation().create_window(0, class_name, text, WS_CHILD | WS_VISIBLE | style, place.left,
                               place.top, width, place.height, parent, nullptr, instance, nullptr);
  if (child == nullptr) ThrowLastError("CreateWindowExW");
  return child;
}

}  // namespace

PopupWindows::PopupWindows(HINSTANCE instance, MessageBoxes& boxes)
    : instance_(instance), boxes_(boxes) {}

PopupWindows::~PopupWindows() = default;

Size PopupWindows::ScreenSize() {
  return {GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
}

Size PopupWindows::MeasureText(const Font& font, std::string_view text) {
  ScreenDc screen(GetDC(nullptr));
  GdiObject<HFONT> gdi_font = MakeFont(font);
  RECT extent{};
  {
    SelectedObject selected(screen.get(), gdi_font.get());
    std::wstring wide = ToWide(text);
    DrawTextW(screen.get(), wide.c_str(), static_cast<int>(wide.size()), &extent,
              DT_CALCRECT | DT_LEFT | DT_TOP | DT_NOPREFIX);
  }
  return {static_cast<int>(extent.right - extent.left),
          static_cast<int>(extent.bottom - extent.top)};
}

void PopupWindows::ShowModal(HWND owner, TextPopup& popup) {
  HWND root = GetAncestor(owner, GA_ROOT);
  GuideWindow guide(instance_, root, boxes_, popup);
  const HWND window = guide.window();
  if (popup.Timer1.enabled()) SetTimer(window, kCloseTimer, popup.Timer1.interval(), nullptr);
  // Modal: the editor and the host take no input until the guide closes; the
  // keys then go where they went before.
  RunModalLoop(
      root, window, [&popup] { return popup.closed(); }, [window] { SetFocus(window); },
      [window] { KillTimer(window, kCloseTimer); });
}

void PopupWindows::ShowModalForm(HWND owner, Form& dialog) {
  ShowDialogModally(instance_, owner, boxes_, dialog);
}

void PopupWindows::ShowBusyWindow(HWND owner, const BusyIndicator& hint) {
  HideBusyWindow(hint);
  auto busy = std::make_unique<ShownBusyWindow>();
  busy->font = MakeFont(hint.Label1.font);
  const Rect place = hint.Placement(ScreenSize());
  busy->window = OwnedWindow(Creation().create_window(
      WS_EX_TOPMOST | WS_EX_TOOLWINDOW, kBusyClassName, nullptr, WS_POPUP | WS_THICKFRAME,
      place.left, place.top, place.width, place.height, GetAncestor(owner, GA_ROOT), nullptr,
      instance_, nullptr));
  const HWND window = busy->window.get();
  if (window == nullptr) ThrowLastError("CreateWindowExW");
  const Rect& label = hint.Label1.bounds;
  HWND text =
      MakeBusyChild(L"STATIC", ToWide(hint.Label1.Caption).c_str(), SS_LEFTNOWORDWRAP, label,
                    // The label sizes itself to its text.
                    MeasureText(hint.Label1.font, hint.Label1.Caption).width, window, instance_);
  SendMessageW(text, WM_SETFONT, reinterpret_cast<WPARAM>(busy->font.get()), FALSE);
  const Rect& clip = hint.Animate1.bounds;
  HWND animation = MakeBusyChild(ANIMATE_CLASSW, nullptr, ACS_TRANSPARENT | ACS_CENTER, clip,
                                 clip.width, window, instance_);
  if (hint.Animate1.file_name.empty()) {
    Animate_OpenEx(animation, GetModuleHandleW(L"shell32.dll"), MAKEINTRESOURCEW(kSearchClip));
  } else {
    Animate_Open(animation, ToWide(hint.Animate1.file_name).data());
  }
  if (hint.Animate1.active) Animate_Play(animation, 0, -1, -1);
  ShowWindow(window, SW_SHOWNOACTIVATE);
  // Nothing else paints while the work runs.
  UpdateWindow(window);
  RedrawWindow(window, nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  busy_[&hint] = std::move(busy);
}

void PopupWindows::HideBusyWindow(const BusyIndicator& hint) { busy_.erase(&hint); }

}  // namespace tarnvex
