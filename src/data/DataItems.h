// The three launch data records: one button, one page, and the status of a data
// file. Strings are CP932 byte strings.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "FieldText.h"

class TValueWriter;
class TValueReader;

// What a button launches; stored as one byte, so other values are carried through.
enum TLinkKind : std::uint8_t {
  lkNone = 0,
  lkProgram = 1,
  lkDocument = 2,
  lkFolder = 3,
  lkSpecialFolder = 4,
  lkControlPanel = 5,
  lkShortcut = 6,
  lkInternetShortcut = 7,
};

// Window state at start: the show commands a button may carry.
inline constexpr std::int32_t kShowNormal = 1;
inline constexpr std::int32_t kShowMaximized = 3;
inline constexpr std::int32_t kShowMinimized = 7;

// Base of the records: writes and reads its fields in binary order.
class TBaseDataItem {
 public:
  virtual ~TBaseDataItem() = default;
  virtual void WriteData(TValueWriter& writer) const = 0;
  virtual void ReadData(TValueReader& reader) = 0;

 protected:
  TBaseDataItem() = default;
  TBaseDataItem(const TBaseDataItem&) = default;
  TBaseDataItem& operator=(const TBaseDataItem&) = default;
};

// One button. A default-made button is the unregistered button "未登録". Its texts
// may borrow the bytes of the file its list was loaded from; a copy owns them all,
// and a button has no move, so that a borrowed text never leaves its list.
class TLaunchDataItem : public TBaseDataItem {
 public:
  TLaunchDataItem();
  TLaunchDataItem(const TLaunchDataItem&) = default;
  TLaunchDataItem& operator=(const TLaunchDataItem&) = default;

  void WriteData(TValueWriter& writer) const override;
  void ReadData(TValueReader& reader) override;
  bool operator==(const TLaunchDataItem& other) const;

  std::uint8_t Kind = lkNone;
  std::int32_t UseCount = 0;
  TFieldText Title;
  TFieldText Link;
  TFieldText AltLink;
  TFieldText Params;
  TFieldText WorkDir;
  TFieldText IconFile;
  std::int32_t ShowCmd = kShowNormal;
  std::int32_t IconIndex = 0;
  TFieldText Comment;
};

// One page (one tab): its name and how many of the following buttons it owns.
class TPageItem : public TBaseDataItem {
 public:
  TPageItem() = default;
  TPageItem(std::string caption, std::int32_t count, std::int32_t extra)
      : Caption(std::move(caption)), Count(count), Extra(extra) {}
  TPageItem(const TPageItem&) = default;
  TPageItem& operator=(const TPageItem&) = default;

  void WriteData(TValueWriter& writer) const override;
  void ReadData(TValueReader& reader) override;
  bool operator==(const TPageItem& other) const;
  // Sets Count from a count as a file gives it. A negative count is read as 0: the
  // next page would start inside this one, and both would own the same buttons.
  void SetCountFromFile(std::int32_t count);
  // The count the file gave, for the consistency check, as long as Count is still
  // what it was read as.
  std::int32_t CountInFile() const { return Count == 0 ? negativeInFile_ : Count; }

  std::string Caption;
  std::int32_t Count = 0;
  std::int32_t Extra = 0;

 private:
  std::int32_t negativeInFile_ = 0;
};

// Status of a data file: its application, version, maker text and limits.
// A default-made status is that of a new launch list.
class TDataStatus : public TBaseDataItem {
 public:
  TDataStatus();
  TDataStatus(const TDataStatus&) = default;
  TDataStatus& operator=(const TDataStatus&) = default;

  void WriteData(TValueWriter& writer) const override;
  void ReadData(TValueReader& reader) override;
  bool operator==(const TDataStatus& other) const;
  // Replaces all six fields by those read from the start of stream (the status
  // section). On an error the status is left as it was.
  void LoadFromStream(std::string_view stream);

  std::string AppName;
  std::string Version;
  std::string Notice;
  std::int32_t MaxPages = 0;    // 0 = unlimited
  std::int32_t MaxButtons = 0;  // per page; 0 = unlimited
  std::int32_t MinButtons = 1;  // per page
};

// A new, unregistered button: kind 0, title "未登録", ShowCmd 1, all else empty or 0.
std::unique_ptr<TLaunchDataItem> NewLaunchItem();
