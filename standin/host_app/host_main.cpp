// tarnvex-host: the stand-in for the host application. It connects the
// stand-in data service to the database on its command line, offers it as
// the host's automation object, loads SubsidySet.dll and opens the editor in
// its panel as the real host does, and ends when the editor closes.

#include <windows.h>
#include <shellapi.h>

#include <exception>
#include <memory>
#include <string>
#include <vector>

#include "host/win32/com_ptr.h"
#include "standin/host_app/host_options.h"
#include "standin/host_app/host_window.h"
#include "standin/host_app/plugin_library.h"
#include "standin/host_app/standin_dispatch.h"
#include "standin/standin_service.h"
#include "widgets/win32/wide_text.h"

namespace tarnvex {
namespace {

std::vector<std::u16string> Arguments() {
  int count = 0;
  LPWSTR* words = CommandLineToArgvW(GetCommandLineW(), &count);
  std::vector<std::u16string> arguments;
  for (int i = 1; words != nullptr && i < count; ++i) {
    std::wstring_view word(words[i]);
    arguments.emplace_back(word.begin(), word.end());
  }
  LocalFree(words);
  return arguments;
}

void ShowError(const std::string& text) {
  std::wstring wide = ToWide(text);
  MessageBoxW(nullptr, wide.c_str(), L"tarnvex-host", MB_OK | MB_ICONERROR);
}

int Run(HINSTANCE instance, int show_command) {
  HostOptions options = ParseHostOptions(Arguments());
  // Torn down in reverse: the windows (and with them the editor), then the
  // plug-in, which releases its reference on the host's object, then ours.
  ComPtr<IDispatch> host =
      MakeStandinDispatch(std::make_shared<StandinDataService>(std::move(options.service)));
  PluginLibrary plugin(options.plugin_path);
  HostWindow window(instance, show_command);
  plugin.Open(window.main(), options.operator_code, window.panel(), host.get());

  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return 0;
}

}  // namespace
}  // namespace tarnvex

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show_command) {
  try {
    return tarnvex::Run(instance, show_command);
  } catch (const tarnvex::HostUsageError& error) {
    tarnvex::ShowError(std::string(error.what()) + "\n\n" + tarnvex::kHostUsage);
  } catch (const std::exception& error) {
    tarnvex::ShowError(error.what());
  }
  return 1;
}
