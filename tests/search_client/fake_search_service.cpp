#include "tests/search_client/fake_search_service.h"

#include <algorithm>
#include <cstring>
#include <cwctype>

namespace search_test {

namespace {

constexpr wchar_t kServiceClass[] = L"FILESEARCH_TASKBAR_NOTIFICATION";
constexpr UINT kDeliverReplyMessage = WM_APP + 1;
constexpr UINT kCloseMessage = WM_APP + 2;

std::wstring Decode(const std::string& bytes, bool utf16) {
  if (utf16) return std::wstring(reinterpret_cast<const wchar_t*>(bytes.data()), bytes.size() / 2);
  if (bytes.empty()) return {};
  const int chars = MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), nullptr, 0);
  std::wstring out(chars, L'\0');
  MultiByteToWideChar(CP_ACP, 0, bytes.data(), static_cast<int>(bytes.size()), out.data(), chars);
  return out;
}

DWORD Word(const BYTE* at) {
  DWORD value;
  std::memcpy(&value, at, 4);
  return value;
}

// Splits the terminated text that fills bytes [begin, size) of a record; false when the
// record does not end in exactly one terminator right after the text.
bool TakeTerminatedText(const BYTE* data, size_t begin, size_t size, bool utf16, std::string* text) {
  const size_t step = utf16 ? 2 : 1;
  if (size < begin + step || (size - begin) % step != 0) return false;
  for (size_t at = begin; at + step <= size; at += step) {
    const bool zero = data[at] == 0 && (!utf16 || data[at + 1] == 0);
    if (zero) {
      *text = std::string(reinterpret_cast<const char*>(data + begin), at - begin);
      return at + step == size;
    }
  }
  return false;
}

std::wstring Lower(std::wstring text) {
  for (wchar_t& c : text) c = static_cast<wchar_t>(std::towlower(c));
  return text;
}

bool Matches(const FakeEntry& e, const ReceivedQuery& q) {
  if (q.text.empty()) return true;
  std::wstring hay = (q.search_flags & 0x4) ? e.path + L"\\" + e.name : e.name;
  std::wstring needle = q.text;
  if (!(q.search_flags & 0x1)) {
    hay = Lower(hay);
    needle = Lower(needle);
  }
  return hay.find(needle) != std::wstring::npos;
}

}  // namespace

FakeSearchService::FakeSearchService() {
  HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = std::thread([this, ready] { Run(ready); });
  WaitForSingleObject(ready, 10000);
  CloseHandle(ready);
}

FakeSearchService::~FakeSearchService() {
  Close();
  if (thread_.joinable()) thread_.join();
}

void FakeSearchService::Close() {
  if (IsWindow(window_)) SendMessageW(window_, kCloseMessage, 0, 0);
}

