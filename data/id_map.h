// Weak references by row ID, held in one vector sorted by ID. The link store keeps
// tens of thousands of links by ID: a tree map spends a node allocation of about
// 64 bytes on each, this about 24. IDs mostly come in rising order (a load reads
// the table in ID order, a new row gets the highest ID), which appends.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

template <typename T>
class IdMap {
 public:
  using value_type = std::pair<int32_t, std::weak_ptr<T>>;
  using iterator = typename std::vector<value_type>::iterator;
  using const_iterator = typename std::vector<value_type>::const_iterator;

  iterator begin() { return items_.begin(); }
  iterator end() { return items_.end(); }
  const_iterator begin() const { return items_.begin(); }
  const_iterator end() const { return items_.end(); }
  size_t size() const { return items_.size(); }
  bool empty() const { return items_.empty(); }
  void clear() { items_.clear(); }
  // Room for this many entries: a load that knows its row count fills the vector
  // without growing it (each step of growth copies it and touches fresh memory).
  void reserve(size_t count) { items_.reserve(count); }

  iterator find(int32_t id) {
    auto at = LowerBound(id);
    return at != items_.end() && at->first == id ? at : items_.end();
  }
  const_iterator find(int32_t id) const {
    auto at = std::lower_bound(items_.begin(), items_.end(), id, KeyBefore);
    return at != items_.end() && at->first == id ? at : items_.end();
  }
  size_t count(int32_t id) const { return find(id) != end() ? 1 : 0; }

  // The reference under the ID, inserted empty when absent.
  std::weak_ptr<T>& operator[](int32_t id) {
    auto at = LowerBound(id);
    if (at == items_.end() || at->first != id) at = items_.insert(at, value_type(id, std::weak_ptr<T>()));
    return at->second;
  }
  void insert_or_assign(int32_t id, std::weak_ptr<T> value) { (*this)[id] = std::move(value); }
  size_t erase(int32_t id) {
    auto at = find(id);
    if (at == items_.end()) return 0;
    items_.erase(at);
    return 1;
  }

 private:
  static bool KeyBefore(const value_type& item, int32_t id) { return item.first < id; }
  iterator LowerBound(int32_t id) {
    // The common case first: a new highest ID.
    if (items_.empty() || items_.back().first < id) return items_.end();
    return std::lower_bound(items_.begin(), items_.end(), id, KeyBefore);
  }

  std::vector<value_type> items_;
};
