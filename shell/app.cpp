// The module instance every resource is loaded from, and the one way dialogs are shown.
#include "shell/app.h"

namespace tolvi {

namespace {
HINSTANCE app_instance = nullptr;
}  // namespace

void SetAppInstance(HINSTANCE instance) { app_instance = instance; }

HINSTANCE AppInstance() { return app_instance; }

INT_PTR RunDialog(HWND owner, int templateId, DLGPROC proc, LPARAM init) {
  return DialogBoxParamA(AppInstance(), MAKEINTRESOURCEA(templateId), owner, proc, init);
}

INT_PTR RunDialog(HWND owner, int templateId, DLGPROC proc) {
  return RunDialog(owner, templateId, proc, 0);
}

}  // namespace tolvi
