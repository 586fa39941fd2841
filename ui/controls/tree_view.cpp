#include "ui/controls/tree_view.h"

#include "ui/core/v_layout.h"

namespace ui {

TreeView::TreeView() : ListBox(new VLayout), root_(std::make_unique<TreeNode>()) {
  root_->SetTreeView(this);
}

TreeView::~TreeView() = default;

std::wstring TreeView::GetType() const { return L"TreeView"; }

}  // namespace ui
