// A box whose content is built from another skin file, named by "xmlfile".
#pragma once

#include <string>

#include "ui/core/box.h"

namespace ui {

class ChildBox : public Box {
 public:
  ChildBox() = default;

  std::wstring GetType() const override;
  void SetAttribute(const std::wstring& name, const std::wstring& value) override;
  // Builds the file into the box the first time the window initialises it; a
  // file that cannot be built leaves the box empty.
  void Init() override;

  const std::wstring& GetChildXmlFile() const { return xmlFile_; }

 private:
  std::wstring xmlFile_;
  bool built_ = false;
};

}  // namespace ui
