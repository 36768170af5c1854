// Hooks into the test program's operator new and delete: an allocation that
// fails on demand (out of memory), and a watch on one object's deletion.
#pragma once

// The next allocation on any thread throws std::bad_alloc.
void FailNextAllocation();

// Watches `object` until it is deleted; Deleted() tells whether it was.
void WatchDeletion(const void* object);
bool Deleted();
