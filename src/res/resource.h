// Resource identifiers of QuillexSetup.exe.
#pragma once

#define IDR_MAINFRAME 128
