// Lists as a comparison reads them: a loaded list, or a text data file whose buttons
// are kept as their lines and read into records only where a difference needs them
// (a diff or merge of files of a million buttons then reads each line once, not each
// field of each button).
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "FileIO.h"
#include "LaunchList.h"

class TComparedList {
 public:
  virtual ~TComparedList() = default;
  virtual const TDataStatus& Status() const = 0;
  virtual int PageCount() const = 0;
  virtual const TPageItem& Page(int p) const = 0;
  virtual int ButtonCount() const = 0;
  // Button i, valid as long as the list; may be asked for on several threads.
  virtual const TLaunchDataItem& Button(int i) const = 0;
  virtual std::int32_t UseCount(int i) const = 0;
  // A key of everything button i is but its use count: equal for two buttons of lists
  // of one kind that differ at most in their use counts.
  virtual std::uint64_t Key(int i) const = 0;
  // Button i's text as its file holds it, to be written again as it stands; empty
  // when the list does not hold it.
  virtual std::string_view Written(int i) const = 0;
};

class TLoadedList final : public TComparedList {
 public:
  explicit TLoadedList(const TLaunchList& list) : list_(list) {}
  const TDataStatus& Status() const override { return list_.Status; }
  int PageCount() const override { return list_.Pages.Count(); }
  const TPageItem& Page(int p) const override { return list_.Pages.Get(p); }
  int ButtonCount() const override { return list_.Count(); }
  const TLaunchDataItem& Button(int i) const override { return list_.Get(i); }
  std::int32_t UseCount(int i) const override { return list_.Get(i).UseCount; }
  std::uint64_t Key(int i) const override;
  std::string_view Written(int i) const override;

 private:
  const TLaunchList& list_;
};

// A text data file read as LoadFromTextFile reads it, each button kept as its line.
class TTextFileLines final : public TComparedList {
 public:
  // false (nothing kept) when source is no text data file; raises what the load
  // raises for a file it cannot read. bytes: source's bytes, when they are at hand
  // (MapFileBytes); else they are read.
  bool Read(TByteSource& source, THeldBytes bytes = {});

  const TDataStatus& Status() const override { return status_; }
  int PageCount() const override { return pages_.Count(); }
  const TPageItem& Page(int p) const override { return pages_.Get(p); }
  int ButtonCount() const override { return static_cast<int>(lines_.size()); }
  // Raises EConvertError for a line that is no button (as a load would).
  const TLaunchDataItem& Button(int i) const override;
  std::int32_t UseCount(int i) const override;
  std::uint64_t Key(int i) const override { return keys_[i]; }
  std::string_view Written(int i) const override { return lines_[i]; }

  // How many buttons the pages own beyond those the file holds.
  std::int64_t MissingButtons() const;
  // How many buttons the file holds that no page owns.
  std::int64_t UnownedButtons() const;
  // Whether the file ended with the "**" of its last section.
  bool Complete() const { return complete_; }
  const THeldBytes& Bytes() const { return held_; }

 private:
  static constexpr std::int32_t kUnread = -1;
  // Keys and use counts of every line, once they are all read.
  void KeyLines();
  // The buttons the pages own, added up.
  std::int64_t Owned() const;
  TDataStatus status_;
  TPageList pages_;
  THeldBytes held_;
  std::vector<std::string_view> lines_;
  std::deque<std::string> copies_;  // lines the reader had to copy (a CR dropped inside)
  std::vector<std::uint64_t> keys_;
  std::vector<std::int32_t> counts_;  // kUnread: the line must be read for it
  bool complete_ = true;
  mutable std::mutex read_;
  mutable std::unordered_map<int, std::unique_ptr<TLaunchDataItem>> buttons_;
};
