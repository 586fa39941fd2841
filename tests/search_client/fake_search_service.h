// A stand-in for the external file-search service: a hidden window of the service's
// class on a thread of its own. It decodes every record it receives, checks its layout
// field by field (problems are collected in faults()), and answers queries with reply
// lists built from its catalogue.
#pragma once

#include <windows.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "tests/search_client/reply_builder.h"

namespace search_test {

// A query record as the service decoded it.
struct ReceivedQuery {
  ULONG_PTR kind = 0;
  DWORD size = 0;  // cbData
  WPARAM wparam = 0;
  DWORD reply_window = 0;
  DWORD reply_id = 0;
  DWORD search_flags = 0;
  DWORD offset = 0;
  DWORD max_results = 0;
  DWORD request_flags = 0;  // version-2 records only
  DWORD sort = 0;           // version-2 records only
  std::string text_bytes;   // as sent, terminator excluded
  std::wstring text;        // decoded (ANSI through the ANSI code page)
};

// A run-count record as the service decoded it.
struct ReceivedRunCount {
  ULONG_PTR kind = 0;
  DWORD size = 0;
  std::wstring name;
  DWORD count = 0;  // set-run-count records only
};

class FakeSearchService {
 public:
  enum class ReplyMode {
    kWhileSending,   // reply from inside the handler of the query record
    kAfterSending,   // answer the record first, reply from a later message
    kNever,          // accept the query and never reply
    kCloseInstead,   // accept the query, then close the service window
  };

  FakeSearchService();
  ~FakeSearchService();
  FakeSearchService(const FakeSearchService&) = delete;
  FakeSearchService& operator=(const FakeSearchService&) = delete;

  HWND window() const { return window_; }
  // Closes the service window now, as a service that exits.
  void Close();

  void SetCatalogue(std::vector<FakeEntry> entries);
  void SetReplyMode(ReplyMode mode);
  // Answer 0 to query records of version 1 or 2.
  void RefuseVersion(int version);
  // Sends these bytes instead of the list built from the catalogue.
  void SetRawReply(std::string bytes);
  void SetCommandAnswer(WPARAM command, LRESULT answer);
  // Answer to set-run-count records (default 1).
  void SetRunCountAnswer(LRESULT answer);
  void SetRunCount(const std::wstring& name, DWORD count);

  std::vector<ReceivedQuery> queries() const;
  std::vector<ReceivedRunCount> run_counts() const;
  std::vector<WPARAM> commands() const;
  std::vector<std::string> faults() const;

 private:
  static LRESULT CALLBACK WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  void Run(HANDLE ready);
  LRESULT OnCopyData(WPARAM wparam, const COPYDATASTRUCT& record);
  LRESULT OnQuery(WPARAM wparam, const COPYDATASTRUCT& record);
  LRESULT OnRunCount(const COPYDATASTRUCT& record);
  void DeliverReply();
  std::string ReplyFor(const ReceivedQuery& query, bool utf16, bool version2);
  void Fault(std::string text);

  std::thread thread_;
  HWND window_ = nullptr;
  mutable std::mutex mutex_;
  std::vector<FakeEntry> catalogue_;
  ReplyMode mode_ = ReplyMode::kWhileSending;
  bool refuse_v1_ = false;
  bool refuse_v2_ = false;
  bool has_raw_reply_ = false;
  std::string raw_reply_;
  std::map<WPARAM, LRESULT> command_answers_;
  LRESULT run_count_answer_ = 1;
  std::map<std::wstring, DWORD> run_count_table_;
  std::vector<ReceivedQuery> queries_;
  std::vector<ReceivedRunCount> run_counts_;
  std::vector<WPARAM> commands_;
  std::vector<std::string> faults_;
  // A reply waiting for kAfterSending.
  HWND pending_target_ = nullptr;
  DWORD pending_id_ = 0;
  std::string pending_reply_;
};

}  // namespace search_test
