#include "widgets/win32/tool_bar_window.h"

#include <windowsx.h>

#include <algorithm>
#include <string>

#include "widgets/win32/creation_calls.h"
#include "widgets/win32/last_error.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

constexpr Colour kBandColour = 0x3A5C14;  // a dark green the white captions read well on
constexpr Colour kLineColour = 0x1E300A;
constexpr Colour kHotColour = 0x5A8A2A;
constexpr Colour kHotEdge = 0xB0E090;
constexpr int kPictureTop = 3;

}  // namespace

ToolBarWindow::ToolBarWindow(const PeerSite& site, ToolBar& bar, HIMAGELIST images)
    : site_(site),
      bar_(bar),
      images_(images),
      font_(MakeFont({.name = "宋体", .height = -12, .charset = GB2312_CHARSET})) {
  CreateBound(0, kClassName, nullptr, WS_CHILD, {}, site.parent, site.instance);
  // The hints, as tool tips over their buttons.
  tips_ = OwnedWindow(Creation().create_window(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                                               WS_POPUP | TTS_ALWAYSTIP, 0, 0, 0, 0, window(),
                                               nullptr, site.instance, nullptr));
  if (tips_.get() == nullptr) ThrowLastError("CreateWindowExW");
  bar_.set_handle(reinterpret_cast<WindowHandle>(window()));
}

RECT ToolBarWindow::ItemRect(size_t index) const {
  int left = 0;
  // The pictures' size is the image list's.
  int picture_width = 0;
  int picture_height = 0;
  ImageList_GetIconSize(images_, &picture_width, &picture_height);
  const auto& items = bar_.items();
  for (size_t i = 0; i < items.size(); ++i) {
    const int width = items[i] == nullptr ? kSeparatorWidth : bar_.look.button_width;
    if (i == index) return {left, 0, left + width, bar_.look.button_height};
    left += width;
  }
  return {};
}

int ToolBarWindow::ButtonAt(POINT point) const {
  // The pictures' size is the image list's.
  int picture_width = 0;
  int picture_height = 0;
  ImageList_GetIconSize(images_, &picture_width, &picture_height);
  const auto& items = bar_.items();
  for (size_t i = 0; i < items.size(); ++i) {
    RECT rect = ItemRect(i);
    if (items[i] != nullptr && items[i]->visible() && PtInRect(&rect, point)) {
      return static_cast<int>(i);
    }
  }
  return -1;
}

