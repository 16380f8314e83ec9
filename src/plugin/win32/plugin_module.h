#pragma once

#include <windows.h>

#include "embedding/plugin_context.h"
#include "plugin/win32/form_windows.h"
#include "widgets/win32/win32_platform.h"

namespace tarnvex {

// Everything the library keeps between calls of the entry point: the
// platform, the plug-in context and the form windows. Made at the first call,
// not at loading (loading does no work of the library's own), and dismantled
// when the library is unloaded.
class PluginModule {
 public:
  // The library's own instance, as DllMain received it.
  static void SetInstance(HINSTANCE instance);
  // The module, made on first use. Throws what making it throws (a window
  // class that cannot be registered); the next call tries again.
  static PluginModule& Get();
  // Unloading: destroys the forms still open, removes the window classes and
  // releases the host's data service.
  static void Unload() noexcept;

  Platform& platform() { return platform_; }
  PluginContext& context() { return context_; }
  FormWindows& forms() { return forms_; }

 private:
  explicit PluginModule(HINSTANCE instance) : forms_(instance) {}

  // Members go in reverse order: the forms, which use the other two, first.
  Win32Platform platform_;
  PluginContext context_;
  FormWindows forms_;
};

}  // namespace tarnvex
