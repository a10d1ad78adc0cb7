// The records pellodata's file commands go through: a data file's status, its pages in
// order, each with the buttons it owns, and the buttons no page owns. From a loaded
// list, or from a text data file read as it is gone through, a block of lines at a
// time, so that a command's memory does not grow with the file.
#pragma once

#include <cstdint>
#include <functional>
#include <string_view>

#include "LaunchList.h"
#include "TextFileStream.h"

class TDataRecords {
 public:
  // The records of list, which must outlive them.
  explicit TDataRecords(const TLaunchList& list);
  // The records of the text data file source, which outline was read from; source
  // must outlive them.
  TDataRecords(const TByteSource& source, const TTextFileOutline& outline);

  const TDataStatus& Status() const;
  int PageCount() const;
  std::int64_t OwnedButtons() const;  // the pages' counts added up
  std::int64_t ButtonCount() const;   // the buttons the file holds

  // What a walk meets, in file order. A record is valid for the call alone.
  class TVisitor {
   public:
    virtual ~TVisitor() = default;
    virtual void Page(int p, const TPageItem& page) = 0;
    // Button b of page p.
    virtual void Button(int p, std::int32_t b, const TLaunchDataItem& item) = 0;
    // Buttons from to to - 1 of page p, and those of the pages after it: the file
    // ends before them.
    virtual void Missing(int /*p*/, std::int32_t /*from*/, std::int32_t /*to*/) {}
    // A button no page owns, index its place in the file from 0.
    virtual void Unowned(std::int64_t index, const TLaunchDataItem& item) = 0;
  };
  // Goes through the pages in order, each followed by the buttons it owns, then the
  // buttons after the last page's. (A count below 0, which only a list built by hand
  // can hold, owns nothing.)
  void Walk(TVisitor& visitor) const;

 private:
  const TLaunchList* list_ = nullptr;
  const TByteSource* source_ = nullptr;
  const TTextFileOutline* outline_ = nullptr;
};

// `pellodata dump`: the status, each page with each of its buttons, and the buttons no
// page owns, one UTF-8 line each (a run of missing buttons takes one line), handed to
// put a line at a time.
void DumpRecords(const TDataRecords& records, const std::function<void(std::string_view)>& put);