void ToolBarWindow::Sync() {
  if (window() == nullptr) return;
  PlaceWindow(window(), bar_);
  // Every input renders the screen: a bar that shows the buttons as they are
  // keeps its tool tips and its picture.
  std::vector<Drawn> drawn;
  for (const ToolButton* button : bar_.items()) {
    if (button == nullptr) {
      drawn.push_back({});
    } else {
      drawn.push_back(
          {button, button->visible(), button->image_index(), button->caption(), button->hint()});
    }
  }
  if (drawn == drawn_) return;
  drawn_ = std::move(drawn);
  {
    const auto& items = bar_.items();
    for (size_t i = 0; i < items.size(); ++i) {
      if (items[i] == nullptr || items[i]->hint().empty()) continue;
      std::wstring hint = ToWide(items[i]->hint());
      TTTOOLINFOW tool{};
      tool.cbSize = sizeof tool;
      tool.uFlags = TTF_SUBCLASS;
      tool.hwnd = window();
      tool.uId = i + 1;
      tool.rect = ItemRect(i);
      tool.lpszText = hint.data();
      SendMessageW(tips_.get(), TTM_DELTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
      SendMessageW(tips_.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
  }
  InvalidateRect(window(), nullptr, FALSE);
}

void ToolBarWindow::Paint(HDC target, const RECT& /*dirty*/) {
  const RECT client = ClientRect();
  HDC dc = back_buffer_.Begin(target, client);
  FillSolid(dc, client, kBandColour);
  if (bar_.look.bottom_line) {
    FillSolid(dc, {client.left, client.bottom - 1, client.right, client.bottom}, kLineColour);
  }
  SelectedObject font(dc, font_.get());
  SetBkMode(dc, TRANSPARENT);
  // The pictures' size is the image list's.
  int picture_width = 0;
  int picture_height = 0;
  ImageList_GetIconSize(images_, &picture_width, &picture_height);
  const auto& items = bar_.items();
  for (size_t i = 0; i < items.size(); ++i) {
    const ToolButton* button = items[i];
    if (button == nullptr || !button->visible()) continue;
    RECT rect = ItemRect(i);
    const int index = static_cast<int>(i);
    if (index == hot_ || index == pressed_) {
      FillSolid(dc, rect, index == pressed_ && index == hot_ ? kLineColour : kHotColour);
      GdiObject<HBRUSH> edge(CreateSolidBrush(ToColorRef(kHotEdge)));
      FrameRect(dc, &rect, edge.get());
    }
    const int shift = index == pressed_ && index == hot_ ? 1 : 0;
    const int picture_left = (rect.left + rect.right - picture_width) / 2 + shift;
    ImageList_DrawEx(images_, button->image_index(), dc, picture_left, kPictureTop + shift,
                     picture_width, picture_height, CLR_NONE, CLR_NONE, ILD_NORMAL);
    RECT caption{rect.left, kPictureTop + picture_height + 1 + shift, rect.right + shift,
                 rect.bottom};
    SetTextColor(dc, ToColorRef(bar_.look.caption_colour));
    std::wstring text = ToWide(button->caption());
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &caption,
              DT_CENTER | DT_TOP | DT_SINGLELINE | DT_NOPREFIX);
  }
  back_buffer_.Present(target);
}

void ToolBarWindow::SetHot(int index) {
  if (index == hot_) return;
  hot_ = index;
  if (hot_ >= 0) {
    TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window(), 0};
    TrackMouseEvent(&track);
  }
  InvalidateRect(window(), nullptr, FALSE);
}

LRESULT ToolBarWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  const POINT point{GET_X_LPARAM(l_param), GET_Y_LPARAM(l_param)};
  if (LRESULT painted = 0; HandlePainting(message, w_param, painted)) return painted;
  switch (message) {
    case WM_MOUSEMOVE:
      SetHot(ButtonAt(point));
      return 0;
    case WM_MOUSELEAVE:
      SetHot(-1);
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(point);
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(point);
      return 0;
    case WM_CAPTURECHANGED:
      OnCaptureChanged();
      return 0;
    case TB_BUTTONCOUNT:
      return static_cast<LRESULT>(bar_.items().size());
    case TB_GETITEMRECT:
      if (w_param >= bar_.items().size() || l_param == 0) return FALSE;
      *reinterpret_cast<RECT*>(l_param) = ItemRect(w_param);
      return TRUE;
    case TB_GETBUTTONTEXTW:
      return OnGetButtonText(w_param, reinterpret_cast<wchar_t*>(l_param));
    default:
      break;
  }
  return Default(message, w_param, l_param);
}

LRESULT ToolBarWindow::OnGetButtonText(WPARAM index, wchar_t* text) const {
  if (index >= bar_.items().size()) return -1;
  const ToolButton* button = bar_.items()[index];
  const std::wstring caption = button != nullptr ? ToWide(button->caption()) : std::wstring();
  // Without a buffer the caller asks for the length, without the zero.
  if (text != nullptr) std::copy(caption.c_str(), caption.c_str() + caption.size() + 1, text);
  return static_cast<LRESULT>(caption.size());
}

void ToolBarWindow::OnButtonDown(POINT point) {
  pressed_ = ButtonAt(point);
  if (pressed_ >= 0) SetCapture(window());
  InvalidateRect(window(), nullptr, FALSE);
}

void ToolBarWindow::OnButtonUp(POINT point) {
  const int pressed = pressed_;
  pressed_ = -1;
  if (GetCapture() == window()) ReleaseCapture();
  InvalidateRect(window(), nullptr, FALSE);
  if (pressed >= 0 && pressed == ButtonAt(point)) {
    ToolButton* button = bar_.items()[static_cast<size_t>(pressed)];
    site_.Input([button] { button->Click(); });
  }
}

void ToolBarWindow::OnCaptureChanged() {
  pressed_ = -1;
  InvalidateRect(window(), nullptr, FALSE);
}

}  // namespace tarnvex
