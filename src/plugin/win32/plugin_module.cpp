#include "plugin/win32/plugin_module.h"

namespace tarnvex {

namespace {

HINSTANCE g_instance = nullptr;
// Owned: made by Get, deleted by Unload. A plain pointer because its end is
// decided by DllMain, not by the order of static destructors.
PluginModule* g_module = nullptr;

}  // namespace

void PluginModule::SetInstance(HINSTANCE instance) { g_instance = instance; }

PluginModule& PluginModule::Get() {
  if (g_module == nullptr) g_module = new PluginModule(g_instance);
  return *g_module;
}

void PluginModule::Unload() noexcept {
  delete g_module;
  g_module = nullptr;
}

}  // namespace tarnvex
