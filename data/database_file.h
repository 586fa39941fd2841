// Steps shared by the launcher's two SQLite files when they are opened.
#pragma once

#include <string>

// Reads the whole file once from start to end, so that the system's file cache holds
// it before SQLite reads it page by page in the order of its trees. Nothing happens
// for a missing or empty file.
void WarmFileCache(const std::wstring& path);

// Prints "不能打开数据库: " and SQLite's message on the standard error stream, in the
// ANSI code page and without a line end.
void PrintOpenError(const char* sqliteMessage);

// True when a file (not a folder) exists at the path.
bool IsExistingFile(const std::wstring& path);
