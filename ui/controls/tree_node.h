// A node of a tree view: a list item with child nodes, a depth and an expand state.
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
  // Deletes the child nodes it holds.
  ~TreeNode() override;

  std::wstring GetType() const override;

  // Inserts the node among this node's children; false, with nothing changed, when
  // the index exceeds the child count or the node cannot join (null, this node,
  // one of its ancestors, or a node that already has a parent node). The node takes
  // depth + 1, this node as parent and this node's tree view; when this node
  // belongs to a window the node and its descendants get that window.
  bool AddChildNodeAt(TreeNode* node, size_t index);
  bool AddChildNode(TreeNode* node) { return AddChildNodeAt(node, childNodes_.size()); }

  TreeNode* GetParentNode() const { return parentNode_; }
  size_t GetChildNodeCount() const { return childNodes_.size(); }
  TreeNode* GetChildNode(size_t index) const {
    return index < childNodes_.size() ? childNodes_[index] : nullptr;
  }
  int GetDepth() const { return depth_; }
  bool IsExpand() const { return expand_; }
  void SetExpand(bool expand) { expand_ = expand; }
  TreeView* GetTreeView() const { return treeView_; }
  void SetTreeView(TreeView* view) { treeView_ = view; }

 private:
  // Gives the node and its descendants this node's window and tree view.
  void Adopt(TreeNode* node);

  std::vector<TreeNode*> childNodes_;
  TreeNode* parentNode_ = nullptr;
  TreeView* treeView_ = nullptr;
  int depth_ = 0;
  bool expand_ = true;
};

}  // namespace ui
