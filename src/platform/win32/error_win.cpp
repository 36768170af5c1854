#include <windows.h>

#include "platform/error.h"

namespace plat {

uint32_t GetLastError() { return ::GetLastError(); }
void SetLastError(uint32_t code) { ::SetLastError(code); }

}  // namespace plat
