// Turns a skin XML document into framework state: a "Global" root fills the
// process-wide tables, a "Window" root sets the attributes and private tables
// of the window being created, and the elements under the root become a tree
// of controls with their event bindings.
#pragma once

#include <string>

#include "ui/base/markup_parser.h"
#include "ui/base/ui_globals.h"

namespace ui {

class Box;
class Control;
class Window;

class SkinBuilder {
 public:
  // An "Include" may nest files at most this deep.
  static constexpr int kMaxIncludeDepth = 16;

  SkinBuilder() = default;
  SkinBuilder(const SkinBuilder&) = delete;
  SkinBuilder& operator=(const SkinBuilder&) = delete;

  // Loads the source and builds it. The source is XML text when it begins with
  // "<", otherwise a file relative to the resource path, read from the skin
  // archive when it has the entry and from the disk otherwise. Null when the
  // source cannot be read or parsed; otherwise as BuildFromDocument.
  Control* Create(const std::wstring& source, CreateControlCallback createControl, Window* window = nullptr,
                  Box* parent = nullptr, Control* existing = nullptr,
                  UiGlobals::TemplatePart part = UiGlobals::TemplatePart::kWhole);
  // Builds the document held from the last Create again. With a window, a
  // "Global" or "Window" root is applied first. The result is the first control
  // placed at the top level, the existing control when one was given (it takes
  // the attributes and children of the first control element, or the part of
  // them asked for), or null.
  Control* BuildFromDocument(CreateControlCallback createControl, Window* window = nullptr, Box* parent = nullptr,
                             Control* existing = nullptr,
                             UiGlobals::TemplatePart part = UiGlobals::TemplatePart::kWhole);

  // Builds the element's children into the parent (null: made without a
  // parent) and returns the first control placed at this level, or null.
  Control* ParseChildren(MarkupNode element, Control* parent, Window* window);
  // A new control of one of the framework's own class names; null otherwise.
  static Control* CreateBuiltinControl(const std::wstring& className);
  // Binds the "Event" or "BubbledEvent" element's handlers to the parent.
  void AttachEventNode(bool bubbled, MarkupNode element, Control* parent);

  const CreateControlCallback& GetCreateControlCallback() const { return createControl_; }

 private:
  bool Load(const std::wstring& source);
  void ApplyGlobalRoot(MarkupNode root);
  void ApplyWindowRootAttributes(MarkupNode root, Window* window);
  void ApplyWindowRootTables(MarkupNode root, Window* window);
  // Builds one "Include" element into the parent.
  void BuildInclude(MarkupNode element, Control* parent, Window* window);
  // A control for the element name: built-in table, then the framework-wide
  // callback, then this build's callback. Null when none knows the name.
  Control* MakeControl(const std::wstring& className);

  MarkupDocument document_;
  CreateControlCallback createControl_;
  // The file the document came from; empty for XML text.
  std::wstring source_;
};

// Installs the builder as the framework's "global.xml" builder. The builder
// library does so by itself when it is part of the program; this is for code
// that cleared the hook.
void InstallGlobalXmlBuilder();

}  // namespace ui
