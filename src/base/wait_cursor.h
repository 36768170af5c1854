// Shows the wait cursor for the lifetime of the object, then the cursor it
// replaced, also when the scope is left by an exception.
#pragma once
#include "platform/cursor.h"

class CWaitCursor {
 public:
  CWaitCursor() : m_hPrevious(plat::SetCursor(plat::LoadCursorW(plat::kIdcWait))) {}
  ~CWaitCursor() { plat::SetCursor(m_hPrevious); }
  CWaitCursor(const CWaitCursor&) = delete;
  CWaitCursor& operator=(const CWaitCursor&) = delete;

 private:
  plat::Handle m_hPrevious;
};
