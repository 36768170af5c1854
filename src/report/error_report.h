// The error report: a short code (error_codes.h) shown to the user in the
// installation-failed box. The engine does not know the box: the program
// installs a presenter at start-up (the wizard the box, the install program
// a printed line; tests a recorder).
//
// An installation reports once: while an InstallReport is open on a thread,
// the codes shown there are collected, and the report presents one box at
// its end, after the installation has tidied up behind itself.
#pragma once

// Shows `code` and returns when the user has closed the box.
using ErrorPresenter = void (*)(int code);

void SetErrorPresenter(ErrorPresenter presenter);

// Shows the error box with `code` through the installed presenter, or, while
// an InstallReport is open on this thread, records it there. Without a
// presenter the report is dropped.
void ShowErrorCode(int code);

// One installation's report on the thread that runs it. Reports nest: one
// opened inside another collects on its own until it ends.
class InstallReport {
 public:
  InstallReport();
  ~InstallReport();
  InstallReport(const InstallReport&) = delete;
  InstallReport& operator=(const InstallReport&) = delete;

  // The first code recorded; 0 when none was.
  int Code() const { return m_nCode; }
  // Ends the installation's report: on failure, presents its one box (the
  // first code recorded, or kCodeUnexpected when no step gave one) and
  // returns that code; on success presents nothing and returns 0.
  int Finish(bool succeeded);

 private:
  friend void ShowErrorCode(int code);
  int m_nCode = 0;
  InstallReport* m_pOuter;
};
