// What the text form's writer reads, page after page: a loaded list, or a grid whose
// cells are read one at a time as they are written (a save of a million buttons then
// never holds them all as records at once).
#pragma once

#include <string>
#include <string_view>

#include "DataItems.h"
#include "FileIO.h"
#include "LaunchList.h"

class TTextFormSource {
 public:
  virtual ~TTextFormSource() = default;
  virtual const TDataStatus& Status() = 0;
  virtual int PageCount() = 0;
  // Page p; as many buttons as its Count follow it. Valid until the next call.
  virtual const TPageItem& Page(int p) = 0;
  // Button b of page p (b < Page(p).Count, asked in order), valid until the next call.
  // written: the button's text exactly as the writer would write it, when the source
  // holds it (it is then copied as it stands); else empty.
  virtual const TLaunchDataItem& Button(int p, int b, std::string_view& written) = 0;
};

// The text data file's bytes for what source holds.
std::string TextDataFileBytes(TTextFormSource& source);

// Writes what source holds to fileName as a text data file, as SaveToTextFile writes a
// list.
TFileStamp SaveToTextFile(TTextFormSource& source, const std::string& fileName,
                          const TTextFileWrite& how = {});
