// The comma-separated form shared by all record texts: the split that reads a
// line into fields, the extra dequoting of string fields, and the quoting writer.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <string_view>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// The same two at out, which must have room for twice the value's size and two
// quotes; each returns where its text ends.
char* WriteQuoted(char* out, std::string_view value);
char* WriteLineText(char* out, std::string_view value);

// The first quote, CR, LF or Ctrl+Z from p on, or end: sixteen bytes a step where
// the machine has SSE2, eight elsewhere. (Ctrl+Z ends the file, so no field read
// straight from the bytes may hold one.)
[[gnu::always_inline]] inline const char* FindQuoteOrBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i quote = _mm_set1_epi8('"');
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  const __m128i ctrlZ = _mm_set1_epi8('\x1a');
  for (; end - p >= 16; p += 16) {
    const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const __m128i hits =
        _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, quote), _mm_cmpeq_epi8(block, cr)),
                     _mm_or_si128(_mm_cmpeq_epi8(block, lf), _mm_cmpeq_epi8(block, ctrlZ)));
    if (const int mask = _mm_movemask_epi8(hits)) return p + __builtin_ctz(mask);
  }
#endif
  // A byte of word equal to b makes (word ^ b...) hold a zero byte, and the lowest
  // zero byte this test flags is always a true one.
  constexpr std::uint64_t kOnes = 0x0101010101010101ULL;
  constexpr std::uint64_t kHigh = 0x8080808080808080ULL;
  auto zeros = [](std::uint64_t v) { return (v - kOnes) & ~v & kHigh; };
  for (; end - p >= 8; p += 8) {
    std::uint64_t word;
    std::memcpy(&word, p, 8);
    const std::uint64_t hits = zeros(word ^ (kOnes * '"')) | zeros(word ^ (kOnes * '\r')) |
                               zeros(word ^ (kOnes * '\n')) | zeros(word ^ (kOnes * '\x1a'));
    if (hits != 0) return p + __builtin_ctzll(hits) / 8;
  }
  while (p < end && *p != '"' && *p != '\r' && *p != '\n' && *p != '\x1a')
    ++p;
  return p;
}
