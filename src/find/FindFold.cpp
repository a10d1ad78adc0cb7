#include "FindFold.h"

#include <QByteArray>
#include <QString>
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <new>
#include <string>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "FindReplace.h"
#include "ShiftJis.h"
#include "TextFormat.h"

namespace {

// Every CP932 character folded on its own, from the very functions a text was folded
// with before, so that bytes CP932 lacks come out as ShownText shows them.
class TFoldTable {
 public:
  TFoldTable() : double_(0x8000) {
    for (int b = 0; b < 0x100; ++b)
      single_[b] = Add(std::string(1, static_cast<char>(b)));
    for (int lead = 0x80; lead < 0x100; ++lead)
      for (int trail = 0; trail < 0x100; ++trail)
        if (sjis::IsLeadByte(static_cast<unsigned char>(lead)) &&
            sjis::IsTrailByte(static_cast<unsigned char>(trail)))
          double_[DoubleIndex(static_cast<unsigned char>(lead),
                              static_cast<unsigned char>(trail))] =
              Add({static_cast<char>(lead), static_cast<char>(trail)});
    bytes_.append(kCopy, '\0');  // a character's bytes are copied kCopy at a time
  }

  // The character at p[i] (of n bytes), its length and what it folds to.
  std::uint32_t At(const unsigned char* p, std::size_t i, std::size_t n,
                   std::size_t& length) const {
    if (sjis::IsLeadByte(p[i]) && i + 1 < n && sjis::IsTrailByte(p[i + 1])) {
      length = 2;
      return double_[DoubleIndex(p[i], p[i + 1])];
    }
    length = 1;
    return single_[p[i]];
  }
  static bool Joins(std::uint32_t entry) { return (entry & kJoins) != 0; }
  static std::size_t Size(std::uint32_t entry) { return entry & kSizeMask; }
  const char* Bytes(std::uint32_t entry) const { return bytes_.data() + (entry >> 8); }
  // The most folded bytes one byte of a text can give.
  std::size_t MostPerByte() const { return mostPerByte_; }

  static constexpr std::size_t kCopy = 16;

 private:
  static constexpr std::uint32_t kJoins = 0x80;
  static constexpr std::uint32_t kSizeMask = 0x7F;
  static std::size_t DoubleIndex(unsigned char lead, unsigned char trail) {
    return static_cast<std::size_t>(lead & 0x7F) << 8 | trail;
  }

  std::uint32_t Add(const std::string& cp932) {
    const QString shown = ShownText(cp932);
    const QByteArray folded = FoldForFind(shown).toUtf8();
    // A character whose decomposition starts with a combining mark (the half-width
    // voiced sound marks) changes what comes before it: it is folded with that.
    const QList<uint> first = shown.normalized(QString::NormalizationForm_KD).left(2).toUcs4();
    const bool joins = first.isEmpty() || QChar::combiningClass(first.front()) != 0 ||
                       folded.size() > static_cast<qsizetype>(kSizeMask);
    const auto at = static_cast<std::uint32_t>(bytes_.size());
    bytes_.append(folded.constData(), static_cast<std::size_t>(folded.size()));
    mostPerByte_ = std::max(
        mostPerByte_, (static_cast<std::size_t>(folded.size()) + cp932.size() - 1) / cp932.size());
    return at << 8 | (joins ? kJoins : 0) | static_cast<std::uint32_t>(joins ? 0 : folded.size());
  }

  std::uint32_t single_[0x100];
  std::vector<std::uint32_t> double_;
  std::string bytes_;
  std::size_t mostPerByte_ = 1;
};

const TFoldTable& Table() {
  static const TFoldTable table;
  return table;
}

// Characters folded together, the slow way: what happens across them is rare.
char* AppendTogether(std::string_view cp932, TFoldBuffer& out, char* at) {
  out.End(at);
  const QByteArray folded = FoldForFind(ShownText(std::string(cp932))).toUtf8();
  char* room = out.Room(static_cast<std::size_t>(folded.size()));
  std::memcpy(room, folded.constData(), static_cast<std::size_t>(folded.size()));
  return room + folded.size();
}

constexpr char Lower(unsigned char c) {
  return static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
}

}  // namespace

