// A tree view: a vertical list box that owns the root of its tree nodes.
#pragma once

#include <memory>
#include <string>

#include "ui/controls/list_box.h"
#include "ui/controls/tree_node.h"

namespace ui {

class TreeView : public ListBox {
 public:
  TreeView();
  ~TreeView() override;

  std::wstring GetType() const override;
  TreeNode* GetRootNode() const { return root_.get(); }

 private:
  std::unique_ptr<TreeNode> root_;
};

}  // namespace ui
