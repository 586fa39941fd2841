// The launcher's databases opened on a worker thread at the program's start, while
// the framework starts and the windows are made; the main window takes the outcome
// where it opens its data, so every failure is reported at the same point as
// before and in the same order.
#pragma once

#include <optional>
#include <thread>

class DataPreload {
 public:
  struct Outcome {
    bool iconsOpened = false;  // the icon cache's file opened and its IDs read
    bool linksLoaded = false;  // the link store loaded (tried only after the icons)
  };

  // Starts the worker. The icon cache and the link store must not be used by
  // anything else until the outcome is taken.
  DataPreload();
  // Waits for the worker when nobody took the outcome.
  ~DataPreload();
  DataPreload(const DataPreload&) = delete;
  DataPreload& operator=(const DataPreload&) = delete;

  // The outcome of the preload the program's entry started, after waiting for it;
  // once only. Empty when no preload is running or it was taken: the caller then
  // opens the data itself.
  static std::optional<Outcome> Take();

 private:
  std::thread worker_;
  Outcome outcome_;
  bool taken_ = false;
};
