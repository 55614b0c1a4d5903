// The module instance every resource is loaded from, and the one way dialogs are shown.
#pragma once

#include <windows.h>

namespace tolvi {

void SetAppInstance(HINSTANCE instance);
HINSTANCE AppInstance();

// Shows template templateId modally over owner with proc, which finds init in the lParam of
// its WM_INITDIALOG, and returns what the dialog ended with: 0 when owner is not a window,
// -1 on any other failure.
INT_PTR RunDialog(HWND owner, int templateId, DLGPROC proc, LPARAM init);
INT_PTR RunDialog(HWND owner, int templateId, DLGPROC proc);

}  // namespace tolvi
