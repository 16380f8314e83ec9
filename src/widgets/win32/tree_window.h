#pragma once

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <vector>

#include "widgets/tree_view.h"
#include "widgets/win32/peer_site.h"
#include "widgets/win32/window_base.h"

namespace tarnvex {

// The Win32 peer of a TreeView: a common tree view control that shows the
// nodes of the model and turns the operator's clicks and keys into Select and
// SetExpanded. The model's nodes are copied into the control whenever they
// change; the control's own notifications during that copy are not input.
class TreeWindow : public WindowBase {
 public:
  // images: the pictures of the nodes, kept by the caller for the tree's life.
  // Throws std::system_error when the window cannot be made.
  TreeWindow(const PeerSite& site, TreeView& tree, HIMAGELIST images);

  void Sync();

  // The control's item of a node shown, or nullptr.
  HTREEITEM ItemOf(const TreeNode* node) const;

 private:
  LRESULT Handle(UINT message, WPARAM w_param, LPARAM l_param) override;
  void Destroyed(HWND window) override;
  LRESULT Notified(const NMHDR& header);
  TreeNode* NodeOf(HTREEITEM item) const;
  // Whether the control shows exactly the model's nodes, texts and pictures.
  bool ShowsModel() const;
  void CopyModel();

  struct Shown {
    TreeNode* node;
    HTREEITEM item;
    std::string text;
    int image;
    bool expanded;  // as the control shows it
  };

  PeerSite site_;
  TreeView& tree_;
  std::vector<Shown> shown_;
  bool syncing_ = false;
};

}  // namespace tarnvex
