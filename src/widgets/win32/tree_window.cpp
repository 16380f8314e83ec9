#include "widgets/win32/tree_window.h"

#include "widgets/win32/gdi.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {

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
  CreateSubclassed(look.border ? WS_EX_CLIENTEDGE : 0, WC_TREEVIEWW, nullptr, style, {},
                   site.parent, site.instance);
  TreeView_SetImageList(window(), images, TVSIL_NORMAL);
  TreeView_SetItemHeight(window(), look.item_height);
  TreeView_SetIndent(window(), look.indent);
  TreeView_SetBkColor(window(), ToColorRef(look.colour));
  tree_.set_handle(reinterpret_cast<WindowHandle>(window()));
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
  SendMessageW(window(), WM_SETREDRAW, FALSE, 0);
  TreeView_DeleteAllItems(window());
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
    HTREEITEM item = TreeView_InsertItem(window(), &insert);
    shown_.push_back({node, item, node->text(), node->image_index(), false});
  }
  SendMessageW(window(), WM_SETREDRAW, TRUE, 0);
}

void TreeWindow::Sync() {
  if (window() == nullptr) return;
  syncing_ = true;
  PlaceWindow(window(), tree_);
  // The control repaints what it changes itself (selection, expansion), but
  // not what it was given with redrawing off: only a new copy is repainted.
  // Every input renders the screen, and a whole tree drawn again per
  // keystroke is what made typing lag.
  const bool copied = !ShowsModel();
  if (copied) CopyModel();
  bool moved = copied;
  // Compared with what the control was last told or reported, rather than
  // asked of it node by node on every input.
  for (Shown& shown : shown_) {
    if (shown.node->children().empty() || shown.expanded == shown.node->expanded()) continue;
    shown.expanded = shown.node->expanded();
    TreeView_Expand(window(), shown.item, shown.expanded ? TVE_EXPAND : TVE_COLLAPSE);
    moved = true;
  }
  HTREEITEM selected = ItemOf(tree_.selected());
  if (TreeView_GetSelection(window()) != selected) {
    TreeView_SelectItem(window(), selected);
    moved = true;
  }
  // Brought into view when it changed, not on every input: the control
  // updates its scroll bars each time, and the operator may have scrolled
  // the tree away on purpose.
  if (moved && selected != nullptr) TreeView_EnsureVisible(window(), selected);
  if (copied) InvalidateRect(window(), nullptr, TRUE);
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
        // What the control now shows, whether or not the tree takes it.
        for (Shown& shown : shown_) {
          if (shown.item == change.itemNew.hItem) shown.expanded = expanded;
        }
        site_.Input([&] { tree_.SetExpanded(*node, expanded); });
      }
      return 0;
    }
    case NM_RCLICK: {
      if (!tree_.look.right_click_selects) return 0;
      TVHITTESTINFO hit{};
      GetCursorPos(&hit.pt);
      ScreenToClient(window(), &hit.pt);
      if (TreeNode* node = NodeOf(TreeView_HitTest(window(), &hit))) {
        site_.Input([&] { tree_.Select(node); });
      }
      return 1;
    }
    default:
      return 0;
  }
}

LRESULT TreeWindow::Handle(UINT message, WPARAM w_param, LPARAM l_param) {
  if (message == kReflectedNotify) return Notified(*reinterpret_cast<const NMHDR*>(l_param));
  return Default(message, w_param, l_param);
}

void TreeWindow::Destroyed(HWND /*window*/) { shown_.clear(); }

}  // namespace tarnvex
