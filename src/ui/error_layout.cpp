#include "ui/error_layout.h"

namespace {
constexpr std::size_t kPiece = 21;
constexpr int kLineStep = 21;

ErrorLayout LayOutAt96(const std::wstring& message) {
  ErrorLayout layout;
  std::size_t n = message.size();
  layout.runs.push_back({50, 118, L"错误代码：" + message.substr(0, kPiece)});
  int y = 139;
  if (n > kPiece) {
    for (std::size_t piece = 1; piece < n / kPiece; ++piece, y += kLineStep)
      layout.runs.push_back({115, y, message.substr(piece * kPiece, kPiece)});
    if (n % kPiece != 0) {
      layout.runs.push_back({110, y, message.substr(n - n % kPiece)});
      y += kLineStep;
    }
    layout.buttonY = y + 60;
  }
  layout.runs.push_back({50, y + 10, L"请关闭所有应用程序并重启系统后再次安装。"});
  layout.runs.push_back({50, y + 30, L"如错误情况依然存在，请联系设备厂家获取技术支持。"});
  return layout;
}

}  // namespace

ErrorLayout LayOutErrorPage(const std::wstring& message, int dpi) {
  ErrorLayout layout = LayOutAt96(message);
  for (ErrorTextRun& run : layout.runs) {
    UiPoint at = ScaleToDpi(UiPoint{run.x, run.y}, dpi);
    run.x = at.x;
    run.y = at.y;
  }
  layout.buttonY = ScaleToDpi(layout.buttonY, dpi);
  return layout;
}
