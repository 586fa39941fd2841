// The short texts the main window shows in its notice line, shared by the
// files that carry out its commands.
#pragma once

// The link store refused a change: the window goes on showing what is stored.
inline constexpr wchar_t kSaveFailedNotice[] = L"保存失败，请检查数据库文件";
// A special tag takes no new links.
inline constexpr wchar_t kCannotAddNotice[] = L"特殊标签不能添加链接";
