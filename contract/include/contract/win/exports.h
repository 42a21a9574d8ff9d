// The entry points every plug-in exports (each plug-in defines its own subset) and the shared
// steps around them. Win32 shells only.
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <utility>

#include "contract/plugin_contract.h"

#define PLUGIN_EXPORT extern "C" __declspec(dllexport)

using contract::ActionParams;
using contract::EventRecord;

// The export names are fixed by each plug-in's .def file; these declarations give their types.
extern "C" {
const char* __stdcall Open(const char* instanceName, HWND hostWindow, std::int32_t reserved);
void __stdcall Close();
void __stdcall Start();
void __stdcall Stop();
void __stdcall Setup();
BOOL __stdcall ActionManual(const ActionParams* params, std::int32_t actionId);
void __stdcall StartManual(const ActionParams* params);
void __stdcall StopManual(const ActionParams* params);
}

namespace contract::win {

// Runs an export's body so that no exception ever reaches the host: anything thrown becomes
// `fallback`.
template <class Body, class Result>
Result Guarded(Result fallback, Body&& body) noexcept {
  try {
    return std::forward<Body>(body)();
  } catch (...) {
    return fallback;
  }
}

template <class Body>
void Guarded(Body&& body) noexcept {
  try {
    std::forward<Body>(body)();
  } catch (...) {
  }
}

// The last step of every ActionManual: posts WM_PLUGIN_ACTION_DONE once and returns what the
// posting returned.
BOOL FinishAction(HWND host, std::int32_t actionId, std::intptr_t result) noexcept;

// As FinishAction, but a result of 0 is preceded by the invalid-parameters report, sent with
// WM_PLUGIN_LOG, naming `pluginWord`.
BOOL FinishActionWithReport(HWND host, const ActionParams* params, std::int32_t actionId, std::intptr_t result,
                            std::string_view pluginWord) noexcept;

// The module that contains this code (the plug-in DLL itself, not the host's executable).
HMODULE ThisModule() noexcept;

// The plug-in's settings file: its module file name, read into 256 bytes, with the extension
// replaced by ".ini".
std::string SettingsFilePath(HMODULE module);

}  // namespace contract::win
