// Finding links by words, and listing a tag's links in its display order.
#include <algorithm>

#include "data/link_store.h"
#include "ui/base/string_util.h"

namespace {

wchar_t FoldAscii(wchar_t ch) { return (ch >= L'A' && ch <= L'Z') ? ch + (L'a' - L'A') : ch; }

// True when `word` (already lowered) occurs in `text` with A-Z in `text` lowered.
bool ContainsFolded(std::wstring_view text, const std::wstring& word) {
  if (word.size() > text.size()) return false;
  const size_t last = text.size() - word.size();
  for (size_t start = 0; start <= last; ++start) {
    size_t i = 0;
    while (i < word.size() && FoldAscii(text[start + i]) == word[i]) ++i;
    if (i == word.size()) return true;
  }
  return false;
}

bool LinkMatches(const Link& link, const std::vector<std::wstring>& words) {
  for (const std::wstring& word : words) {
    if (!ContainsFolded(link.nameInitials, word) && !ContainsFolded(link.remarkInitials, word) &&
        !ContainsFolded(link.NAME, word) && !ContainsFolded(link.Remark, word)) {
      return false;
    }
  }
  return true;
}

}  // namespace

void LinkStore::Search(const std::wstring& text, std::vector<std::weak_ptr<Link>>& out,
                       int limit) const {
  out.clear();
  std::vector<std::wstring> words = SplitString(text, L" ");
  if (words.empty()) return;
  for (std::wstring& word : words) word = ToLowerAscii(word);

  // Every match is collected before the cut, so that the most-run matches survive a
  // limit wherever they sit in the tree; ties keep tree order.
  std::vector<std::shared_ptr<Link>> matches;
  for (const auto& group : topGroups) {
    for (const auto& tag : group->tags) {
      for (const auto& link : tag->links) {
        if (LinkMatches(*link, words)) matches.push_back(link);
      }
    }
  }
  std::stable_sort(matches.begin(), matches.end(),
                   [](const auto& a, const auto& b) { return a->RunCount > b->RunCount; });
  if (limit > 0 && static_cast<int>(matches.size()) > limit) matches.resize(limit);
  out.assign(matches.begin(), matches.end());
}

bool LinkStore::GetTagLinks(const std::shared_ptr<Group>& tag,
                            std::vector<std::weak_ptr<Link>>& out) const {
  out.clear();
  if (!tag) return true;

  std::vector<std::shared_ptr<Link>> candidates;
  if (tag->TYPE == kGroupAllLinks) {
    if (auto group = FindGroup(tag->ParentGroup)) {
      for (const auto& sibling : group->tags) {
        candidates.insert(candidates.end(), sibling->links.begin(), sibling->links.end());
      }
    }
  } else {
    candidates = tag->links;
  }

  switch (tag->SORT) {
    case kSortByPosition:
      break;
    case kSortByRunCount:
      // Links of different tags (in the all-links tag) may share a position; those
      // full ties keep tag order.
      std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a->RunCount != b->RunCount ? a->RunCount > b->RunCount : a->POS < b->POS;
      });
      break;
    case kSortByInitials:
      std::stable_sort(candidates.begin(), candidates.end(), [](const auto& a, const auto& b) {
        return a->nameInitials < b->nameInitials;
      });
      break;
    default:
      return true;
  }
  out.assign(candidates.begin(), candidates.end());
  return true;
}
