// The application's title: the wizard's caption, and the caption of the boxes
// that speak for the application.
#pragma once

inline constexpr wchar_t kAppTitle[] = L"Quillex驱动安装程序";
// The readme's caption, the installer's first window.
inline constexpr wchar_t kReadmeTitle[] = L"USB驱动安装说明";
