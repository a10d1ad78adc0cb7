// Giving freed memory back to the system. The allocator keeps what a large piece of
// work freed (a replace's plan, a target check's list, a save's copy of the data) for
// later use, so that an editor that did one such thing would hold its peak for good.
#pragma once

// Returns the memory the allocator holds free to the system, where it can.
void ReturnFreedMemory();

// Returns the freed memory when it goes: made before a piece of work's objects, it goes
// after them.
class TReturnFreedMemory {
 public:
  TReturnFreedMemory() = default;
  TReturnFreedMemory(const TReturnFreedMemory&) = delete;
  TReturnFreedMemory& operator=(const TReturnFreedMemory&) = delete;
  ~TReturnFreedMemory() { ReturnFreedMemory(); }
};