void TFoldBuffer::Grow(std::size_t more) {
  Resize(std::max(size_ + more, capacity_ * 2));
}

void TFoldBuffer::Fit() {
  if (capacity_ - size_ > size_ / 64) Resize(size_);
}

void TFoldBuffer::Resize(std::size_t capacity) {
  if (capacity == 0) {
    Clear();
    return;
  }
  char* data = static_cast<char*>(std::realloc(data_.get(), capacity));
  if (!data) throw std::bad_alloc();
  data_.release();
  data_.reset(data);
  capacity_ = capacity;
  // No large pages here: the copy is made at the first keystroke, and the compaction
  // they may wait for made that keystroke slower and far less even than the small
  // pages' faults do (1,000,000 buttons: 126-381 ms against 136-220 ms).
}

namespace {

// Folds cp932 to out, which has room for it and for after bytes more; returns where it
// ended. The slow way may move the buffer, and leaves that room too.
char* FoldText(const TFoldTable& table, std::string_view cp932, char* out, TFoldBuffer& buffer,
               std::size_t after) {
  const auto* p = reinterpret_cast<const unsigned char*>(cp932.data());
  const std::size_t n = cp932.size();
  // The last character folded on its own, where the slow way starts when a joining one follows.
  std::size_t last = std::string_view::npos;
  char* lastOut = out;
  for (std::size_t i = 0; i < n;) {
#if defined(__SSE2__)
    // Sixteen ASCII bytes at once: only A-Z change, to a-z.
    if (n - i >= 16) {
      const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p + i));
      if (_mm_movemask_epi8(block) == 0) {
        const __m128i upper = _mm_and_si128(_mm_cmpgt_epi8(block, _mm_set1_epi8('A' - 1)),
                                            _mm_cmplt_epi8(block, _mm_set1_epi8('Z' + 1)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out),
                         _mm_add_epi8(block, _mm_and_si128(upper, _mm_set1_epi8(0x20))));
        i += 16;
        out += 16;
        last = i - 1;
        lastOut = out - 1;
        continue;
      }
    }
#endif
    if (p[i] < 0x80) {
      last = i;
      lastOut = out;
      *out++ = Lower(p[i++]);
      continue;
    }
    std::size_t length = 0;
    const std::uint32_t entry = table.At(p, i, n, length);
    if (!TFoldTable::Joins(entry)) {
      last = i;
      lastOut = out;
      const std::size_t size = TFoldTable::Size(entry);
      if (size <= TFoldTable::kCopy) {
        std::memcpy(out, table.Bytes(entry), TFoldTable::kCopy);  // one fixed-size move
      } else {
        std::memcpy(out, table.Bytes(entry), size);
      }
      out += size;
      i += length;
      continue;
    }
    const std::size_t from = last == std::string_view::npos ? i : last;
    char* fromOut = last == std::string_view::npos ? out : lastOut;
    std::size_t to = i + length;
    while (to < n && TFoldTable::Joins(table.At(p, to, n, length)))
      to += length;
    out = AppendTogether(cp932.substr(from, to - from), buffer, fromOut);
    buffer.End(out);
    out = buffer.Room((n - to) * table.MostPerByte() + TFoldTable::kCopy + after);
    last = std::string_view::npos;
    i = to;
  }
  return out;
}

}  // namespace

void AppendFolded(std::initializer_list<std::string_view> texts, char separator,
                  TFoldBuffer& buffer) {
  const TFoldTable& table = Table();
  std::size_t bytes = 0;
  for (std::string_view text : texts)
    bytes += text.size();
  // Room for every text at its most, their separators, and one fixed-size move too many.
  std::size_t after = bytes * table.MostPerByte() + texts.size() + TFoldTable::kCopy;
  char* out = buffer.Room(after);
  for (std::string_view text : texts) {
    after -= text.size() * table.MostPerByte() + 1;
    out = FoldText(table, text, out, buffer, after);
    *out++ = separator;
  }
  buffer.End(out);
}
