// Keys of buttons, to find a button again among a million: a 64-bit hash fast enough
// to run over every button at each load and save.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "DataItems.h"

// Sixteen bytes at a time folded in by one wide multiply.
class THash {
 public:
  void Add(std::uint64_t value) { h_ = Fold(h_ ^ value, kOdd); }
  void Add(std::string_view bytes) {
    Add(static_cast<std::uint64_t>(bytes.size()));  // "ab","c" is not "a","bc"
    const char* p = bytes.data();
    std::size_t n = bytes.size();
    for (; n >= 16; p += 16, n -= 16)
      h_ = Fold(Word(p, 8) ^ h_, Word(p + 8, 8) ^ kOdd);
    if (n > 8)
      h_ = Fold(Word(p, 8) ^ h_, Word(p + 8, n - 8) ^ kOdd);
    else if (n > 0)
      h_ = Fold(Word(p, n) ^ h_, kOdd);
  }
  std::uint64_t Value() const { return Fold(h_, kOdd ^ 0x2d358dccaa6c78a5ULL); }

 private:
  __extension__ typedef unsigned __int128 TWide;  // GCC's and Clang's, not the standard's
  static constexpr std::uint64_t kOdd = 0x9e3779b97f4a7c15ULL;
  static std::uint64_t Word(const char* p, std::size_t n) {
    std::uint64_t word = 0;
    std::memcpy(&word, p, n);
    return word;
  }
  // Both halves of the 128-bit product, folded into one.
  static std::uint64_t Fold(std::uint64_t a, std::uint64_t b) {
    const TWide product = static_cast<TWide>(a) * b;
    return static_cast<std::uint64_t>(product) ^ static_cast<std::uint64_t>(product >> 64);
  }
  std::uint64_t h_ = 0x243f6a8885a308d3ULL;
};

// The key of a button: the same for two buttons that differ at most in their use count.
std::uint64_t ButtonKey(const TLaunchDataItem& item);
