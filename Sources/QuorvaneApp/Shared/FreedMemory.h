#pragma once

namespace quorvane {

// Gives the pages of memory the process has freed back to the system, away from the GUI thread.
// The C library keeps what a large piece of work freed (a document of many items read, a
// switch's listings on the worker's own heap) for the process's later use; after such work it
// is handed back instead of being held for the rest of the run.
void giveBackFreedMemory();

} // namespace quorvane
