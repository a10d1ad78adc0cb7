// The text of one field of a button, and of one cell of the main window's grid: a
// CP932 byte string in 12 bytes. A list of a million buttons holds seven million of
// these, so it either owns its bytes (allocated to size, no spare capacity) or
// borrows them from bytes its holder keeps alive for it: the loaded file's own bytes,
// which most fields are an exact part of. A copy always owns; a move takes over what
// it had, so only the holder that made a borrowing text may move it around.
#pragma once

#include <compare>
#include <cstdint>
#include <cstring>
#include <ostream>
#include <string>
#include <string_view>

class TFieldText {
 public:
  TFieldText() = default;
  explicit TFieldText(std::string_view text) { Own(text); }
  TFieldText(const TFieldText& other) { Own(other.view()); }
  TFieldText(TFieldText&& other) noexcept : size_(other.size_) {
    std::memcpy(pointer_, other.pointer_, sizeof pointer_);
    other.size_ = 0;
  }
  ~TFieldText() { Free(); }

  TFieldText& operator=(const TFieldText& other) { return *this = other.view(); }
  TFieldText& operator=(TFieldText&& other) noexcept {
    if (this != &other) {
      Free();
      std::memcpy(pointer_, other.pointer_, sizeof pointer_);
      size_ = other.size_;
      other.size_ = 0;
    }
    return *this;
  }
  TFieldText& operator=(std::string_view text);
  TFieldText& operator=(const std::string& text) { return *this = std::string_view(text); }
  TFieldText& operator=(const char* text) { return *this = std::string_view(text); }

  // A text that borrows bytes: they must stay unchanged for as long as the text, and
  // every text moved from it, lives.
  static TFieldText Borrowing(std::string_view bytes) {
    TFieldText text;
    text.size_ = CheckedSize(bytes.size());
    if (text.size_ != 0) text.SetPointer(bytes.data());
    return text;
  }

  // A copy that borrows what text borrows (from the same bytes, which must then outlive
  // it too) and owns what text owns.
  static TFieldText Sharing(const TFieldText& text) {
    return text.Borrowed() ? Borrowing(text.view()) : TFieldText(text.view());
  }

  std::size_t size() const { return size_ & kSizeMask; }
  bool empty() const { return size() == 0; }
  const char* data() const { return size() == 0 ? "" : Pointer(); }
  std::string_view view() const { return {data(), size()}; }
  operator std::string_view() const { return view(); }          // NOLINT: a drop-in for std::string
  operator std::string() const { return std::string(view()); }  // NOLINT
  std::string str() const { return std::string(view()); }
  const char* begin() const { return data(); }
  const char* end() const { return data() + size(); }
  char operator[](std::size_t i) const { return data()[i]; }
  char front() const { return data()[0]; }
  char back() const { return data()[size() - 1]; }
  void clear() {
    Free();
    size_ = 0;
  }
  // Whether the bytes are borrowed rather than owned.
  bool Borrowed() const { return size() != 0 && (size_ & kOwned) == 0; }

  friend bool operator==(const TFieldText& a, const TFieldText& b) { return a.view() == b.view(); }
  friend bool operator==(const TFieldText& a, std::string_view b) { return a.view() == b; }
  friend std::strong_ordering operator<=>(const TFieldText& a, const TFieldText& b) {
    return a.view() <=> b.view();
  }
  friend std::strong_ordering operator<=>(const TFieldText& a, std::string_view b) {
    return a.view() <=> b;
  }
  friend std::ostream& operator<<(std::ostream& out, const TFieldText& text) {
    return out << text.view();
  }
  friend std::string operator+(std::string a, const TFieldText& b) { return a.append(b.view()); }
  friend std::string operator+(const TFieldText& a, std::string_view b) {
    std::string out;
    out.reserve(a.size() + b.size());
    return out.append(a.view()).append(b);
  }

 private:
  static constexpr std::uint32_t kOwned = 0x80000000u;
  static constexpr std::uint32_t kSizeMask = 0x7FFFFFFFu;
  const char* Pointer() const {
    const char* p;
    std::memcpy(&p, pointer_, sizeof p);
    return p;
  }
  void SetPointer(const char* p) { std::memcpy(pointer_, &p, sizeof p); }
  void Free() {
    if ((size_ & kOwned) != 0 && size() != 0) delete[] Pointer();
  }
  void Own(std::string_view text);
  static std::uint32_t CheckedSize(std::size_t size) {
    if (size > kSizeMask) TooLong();
    return static_cast<std::uint32_t>(size);
  }
  [[noreturn]] static void TooLong();

  // The pointer is kept as bytes so that the text needs only 4-byte alignment and
  // stays 12 bytes in a record.
  unsigned char pointer_[sizeof(const char*)] = {};
  std::uint32_t size_ = 0;  // kOwned | length
};

static_assert(sizeof(TFieldText) == 12);
