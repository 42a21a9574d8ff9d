// Binding the sensor library: which of its failures the user is shown, and what is kept.
#pragma once

#include <cstdint>

namespace sendaro {

inline constexpr const char* kLoadFailMessage = "Load RemtCtrl.dll Fail.";
inline constexpr const char* kNoInitMessage = "Can't get function address 'InitRemoteCtrl'";
inline constexpr const char* kInitFailMessage = "Initial Remote Contrl Fail.";
inline constexpr const char* kNoReadMessage = "Can't get function address 'ReadRemoteData'";

// The library as Open sees it. The shell loads it from the plug-in's own directory.
class LibraryLoader {
 public:
  virtual ~LibraryLoader() = default;
  virtual bool Load() = 0;
  virtual bool HasInit() = 0;
  virtual bool HasRead() = 0;
  // InitRemoteCtrl(0): 0 means the sensor could not be initialised.
  virtual std::int32_t CallInit() = 0;
  virtual void Unload() = 0;
  // A message box with the plug-in's caption, OK and the stop icon; returns when it is closed.
  virtual void ShowError(const char* message) = 0;
};

// Loads the library and checks both functions, initialising the sensor once. Shows at most one
// message; on any failure the library is unloaded again. Returns whether it stays bound.
bool BindRemoteLibrary(LibraryLoader& library);

}  // namespace sendaro
