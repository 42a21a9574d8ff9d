#include "remote_binding.h"

namespace sendaro {

bool BindRemoteLibrary(LibraryLoader& library) {
  if (!library.Load()) {
    library.ShowError(kLoadFailMessage);
    return false;
  }
  const char* failure = nullptr;
  if (!library.HasInit()) {
    failure = kNoInitMessage;
  } else if (library.CallInit() == 0) {
    failure = kInitFailMessage;
  } else if (!library.HasRead()) {
    failure = kNoReadMessage;
  }
  if (failure == nullptr) return true;
  library.ShowError(failure);
  library.Unload();
  return false;
}

}  // namespace sendaro
