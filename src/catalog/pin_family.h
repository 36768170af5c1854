// The driver families of the package.
#pragma once
#include <cstdint>

// Held as a 32-bit integer: a value outside the three names selects no files
// and the 9-pin folders.
enum PinFamily : int32_t {
  Pin24 = 0,      // 24-pin package ("\24Pin", "24Pin.inf")
  Pin9 = 1,       // 9-pin package with its UI and render plug-ins
  Pin9Basic = 2,  // 9-pin package with the resource DLL only
};
