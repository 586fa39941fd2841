// Item templates: boxes filled from skin files through a cache of parsed
// documents, so that a list of hundreds of cards reads and parses its
// template once.
#include <map>
#include <memory>

#include "ui/base/ui_globals.h"
#include "ui/core/box.h"
#include "ui/core/skin_builder.h"

namespace ui {

namespace {

std::map<std::wstring, std::unique_ptr<SkinBuilder>>& BuilderCache() {
  static std::map<std::wstring, std::unique_ptr<SkinBuilder>> cache;
  return cache;
}

}  // namespace

void UiGlobals::FillBoxFromXml(Box* box, const std::wstring& xmlPath, CreateControlCallback createControl) {
  FillBoxFromXml(box, xmlPath, std::move(createControl), TemplatePart::kWhole);
}

void UiGlobals::FillBoxFromXml(Box* box, const std::wstring& xmlPath, CreateControlCallback createControl,
                               TemplatePart part) {
  if (!box) return;
  auto& cache = BuilderCache();
  auto cached = cache.find(xmlPath);
  if (cached != cache.end()) {
    cached->second->BuildFromDocument(std::move(createControl), box->GetWindow(), nullptr, box, part);
    return;
  }
  auto builder = std::make_unique<SkinBuilder>();
  if (builder->Create(xmlPath, std::move(createControl), box->GetWindow(), nullptr, box, part)) {
    cache[xmlPath] = std::move(builder);
  }
}

}  // namespace ui
