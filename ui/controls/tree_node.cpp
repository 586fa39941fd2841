#include "ui/controls/tree_node.h"

namespace ui {

TreeNode::TreeNode() = default;

TreeNode::~TreeNode() {
  std::vector<TreeNode*> children;
  children.swap(childNodes_);
  for (TreeNode* child : children) delete child;
}

std::wstring TreeNode::GetType() const { return L"TreeNode"; }

bool TreeNode::AddChildNodeAt(TreeNode* node, size_t index) {
  if (!node || index > childNodes_.size() || node->parentNode_) return false;
  for (const TreeNode* n = this; n; n = n->parentNode_) {
    if (n == node) return false;
  }
  node->depth_ = depth_ + 1;
  node->parentNode_ = this;
  childNodes_.insert(childNodes_.begin() + static_cast<std::ptrdiff_t>(index), node);
  Adopt(node);
  return true;
}

void TreeNode::Adopt(TreeNode* node) {
  node->treeView_ = treeView_;
  if (window_) node->SetWindow(window_);
  for (TreeNode* child : node->childNodes_) {
    child->depth_ = node->depth_ + 1;
    node->Adopt(child);
  }
}

}  // namespace ui
