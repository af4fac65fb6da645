#include "Shared/FreedMemory.h"

#include "Work/HostWork.h"

#if defined(__GLIBC__)
#include <malloc.h>
#endif

namespace quorvane {

void giveBackFreedMemory()
{
#if defined(__GLIBC__)
    // Every arena is walked, the worker threads' too; the GUI thread's allocations wait at most
    // for the arena being walked.
    HostWork::post([] { malloc_trim(0); });
#endif
}

} // namespace quorvane
