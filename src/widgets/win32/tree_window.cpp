#include "widgets/win32/tree_window.h"

#include <system_error>

#include "widgets/win32/gdi.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

namespace {

constexpr UINT_PTR kSubclassId = 1;

}  // namespace

TreeWindow::TreeWindow(const PeerSite& site, TreeView& tree, HIMAGELIST images)
    : site_(site), tree_(tree) {
  const TreeLook& look = tree.look;
  DWORD style = WS_CHILD | WS_TABSTOP | TVS_DISABLEDRAGDROP;
  if (look.show_buttons) style |= TVS_HASBUTTONS;
  if (look.show_root_buttons) style |= TVS_LINESATROOT;
  if (look.show_lines) style |= TVS_HASLINES;
  if (!look.read_only) style |= TVS_EDITLABELS;
  if (!look.hide_selection) style |= TVS_SHOWSELALWAYS;
  if (!look.tool_tips) style |= TVS_NOTOOLTIPS;
  window_ = CreateWindowExW(look.border ? WS_EX_CLIENTEDGE : 0, WC_TREEVIEWW, nullptr, style, 0,
                            0, 0, 0, site.parent, nullptr, site.instance, nullptr);
  if (window_ == nullptr) {
    throw std::system_error(static_cast<int>(GetLastError()), std::system_category(),
                            "CreateWindowExW");
  }
  SetWindowSubclass(window_, Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this));
  TreeView_SetImageList(window_, images, TVSIL_NORMAL);
  TreeView_SetItemHeight(window_, look.item_height);
  TreeView_SetIndent(window_, look.indent);
  TreeView_SetBkColor(window_, ToColorRef(look.colour));
  tree_.set_handle(reinterpret_cast<WindowHandle>(window_));
}

TreeWindow::~TreeWindow() {
  if (window_ == nullptr) return;
  RemoveWindowSubclass(window_, Procedure, kSubclassId);
  DestroyWindow(window_);
}

HTREEITEM TreeWindow::ItemOf(const TreeNode* node) const {
  for (const Shown& shown : shown_) {
    if (shown.node == node) return shown.item;
  }
  return nullptr;
}

TreeNode* TreeWindow::NodeOf(HTREEITEM item) const {
  for (const Shown& shown : shown_) {
    if (shown.item == item) return shown.node;
  }
  return nullptr;
}

bool TreeWindow::ShowsModel() const {
  const std::vector<TreeNode*> nodes = tree_.AllNodes();
  if (nodes.size() != shown_.size()) return false;
  for (size_t i = 0; i < nodes.size(); ++i) {
    // A node freed and another made at the same address differs in its text
    // or picture, or else it looks exactly the same on screen.
    if (nodes[i] != shown_[i].node || nodes[i]->text() != shown_[i].text ||
        nodes[i]->image_index() != shown_[i].image) {
      return false;
    }
  }
  return true;
}

void TreeWindow::CopyModel() {
  SendMessageW(window_, WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(window_);
  shown_.clear();
  for (TreeNode* node : tree_.AllNodes()) {
    std::wstring text = ToWide(node->text());
    TVINSERTSTRUCTW insert{};
    insert.hParent = node->parent() == nullptr ? TVI_ROOT : ItemOf(node->parent());
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE;
    insert.item.pszText = text.data();
    insert.item.iImage = node->image_index();
    insert.item.iSelectedImage = node->selected_index();
    HTREEITEM item = TreeView_InsertItem(window_, &insert);
    shown_.push_back({node, item, node->text(), node->image_index()});
  }
  SendMessageW(window_, WM_SETREDRAW, TRUE, 0);
}

void TreeWindow::Sync() {
  if (window_ == nullptr) return;
  syncing_ = true;
  PlaceWindow(window_, tree_);
  if (!ShowsModel()) CopyModel();
  for (const Shown& shown : shown_) {
    if (shown.node->children().empty()) continue;
    const bool expanded = (TreeView_GetItemState(window_, shown.item, TVIS_EXPANDED) &
                           TVIS_EXPANDED) != 0;
    if (expanded != shown.node->expanded()) {
      TreeView_Expand(window_, shown.item, shown.node->expanded() ? TVE_EXPAND : TVE_COLLAPSE);
    }
  }
  HTREEITEM selected = ItemOf(tree_.selected());
  if (TreeView_GetSelection(window_) != selected) {
    TreeView_SelectItem(window_, selected);
  }
  if (selected != nullptr) TreeView_EnsureVisible(window_, selected);
  InvalidateRect(window_, nullptr, TRUE);
  syncing_ = false;
}

LRESULT TreeWindow::Notified(const NMHDR& header) {
  if (syncing_) return 0;
  switch (header.code) {
    case TVN_SELCHANGEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      TreeNode* node = NodeOf(change.itemNew.hItem);
      site_.Input([&] { tree_.Select(node); });
      return 0;
    }
    case TVN_ITEMEXPANDEDW: {
      const auto& change = reinterpret_cast<const NMTREEVIEWW&>(header);
      if (TreeNode* node = NodeOf(change.itemNew.hItem)) {
        const bool expanded = (change.itemNew.state & TVIS_EXPANDED) != 0;
        site_.Input([&] { tree_.SetExpanded(*node, expanded); });
      }
      return 0;
    }
    case NM_RCLICK: {
      if (!tree_.look.right_click_selects) return 0;
      TVHITTESTINFO hit{};
      GetCursorPos(&hit.pt);
      ScreenToClient(window_, &hit.pt);
      if (TreeNode* node = NodeOf(TreeView_HitTest(window_, &hit))) {
        site_.Input([&] { tree_.Select(node); });
      }
      return 1;
    }
    default:
      return 0;
  }
}

LRESULT CALLBACK TreeWindow::Procedure(HWND window, UINT message, WPARAM w_param, LPARAM l_param,
                                       UINT_PTR /*id*/, DWORD_PTR data) {
  auto* self = reinterpret_cast<TreeWindow*>(data);
  switch (message) {
    case kReflectedNotify:
      return self->Notified(*reinterpret_cast<const NMHDR*>(l_param));
    case WM_NCDESTROY:
      RemoveWindowSubclass(window, Procedure, kSubclassId);
      self->window_ = nullptr;
      self->shown_.clear();
      break;
    default:
      break;
  }
  return DefSubclassProc(window, message, w_param, l_param);
}

}  // namespace tarnvex
