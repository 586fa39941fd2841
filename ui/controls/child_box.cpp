#include "ui/controls/child_box.h"

#include <map>
#include <memory>

#include "ui/core/skin_builder.h"
#include "ui/core/window_impl_base.h"

namespace ui {

namespace {

// One parsed builder per file for the whole process, kept once a build succeeded.
std::map<std::wstring, std::unique_ptr<SkinBuilder>>& Builders() {
  static std::map<std::wstring, std::unique_ptr<SkinBuilder>> builders;
  return builders;
}

}  // namespace

std::wstring ChildBox::GetType() const { return L"ChildBox"; }

void ChildBox::SetAttribute(const std::wstring& name, const std::wstring& value) {
  if (name == L"xmlfile") {
    xmlFile_ = value;
  } else {
    Box::SetAttribute(name, value);
  }
}

void ChildBox::Init() {
  Box::Init();
  // Built once: initialising the box again must not append the tree again.
  if (xmlFile_.empty() || built_) return;
  built_ = true;
  CreateControlCallback create;
  if (auto* window = dynamic_cast<WindowImplBase*>(GetWindow())) {
    create = [window](const std::wstring& className) { return window->CreateControl(className); };
  }
  Control* built = nullptr;
  auto found = Builders().find(xmlFile_);
  if (found != Builders().end()) {
    built = found->second->BuildFromDocument(create);
  } else {
    auto builder = std::make_unique<SkinBuilder>();
    built = builder->Create(xmlFile_, create);
    if (built) Builders()[xmlFile_] = std::move(builder);
  }
  if (!built) {
    RemoveAll();
    return;
  }
  if (!Add(built)) delete built;
}

}  // namespace ui
