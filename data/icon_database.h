// The SQLite side of the icon cache: "db\icon.db" with its tables "Version" and
// "Cache". A Cache row holds the 16-, 32- and 48-pixel icon of one link as PNG
// files; rows removed softly stay, marked invalid, until they are purged.
// User-interface thread only.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "sqlite3.h"

class IconDatabase {
 public:
  static constexpr int kCurrentVersion = 10805;
  // The version given to an older file that has no Version row.
  static constexpr int kUnversionedVersion = 10600;

  IconDatabase() = default;
  ~IconDatabase() { Close(); }
  IconDatabase(const IconDatabase&) = delete;
  IconDatabase& operator=(const IconDatabase&) = delete;

  // Opens or creates the file and makes sure it has a version. A new file gets
  // both tables; an existing one is never upgraded or rewritten. False, with the
  // error printed, when SQLite cannot open the file or a statement fails.
  bool Open(const std::wstring& path);
  // Finalizes the statements kept for the connection and closes it.
  void Close();
  bool IsOpen() const { return db_ != nullptr; }
  int version() const { return version_; }
  sqlite3* connection() const { return db_; }

  // Calls the visitor with the ID of every row not marked invalid, without
  // reading the rows' icons. False when the Cache table cannot be read (the error
  // is printed).
  bool ForEachValidId(const std::function<void(int32_t id)>& visitor);
  // The three PNG files of the row, when it exists and is not marked invalid.
  bool ReadValidRow(int32_t id, std::string& png16, std::string& png32, std::string& png48);

  // The two writers of rows keep separate statements.
  enum class Writer { kImages, kBitmaps };
  // Stores the PNG files of one link as a valid row, replacing an older one.
  bool WriteRow(Writer writer, int32_t id, const std::vector<uint8_t>& png16, const std::vector<uint8_t>& png32,
                const std::vector<uint8_t>& png48);
  // hard: deletes the row; soft: marks it invalid. True when the statement ran,
  // whether or not the row existed.
  bool RemoveRow(int32_t id, bool hard);
  // Deletes every invalid row, then compacts the file.
  bool PurgeInvalid();

 private:
  bool CreateVersion(int version);

  sqlite3* db_ = nullptr;
  int version_ = 0;
};
