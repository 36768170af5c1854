# Cross build for 64-bit Windows: the 64-bit binaries of the driver package,
# and the Windows-side tests where Wine cannot run 32-bit programs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(QX_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
