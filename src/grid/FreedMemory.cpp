#include "FreedMemory.h"

#include <cstdlib>  // names the C library, so that the test below sees which it is

#if defined(__GLIBC__)
#include <malloc.h>
#endif

void ReturnFreedMemory() {
#if defined(__GLIBC__)
  malloc_trim(0);
#endif
}
