#include <windows.h>

#include "plugin/win32/plugin_module.h"

// The library's start-up and unloading. Loading does nothing of the library's
// own: the module is made by the first call of the entry point.
extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  switch (reason) {
    case DLL_PROCESS_ATTACH:
      tarnvex::PluginModule::SetInstance(instance);
      DisableThreadLibraryCalls(instance);
      break;
    case DLL_PROCESS_DETACH:
      // reserved is null for FreeLibrary. When the process is ending instead,
      // other threads are already gone and the host's objects may be too:
      // releasing them or destroying windows then could only crash, and the
      // system reclaims everything anyway.
      // https://learn.microsoft.com/windows/win32/dlls/dllmain
      if (reserved == nullptr) tarnvex::PluginModule::Unload();
      break;
    default:
      break;
  }
  return TRUE;
}
