// The launch list: a status, a list of pages and one flat list of every button in
// page order; page p owns the Count buttons that follow those of pages 0 to p-1.
// A count below 0, read from a file or given to AddPage, is taken as 0.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "DataItems.h"
#include "FileIO.h"
#include "ObjectList.h"

class TByteSource;

// An owning list of buttons.
class TBaseLaunchList : public TObjectList<TLaunchDataItem> {
 public:
  TBaseLaunchList() = default;
  virtual ~TBaseLaunchList() = default;
  TBaseLaunchList(const TBaseLaunchList&) = delete;
  TBaseLaunchList& operator=(const TBaseLaunchList&) = delete;
  TBaseLaunchList(TBaseLaunchList&&) = default;
  TBaseLaunchList& operator=(TBaseLaunchList&&) = default;

  // Raises ELaunchError with msg, or "エラー" when msg is empty.
  [[noreturn]] virtual void Error(std::string_view msg) const;
  // Replaces every button by a copy of source's buttons, made through the value
  // encoding. Pages and status are not copied.
  virtual void Assign(const TBaseLaunchList& source);

  // The button section: the count, then every button's fields.
  void SaveToStream(std::string& stream) const;
  // Replaces every button by those read from the start of stream. On an error the
  // buttons read so far stay and the error passes on.
  void LoadFromStream(std::string_view stream);

  // The loaded file's bytes the buttons' texts may borrow: whoever keeps one of those
  // texts (or a view of these bytes) beyond the list keeps these too.
  const THeldBytes& HeldBytes() const { return held_; }

 protected:
  // Replaces every button by items, whose texts may borrow from bytes.
  void TakeItems(TObjectList<TLaunchDataItem>&& items, THeldBytes bytes);

 private:
  THeldBytes held_;
};

// An owning list of pages.
class TPageList : public TObjectList<TPageItem> {
 public:
  // Replaces every page by those read from the start of stream (the page section).
  void LoadFromStream(std::string_view stream);
};

// One complete set of launch data.
class TLaunchList : public TBaseLaunchList {
 public:
  // A status of defaults, one page "新規ページ" with one unregistered button, and
  // FileName the program's own path with the extension ".lst".
  TLaunchList();

  TDataStatus Status;
  TPageList Pages;
  std::string FileName;
  bool Loaded = false;
  // Whether the file read last ended as a whole file does: a text file with the "**"
  // of its last section (one cut short, or still being written, has none).
  bool Complete = true;

  // How many buttons the pages own beyond those the list holds (a damaged file).
  std::int64_t MissingButtons() const;

  void SetFileName(const std::string& name) { FileName = name; }

  // Appends a page and count new buttons (none when count < 1) at the end; returns
  // the number of pages.
  int AddPage(std::string_view caption, std::int32_t count, std::int32_t extra);
  // Deletes page p and its buttons; "ページ数が超過しています" for a bad p.
  void DeletePage(int p);
  // Sets page p's Count to n, or 1 when n < 1; adds or removes no button.
  void SetPageCount(int p, std::int32_t n);
  // The flat index of button b of page p.
  int ItemIndex(int p, int b) const;
  TLaunchDataItem& Items(int p, int b) { return Get(ItemIndex(p, b)); }
  const TLaunchDataItem& Items(int p, int b) const { return Get(ItemIndex(p, b)); }
  // Appends item at the end of page p; returns the new number of buttons.
  int AddButton(int p, std::unique_ptr<TLaunchDataItem> item);
  // Deletes button b of page p. Deleting a page's only button leaves it with
  // Count 0, so that the pages still account for every button.
  void DeleteButton(int p, int b);

  // Reads FileName in whichever form it has (text first, then binary); sets Loaded.
  void LoadFromFile();
  // LoadFromFile over bytes already in memory (no file needed).
  void LoadFromBytes(std::string_view bytes);
  // Reads a text data file; false (list unchanged) when it is not one.
  bool LoadFromTextFile(const std::string& fileName);

 private:
  bool LoadFromTextSource(TByteSource& source);
  void LoadFromSource(TByteSource& source);
};

// How SaveToTextFile writes: lines put before the file's own (each must start with
// ';', a comment every reader skips), whether the file is written into itself
// (WriteFileInPlace) instead of being replaced, or replaced by a file of the user's
// alone that is never written through a link (WritePrivateFile), and what is asked
// right before the file is replaced or written into (false: it is left as it is, and
// the stamp returned has exists false).
struct TTextFileWrite {
  std::vector<std::string> leadingComments;
  bool inPlace = false;
  bool privateFile = false;
  std::function<bool()> beforeReplace;
  // See WriteFileReplacing: the file replaced is looked at and may be put back.
  std::function<bool(const std::string& replaced)> replaced;
};

// Writes list to fileName as a text data file. The file is replaced only when all
// was written; on any failure the old file stays as it was (but see inPlace).
// Returns the stamp of the file written.
TFileStamp SaveToTextFile(const TLaunchList& list, const std::string& fileName,
                          const TTextFileWrite& how = {});

// The text data file's bytes for list (what SaveToTextFile writes).
std::string TextDataFileBytes(const TLaunchList& list);
