#pragma once
// One enumerator for IEnumConnections and IEnumConnectionPoints: it walks a
// copy of the items taken when it was made.

#include <windows.h>
#include <ocidl.h>

#include <algorithm>
#include <vector>

#include "common/com_object.h"

namespace traylume {

// `Stored` keeps its own references; `copy` hands one item to the caller
// with a new reference.
template <typename Enum, typename Item, typename Stored>
class SnapshotEnumerator final : public common::ComObject<Enum> {
 public:
  using Copy = void (*)(const Stored& from, Item* to);

  SnapshotEnumerator(std::vector<Stored> items, Copy copy, size_t position = 0)
      : items_(std::move(items)), copy_(copy), position_(position) {}

  STDMETHODIMP Next(ULONG count, Item* items, ULONG* fetched) override {
    if (fetched) *fetched = 0;
    if (!items) return E_POINTER;
    if (count != 1 && !fetched) return E_INVALIDARG;
    ULONG done = 0;
    while (done < count && position_ < items_.size()) copy_(items_[position_++], &items[done++]);
    if (fetched) *fetched = done;
    return done == count ? S_OK : S_FALSE;
  }

  STDMETHODIMP Skip(ULONG count) override {
    const size_t skipped = std::min<size_t>(count, items_.size() - position_);
    position_ += skipped;
    return skipped == count ? S_OK : S_FALSE;
  }

  STDMETHODIMP Reset() override {
    position_ = 0;
    return S_OK;
  }

  STDMETHODIMP Clone(Enum** clone) override {
    return common::MakeAndQuery<SnapshotEnumerator>(__uuidof(Enum), reinterpret_cast<void**>(clone), items_, copy_,
                                                    position_);
  }

 private:
  std::vector<Stored> items_;
  Copy copy_;
  size_t position_;
};

}  // namespace traylume
