#include "contract/win/exports.h"

#include "contract/action_params.h"

namespace contract::win {

BOOL FinishAction(HWND host, std::int32_t actionId, std::intptr_t result) noexcept {
  // The id is the host's signed 32-bit number; on 64-bit it travels sign-extended.
  return PostMessageA(host, WM_PLUGIN_ACTION_DONE, static_cast<WPARAM>(static_cast<std::intptr_t>(actionId)),
                      static_cast<LPARAM>(result));
}

BOOL FinishActionWithReport(HWND host, const ActionParams* params, std::int32_t actionId, std::intptr_t result,
                            std::string_view pluginWord) noexcept {
  if (result == 0) {
    char report[kReportMaxLength + 1];
    FormatInvalidParamsReport(params, pluginWord, report);
    SendMessageA(host, WM_PLUGIN_LOG, reinterpret_cast<WPARAM>(report), 0);
  }
  return FinishAction(host, actionId, result);
}

HMODULE ThisModule() noexcept {
  HMODULE module = nullptr;
  GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCSTR>(&ThisModule), &module);
  return module;
}

std::string SettingsFilePath(HMODULE module) {
  char buffer[256] = {};
  const DWORD length = GetModuleFileNameA(module, buffer, sizeof buffer);
  std::string path(buffer, length < sizeof buffer ? length : sizeof buffer - 1);
  // The extension is what follows the last dot of the file name, not of a folder name.
  const std::size_t slash = path.find_last_of("\\/");
  const std::size_t dot = path.find_last_of('.');
  if (dot != std::string::npos && (slash == std::string::npos || dot > slash)) path.erase(dot);
  return path + ".ini";
}

}  // namespace contract::win
