// CP932 texts folded for finding without decoding them one by one: every CP932
// character's FoldForFind(ShownText(...)) is worked out once, in UTF-8, and a text is
// folded by looking its characters up. UTF-8 keeps the matches the same: a valid
// UTF-8 needle can only match a valid UTF-8 text on whole characters.
#pragma once

#include <cstddef>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <string_view>
#include <utility>

// Bytes appended at the end, grown without being cleared first; held in malloc's
// memory, so that growing and fitting a big buffer moves pages rather than bytes.
class TFoldBuffer {
 public:
  TFoldBuffer() = default;
  TFoldBuffer(TFoldBuffer&& other) noexcept
      : data_(std::move(other.data_)),
        size_(std::exchange(other.size_, 0)),
        capacity_(std::exchange(other.capacity_, 0)) {}
  TFoldBuffer& operator=(TFoldBuffer&& other) noexcept {
    data_ = std::move(other.data_);
    size_ = std::exchange(other.size_, 0);
    capacity_ = std::exchange(other.capacity_, 0);
    return *this;
  }

  // Where to write, with room for at least more bytes; End() says where writing stopped.
  char* Room(std::size_t more) {
    if (capacity_ - size_ < more) Grow(more);
    return data_.get() + size_;
  }
  void End(const char* end) { size_ = static_cast<std::size_t>(end - data_.get()); }
  void Push(char c) { *Room(1) = c, ++size_; }
  void Reserve(std::size_t bytes) {
    if (bytes > capacity_) Grow(bytes - size_);
  }
  // Gives back the room beyond the size, when that is much.
  void Fit();
  void Clear() {
    data_.reset();
    size_ = capacity_ = 0;
  }
  const char* Data() const { return data_.get(); }
  std::size_t Size() const { return size_; }
  std::size_t Capacity() const { return capacity_; }

 private:
  void Grow(std::size_t more);
  void Resize(std::size_t capacity);
  struct TFree {
    void operator()(char* p) const { std::free(p); }
  };
  std::unique_ptr<char, TFree> data_;
  std::size_t size_ = 0;
  std::size_t capacity_ = 0;
};

// Appends the UTF-8 form of FoldForFind(ShownText(text)) of each CP932 text to out,
// each followed by separator.
void AppendFolded(std::initializer_list<std::string_view> texts, char separator, TFoldBuffer& out);
