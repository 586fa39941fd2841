// A tree view: a vertical list box showing its tree of nodes flat, in
// pre-order, indented by depth. It owns the invisible root node; its list owns
// every other node. Nodes enter only through TreeNode::AddChildNodeAt.
#pragma once

#include <memory>
#include <string>

#include "ui/controls/list_box.h"
#include "ui/controls/tree_node.h"

namespace ui {

class TreeView : public ListBox {
 public:
  TreeView();
  // Deletes the root node, then the list deletes the other nodes.
  ~TreeView() override;

  std::wstring GetType() const override;
  // "indent" (pixels per depth level) and "scrollselect"; the rest as for a
  // scrolling box.
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  void SetWindowAndParent(Window* window, Box* parent, bool init = true) override;

  // Nodes come and go only through the nodes: these do nothing.
  bool Add(Control* control) override;
  bool AddAt(Control* control, size_t index) override;
  bool Remove(Control* control) override;
  bool RemoveAt(size_t index) override;
  void RemoveAll() override;

  TreeNode* GetRootNode() const { return root_.get(); }
  int GetIndent() const { return indent_; }
  // Nodes already in the tree (the skin's, whose attributes come after them)
  // take the new indent too.
  void SetIndent(int indent);

  // The list's own insertion and removal, for the nodes.
  bool InsertNodeAt(TreeNode* node, size_t index);
  bool TakeNodeOut(TreeNode* node);

 private:
  int indent_ = 0;
  std::unique_ptr<TreeNode> root_;
};

}  // namespace ui
