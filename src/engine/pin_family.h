// The driver families of the package, held as a 32-bit integer.
#pragma once
#include <cstdint>

enum PinFamily : int32_t {
  Pin24 = 0,
  Pin9 = 1,
  Pin9Basic = 2,
};
