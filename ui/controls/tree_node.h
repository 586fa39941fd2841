// A node of a tree view: a list item with child nodes, a depth and an expand
// state. The tree view's list owns every node but the invisible root; a node
// only points at its child nodes.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "ui/controls/list_container_element.h"

namespace ui {

class TreeView;

class TreeNode : public ListContainerElement {
 public:
  TreeNode();
  ~TreeNode() override;

  std::wstring GetType() const override;
  // Shown only while its own flags are set and every ancestor is expanded.
  bool IsVisible() const override;

  // The click handler of the child nodes: the node that was clicked flips its
  // expand state, raises expand (44) or unexpand (45) and the tree lays out again.
  virtual bool ToggleExpand(EventArgs* event);

  // Inserts the node among this node's children and into the tree's list right
  // after this node, after the complete subtrees of its earlier siblings. False,
  // with nothing changed, when the index exceeds the child count, the node cannot
  // join (null, this node or an ancestor, or a node that has a parent node
  // already), or the list refuses it. The node takes depth + 1, this node as
  // parent, this node's tree view, and this node's layout padding widened on the
  // left by the tree's indent (below the top level). A node of no tree yet only
  // links the child: the subtree enters the list when it joins a tree.
  bool AddChildNodeAt(TreeNode* node, size_t index);
  bool AddChildNode(TreeNode* node) { return AddChildNodeAt(node, childNodes_.size()); }

  TreeNode* GetParentNode() const { return parentNode_; }
  size_t GetChildNodeCount() const { return childNodes_.size(); }
  TreeNode* GetChildNode(size_t index) const {
    return index < childNodes_.size() ? childNodes_[index] : nullptr;
  }
  // Number of nodes below this one, at any depth.
  size_t GetDescendantCount() const;
  int GetDepth() const { return depth_; }
  bool IsExpand() const { return expand_; }
  void SetExpand(bool expand);
  TreeView* GetTreeView() const { return treeView_; }
  // Gives the nodes below this one their padding again (the indent changed).
  void RefreshPadding();
  void SetTreeView(TreeView* view) { treeView_ = view; }

 private:
  // Takes this node's depth, tree and padding down to the node's subtree.
  void Adopt(TreeNode* node);
  // The child's layout padding: this node's, plus the indent below the top level.
  void InheritPadding(TreeNode* node);
  // A click on the child toggles it.
  void AttachToggle(TreeNode* child);
  // Inserts the node's subtree into the list from the position on, in pre-order;
  // false when the list refused one (those placed are taken out again).
  bool InsertSubtree(TreeNode* node, int position);

  int depth_ = -1;
  bool expand_ = true;
  TreeView* treeView_ = nullptr;
  TreeNode* parentNode_ = nullptr;
  std::vector<TreeNode*> childNodes_;
};

}  // namespace ui