void FakeSearchService::Run(HANDLE ready) {
  WNDCLASSEXW window_class{};
  window_class.cbSize = sizeof(window_class);
  window_class.lpfnWndProc = WndProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = kServiceClass;
  RegisterClassExW(&window_class);  // fails harmlessly when an earlier instance registered it
  window_ = CreateWindowExW(0, kServiceClass, L"", 0, 0, 0, 0, 0, nullptr, nullptr,
                            GetModuleHandleW(nullptr), nullptr);
  SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  SetEvent(ready);
  MSG message;
  while (window_ && GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

LRESULT CALLBACK FakeSearchService::WndProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<FakeSearchService*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (!self) return DefWindowProcW(window, message, wparam, lparam);
  switch (message) {
    case WM_USER: {
      std::lock_guard<std::mutex> lock(self->mutex_);
      self->commands_.push_back(wparam);
      auto answer = self->command_answers_.find(wparam);
      return answer == self->command_answers_.end() ? 0 : answer->second;
    }
    case WM_COPYDATA:
      if (!lparam) {
        self->Fault("WM_COPYDATA without a record");
        return 0;
      }
      return self->OnCopyData(wparam, *reinterpret_cast<const COPYDATASTRUCT*>(lparam));
    case kDeliverReplyMessage:
      self->DeliverReply();
      return 0;
    case kCloseMessage:
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT FakeSearchService::OnCopyData(WPARAM wparam, const COPYDATASTRUCT& record) {
  switch (record.dwData) {
    case 1:
    case 2:
    case 17:
    case 18:
      return OnQuery(wparam, record);
    case 19:
    case 20:
    case 21:
    case 22:
    case 23:
    case 24:
      if (wparam != 0) Fault("run-count record with a non-zero wParam");
      return OnRunCount(record);
  }
  Fault("unknown record kind " + std::to_string(record.dwData));
  return 0;
}

LRESULT FakeSearchService::OnQuery(WPARAM wparam, const COPYDATASTRUCT& record) {
  const bool utf16 = record.dwData == 2 || record.dwData == 18;
  const bool version2 = record.dwData >= 17;
  const size_t header = version2 ? 28 : 20;
  const auto* data = static_cast<const BYTE*>(record.lpData);
  ReceivedQuery query;
  query.kind = record.dwData;
  query.size = record.cbData;
  query.wparam = wparam;
  if (record.cbData < header || !data) {
    Fault("query record shorter than its header");
    return 0;
  }
  query.reply_window = Word(data);
  query.reply_id = Word(data + 4);
  query.search_flags = Word(data + 8);
  query.offset = Word(data + 12);
  query.max_results = Word(data + 16);
  if (version2) {
    query.request_flags = Word(data + 20);
    query.sort = Word(data + 24);
  }
  if (!TakeTerminatedText(data, header, record.cbData, utf16, &query.text_bytes)) {
    Fault("query text is not followed by exactly one terminator at the record's end");
  }
  query.text = Decode(query.text_bytes, utf16);
  if (query.search_flags & ~0xFu) Fault("unknown search flags");
  if (query.reply_window != static_cast<DWORD>(wparam)) {
    Fault("the record's reply window differs from the wParam of the message");
  }
  ReplyMode mode;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    queries_.push_back(query);
    if ((version2 && refuse_v2_) || (!version2 && refuse_v1_)) return 0;
    mode = mode_;
    pending_target_ = reinterpret_cast<HWND>(static_cast<LONG_PTR>(static_cast<LONG>(query.reply_window)));
    pending_id_ = query.reply_id;
    pending_reply_ = has_raw_reply_ ? raw_reply_ : ReplyFor(query, utf16, version2);
  }
  switch (mode) {
    case ReplyMode::kWhileSending:
      DeliverReply();
      break;
    case ReplyMode::kAfterSending:
      PostMessageW(window_, kDeliverReplyMessage, 0, 0);
      break;
    case ReplyMode::kNever:
      break;
    case ReplyMode::kCloseInstead:
      PostMessageW(window_, kCloseMessage, 0, 0);
      break;
  }
  return 1;
}

// Sent without holding the mutex: the reply runs the client's window procedure, which
// may be on a thread that is itself waiting for this service.
void FakeSearchService::DeliverReply() {
  HWND target;
  std::string reply;
  COPYDATASTRUCT message{};
  {
    std::lock_guard<std::mutex> lock(mutex_);
    target = pending_target_;
    reply.swap(pending_reply_);
    message.dwData = pending_id_;
  }
  message.cbData = static_cast<DWORD>(reply.size());
  message.lpData = reply.data();
  SendMessageW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(window_), reinterpret_cast<LPARAM>(&message));
}

std::string FakeSearchService::ReplyFor(const ReceivedQuery& query, bool utf16, bool version2) {
  std::vector<FakeEntry> found;
  for (const FakeEntry& e : catalogue_) {
    if (Matches(e, query)) found.push_back(e);
  }
  // Sort 1 orders by name, sort 2 by name descending; other sorts keep catalogue order.
  const DWORD sort = version2 ? query.sort : 1;
  auto by_name = [](const FakeEntry& a, const FakeEntry& b) { return _wcsicmp(a.name.c_str(), b.name.c_str()) < 0; };
  if (sort == 1) std::stable_sort(found.begin(), found.end(), by_name);
  if (sort == 2) {
    std::stable_sort(found.begin(), found.end(), [&](const FakeEntry& a, const FakeEntry& b) { return by_name(b, a); });
  }
  ReplyContent content = ContentOf(found);
  content.offset = query.offset;
  content.items.clear();
  for (size_t i = query.offset; i < found.size() && content.items.size() < query.max_results; ++i) {
    content.items.push_back(found[i]);
  }
  return version2 ? BuildListV2(content, query.request_flags, query.sort, utf16) : BuildListV1(content, utf16);
}

LRESULT FakeSearchService::OnRunCount(const COPYDATASTRUCT& record) {
  const ULONG_PTR kind = record.dwData;
  const bool utf16 = kind % 2 == 0;
  const bool is_set = kind == 21 || kind == 22;
  const auto* data = static_cast<const BYTE*>(record.lpData);
  ReceivedRunCount received;
  received.kind = kind;
  received.size = record.cbData;
  const size_t header = is_set ? 4 : 0;
  std::string name;
  if (!data || !TakeTerminatedText(data, header, record.cbData, utf16, &name)) {
    Fault("run-count record is not a terminated name filling the record");
  }
  if (data && is_set && record.cbData >= 4) received.count = Word(data);
  received.name = Decode(name, utf16);
  std::lock_guard<std::mutex> lock(mutex_);
  run_counts_.push_back(received);
  DWORD& count = run_count_table_[received.name];
  if (is_set) {
    if (run_count_answer_ != 0) count = received.count;
    return run_count_answer_;
  }
  if (kind == 23 || kind == 24) ++count;
  return count;
}

void FakeSearchService::Fault(std::string text) {
  std::lock_guard<std::mutex> lock(mutex_);
  faults_.push_back(std::move(text));
}

void FakeSearchService::SetCatalogue(std::vector<FakeEntry> entries) {
  std::lock_guard<std::mutex> lock(mutex_);
  catalogue_ = std::move(entries);
}

void FakeSearchService::SetReplyMode(ReplyMode mode) {
  std::lock_guard<std::mutex> lock(mutex_);
  mode_ = mode;
}

void FakeSearchService::RefuseVersion(int version) {
  std::lock_guard<std::mutex> lock(mutex_);
  (version == 1 ? refuse_v1_ : refuse_v2_) = true;
}

void FakeSearchService::SetRawReply(std::string bytes) {
  std::lock_guard<std::mutex> lock(mutex_);
  has_raw_reply_ = true;
  raw_reply_ = std::move(bytes);
}

void FakeSearchService::SetCommandAnswer(WPARAM command, LRESULT answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  command_answers_[command] = answer;
}

void FakeSearchService::SetRunCountAnswer(LRESULT answer) {
  std::lock_guard<std::mutex> lock(mutex_);
  run_count_answer_ = answer;
}

void FakeSearchService::SetRunCount(const std::wstring& name, DWORD count) {
  std::lock_guard<std::mutex> lock(mutex_);
  run_count_table_[name] = count;
}

std::vector<ReceivedQuery> FakeSearchService::queries() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return queries_;
}

std::vector<ReceivedRunCount> FakeSearchService::run_counts() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return run_counts_;
}

std::vector<WPARAM> FakeSearchService::commands() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return commands_;
}

std::vector<std::string> FakeSearchService::faults() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return faults_;
}

}  // namespace search_test
