// A dinput8.dll whose DirectInput8Create always fails, for the test of a DirectInput start that
// cannot be set up. Used only by a test process started with the dinput8=n override.
#include <windows.h>

namespace {
LONG g_calls = 0;
}

extern "C" HRESULT __stdcall DirectInput8Create(HINSTANCE, DWORD, REFIID, void** object, void*) {
  InterlockedIncrement(&g_calls);
  if (object != nullptr) *object = nullptr;
  return static_cast<HRESULT>(0x8007047EL);  // DIERR_OLDDIRECTINPUTVERSION
}

extern "C" LONG __stdcall StandInCalls() { return g_calls; }
