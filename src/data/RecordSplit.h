// The comma-separated form shared by all record texts: the split that reads a
// line into fields, the extra dequoting of string fields, and the quoting writer.
#pragma once

#include <cstddef>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

// Fields of one record text. A field is a view into the line it was split from,
// or, when it held doubled quotes, into storage of its own; either is valid until
// the next split. Kept between lines, it reuses its storage.
class TRecordFields {
 public:
  std::size_t Count() const { return count_; }
  std::string_view operator[](std::size_t i) const {
    const TField& f = fields_[i];
    return f.owned < 0 ? f.view : std::string_view(owned_[static_cast<std::size_t>(f.owned)]);
  }
  void Clear() { count_ = ownedCount_ = 0; }
  // Appends a field that is a view into the line.
  void AddView(std::string_view view) {
    TField& f = Next();
    f.view = view;
    f.owned = -1;
  }
  // Appends an empty field of its own storage and returns that storage.
  std::string& AddOwned();

 private:
  struct TField {
    std::string_view view;
    int owned = -1;  // index into owned_, or -1 for a view
  };
  TField& Next() {
    if (count_ == fields_.size()) Grow();
    return fields_[count_++];
  }
  void Grow();
  std::vector<TField> fields_;
  std::vector<std::string> owned_;
  std::size_t count_ = 0;
  std::size_t ownedCount_ = 0;
};

// Splits one line into fields. A field in double quotes runs to its closing quote
// ("" stands for one quote; an unclosed field takes the rest of the line); any
// other field runs to the first comma or control/blank byte. Blanks around the
// commas are skipped, a comma that ends the line adds one empty field, and a
// field that follows another without a comma starts a new field. Stops after
// maxFields fields.
void SplitRecord(std::string_view line, TRecordFields& fields,
                 std::size_t maxFields = std::numeric_limits<std::size_t>::max());

// The once-more dequoting of a string field: a field that is itself one quoted
// string with something inside becomes that inside text; any other is unchanged.
void DequoteQuotedField(std::string& field);
inline void DequoteField(std::string& field) {
  if (field.size() >= 2 && field.front() == '"') DequoteQuotedField(field);
}

// Appends value as a quoted field: in double quotes, each quote doubled. A line
// break inside the value becomes the two characters \n and a Ctrl+Z a blank, so
// that the record text stays one line of a text file.
void AppendQuoted(std::string& out, std::string_view value);

// Appends value as it stands, but with line breaks and Ctrl+Z replaced as above.
void AppendLineText(std::string& out, std::string_view value);
