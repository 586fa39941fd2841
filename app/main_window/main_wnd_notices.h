// The short texts the main window shows in its notice line, shared by the
// files that carry out its commands.
#pragma once

// The link store refused a change: the window goes on showing what is stored.
inline constexpr wchar_t kSaveFailedNotice[] = L"保存失败，请检查数据库文件";
// A special tag takes no new links.
inline constexpr wchar_t kCannotAddNotice[] = L"特殊标签不能添加链接";
// At exit, while the store still refuses a changed note: retry, or end without it.
inline constexpr wchar_t kNoteNotSavedCaption[] = L"Pexo - 警告";
inline constexpr wchar_t kNoteNotSavedText[] =
    L"便签的改动未能保存，请检查数据库文件。\n\n"
    L"点“重试”再次保存；点“取消”退出，这些改动将会丢失。";
