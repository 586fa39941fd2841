#include "app/main_window/data_preload.h"

#include "data/icon_cache.h"
#include "data/link_store.h"

namespace {

DataPreload*& Running() {
  static DataPreload* running = nullptr;
  return running;
}

}  // namespace

DataPreload::DataPreload() {
  // Made here, on the user-interface thread: the cache's constructor registers
  // itself with the framework's image look-up.
  IconCache& icons = GetIconCache();
  LinkStore& links = GetLinkStore();
  // The link store is opened only when the icon cache opened, as the main window
  // did: a start that ends on the icon cache's message leaves link.db untouched.
  worker_ = std::thread([this, &icons, &links] {
    outcome_.iconsOpened = icons.OpenStored();
    if (outcome_.iconsOpened) outcome_.linksLoaded = links.Load(DefaultLinkDbPath());
  });
  Running() = this;
}

DataPreload::~DataPreload() {
  if (Running() == this) Running() = nullptr;
  if (worker_.joinable()) worker_.join();
}

std::optional<DataPreload::Outcome> DataPreload::Take() {
  DataPreload* preload = Running();
  if (!preload || preload->taken_) return std::nullopt;
  if (preload->worker_.joinable()) preload->worker_.join();
  preload->taken_ = true;
  return preload->outcome_;
}
