#include "ui/controls/tree_view.h"

#include "ui/core/v_layout.h"
#include "ui/core/window.h"

namespace ui {

TreeView::TreeView() : ListBox(new VLayout), root_(std::make_unique<TreeNode>()) {
  root_->SetTreeView(this);
}

TreeView::~TreeView() { root_.reset(); }

std::wstring TreeView::GetType() const { return L"TreeView"; }

void TreeView::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"indent") {
    SetIndent(_wtoi(value.c_str()));
  } else if (name == L"scrollselect") {
    SetScrollSelect(value == L"true");
  } else {
    ScrollableBox::SetAttribute(name, value);
  }
}

void TreeView::SetWindowAndParent(Window* window, Box* parent, bool init) {
  ListBox::SetWindowAndParent(window, parent, init);
  root_->SetWindowAndParent(window, parent, init);
  if (window && init && !root_->GetGroup().empty()) window->AddOptionGroupMember(root_->GetGroup(), root_.get());
}

void TreeView::SetIndent(int indent) {
  if (indent == indent_) return;
  indent_ = indent;
  root_->RefreshPadding();
  Arrange();
}

bool TreeView::Add(Control*) { return true; }
bool TreeView::AddAt(Control*, size_t) { return true; }
bool TreeView::Remove(Control*) { return true; }
bool TreeView::RemoveAt(size_t) { return true; }
void TreeView::RemoveAll() {}

bool TreeView::InsertNodeAt(TreeNode* node, size_t index) { return ListBox::AddAt(node, index); }

bool TreeView::TakeNodeOut(TreeNode* node) {
  const bool autoDestroy = IsAutoDestroyChild();
  SetAutoDestroyChild(false);
  const bool removed = ListBox::Remove(node);
  SetAutoDestroyChild(autoDestroy);
  return removed;
}

}  // namespace ui
