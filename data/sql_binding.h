// Binding the model's values to prepared statements of the link store.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "sqlite3.h"

// Binds wide text as UTF-8 (SQLite keeps its own copy).
bool BindText(sqlite3_stmt* statement, int index, const std::wstring& text);
// Binds the bytes, or NULL when there are none.
bool BindBlobOrNull(sqlite3_stmt* statement, int index, const std::vector<uint8_t>& bytes);
// Steps a statement that returns no rows; true when it reports "done".
bool StepToDone(sqlite3_stmt* statement);
