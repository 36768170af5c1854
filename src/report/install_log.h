// The rolling install log: documents folder\Tovanta\Log(N).txt, one
// time-stamped ANSI entry per event, each closed by CR, LF and a zero byte.
#pragma once
#include <atomic>
#include <string>

// Index N of the log file the process writes to; starts at 1, only grows.
// Writers on several threads read and store it without a lock.
extern std::atomic<int> s_nLogIndex;

// Appends `text` to the log; with `withErrorCode`, the calling thread's last
// error and its system text are added. Never blocks for long: a log file
// that cannot be opened passes the entry on to the next index (a held one
// after a few tries), an entry that no index took within a bounded number of
// opens is dropped, and so is one written when the documents folder is unknown.
void WriteInstallLog(const std::wstring& text, bool withErrorCode);

// The parts of an entry, exposed for the log's tests.
std::wstring FormatLogMessage(const std::wstring& text, bool withErrorCode, unsigned long errorCode,
                              const std::wstring& systemText);
std::wstring FormatLogTimeStamp(int day, int month, int year, int hour, int minute, int second, int ms);
