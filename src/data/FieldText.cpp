#include "FieldText.h"

#include <stdexcept>

void TFieldText::TooLong() {
  throw std::length_error("text longer than 2 GB");
}

void TFieldText::Own(std::string_view text) {
  const std::uint32_t size = CheckedSize(text.size());
  if (size == 0) {
    size_ = 0;
    return;
  }
  char* bytes = new char[size];
  std::memcpy(bytes, text.data(), size);
  SetPointer(bytes);
  size_ = kOwned | size;
}

TFieldText& TFieldText::operator=(std::string_view text) {
  // The new bytes may lie inside the old ones: copy before freeing.
  TFieldText copy(text);
  return *this = std::move(copy);
}
