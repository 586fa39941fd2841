#include "ui/controls/tree_node.h"

#include <algorithm>

#include "ui/base/dpi_scaler.h"
#include "ui/controls/tree_view.h"
#include "ui/core/layout.h"
#include "ui/core/window.h"

namespace ui {

TreeNode::TreeNode() = default;

// The child nodes belong to the tree view's list, which deletes them.
TreeNode::~TreeNode() = default;

std::wstring TreeNode::GetType() const { return L"TreeNode"; }

bool TreeNode::IsVisible() const {
  if (!ListContainerElement::IsVisible()) return false;
  return !parentNode_ || (parentNode_->IsExpand() && parentNode_->IsVisible());
}

void TreeNode::SetExpand(bool expand) {
  if (expand_ == expand) return;
  expand_ = expand;
  if (treeView_) treeView_->Arrange();
}

size_t TreeNode::GetDescendantCount() const {
  size_t count = childNodes_.size();
  for (const TreeNode* child : childNodes_) count += child->GetDescendantCount();
  return count;
}

bool TreeNode::ToggleExpand(EventArgs* event) {
  auto* node = event ? dynamic_cast<TreeNode*>(event->pSender) : nullptr;
  if (!node) return true;
  node->expand_ = !node->expand_;
  if (Window* window = node->GetWindow()) window->SendControlEvent(node, node->expand_ ? expand : unexpand);
  if (node->treeView_) node->treeView_->Arrange();
  return true;
}

void TreeNode::InheritPadding(TreeNode* node) {
  // The parent's padding is in pixels already; only the indent is scaled, so the
  // inherited part is not scaled again at every level.
  RECT padding = GetLayout() ? GetLayout()->GetPadding() : RECT{0, 0, 0, 0};
  if (depth_ != -1 && treeView_) padding.left += DpiScaler::Instance().ScaleInt(treeView_->GetIndent());
  if (Layout* layout = node->GetLayout()) layout->SetPadding(padding, false);
}

void TreeNode::RefreshPadding() {
  for (TreeNode* child : childNodes_) {
    InheritPadding(child);
    child->RefreshPadding();
  }
}

void TreeNode::Adopt(TreeNode* node) {
  node->depth_ = depth_ + 1;
  node->parentNode_ = this;
  node->treeView_ = treeView_;
  InheritPadding(node);
  for (TreeNode* child : node->childNodes_) node->Adopt(child);
}

// Takes the node and the nodes below it out of the list, without deleting them.
static void TakeOutSubtree(TreeView* view, TreeNode* node) {
  for (size_t i = 0; i < node->GetChildNodeCount(); ++i) TakeOutSubtree(view, node->GetChildNode(i));
  view->TakeNodeOut(node);
}

bool TreeNode::InsertSubtree(TreeNode* node, int position) {
  if (position < 0 || !treeView_->InsertNodeAt(node, static_cast<size_t>(position))) return false;
  int next = position + 1;
  for (size_t i = 0; i < node->childNodes_.size(); ++i) {
    TreeNode* child = node->childNodes_[i];
    if (!InsertSubtree(child, next)) {
      for (size_t j = 0; j < i; ++j) TakeOutSubtree(treeView_, node->childNodes_[j]);
      treeView_->TakeNodeOut(node);
      return false;
    }
    next += 1 + static_cast<int>(child->GetDescendantCount());
  }
  return true;
}

void TreeNode::AttachToggle(TreeNode* child) {
  child->AttachEvent(click, ToWeakCallback([this](EventArgs* event) { return ToggleExpand(event); }));
}

bool TreeNode::AddChildNodeAt(TreeNode* node, size_t index) {
  if (!node || index > childNodes_.size() || node->parentNode_ || (treeView_ && node == treeView_->GetRootNode())) {
    return false;
  }
  for (const TreeNode* n = this; n; n = n->parentNode_) {
    if (n == node) return false;
  }
  childNodes_.insert(childNodes_.begin() + static_cast<std::ptrdiff_t>(index), node);
  Adopt(node);
  // A subtree built before it joins a tree enters the list with it.
  if (!treeView_) {
    AttachToggle(node);
    return true;
  }

  // The list position: right after this node and the complete subtrees of the
  // earlier siblings.
  size_t before = index;
  for (size_t i = 0; i < index; ++i) before += childNodes_[i]->GetDescendantCount();
  // The root is in no list: its index is -1.
  const int position = GetIndex() + 1 + static_cast<int>(before);
  if (!InsertSubtree(node, position)) {
    childNodes_.erase(childNodes_.begin() + static_cast<std::ptrdiff_t>(index));
    node->parentNode_ = nullptr;
    node->treeView_ = nullptr;
    node->depth_ = -1;
    return false;
  }
  AttachToggle(node);
  return true;
}

}  // namespace ui
