// standins.exe: runs one stand-in application as a process of its own, for the demo and for trying
// a plug-in by hand with plughost. It prints what it receives, one line each, and ends when told to
// exit the way the real application would be (or after --seconds).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "player_standin.h"
#include "text_standin.h"

namespace {

int RunPlayer(int argc, char** argv) {
  LRESULT answer = 1;
  for (int i = 0; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--answer") == 0) answer = std::strtol(argv[i + 1], nullptr, 0);
  }
  const DWORD mainThread = GetCurrentThreadId();
  standins::PlayerStandIn player(answer, [mainThread](WPARAM code) {
    std::printf("player: command %u\n", static_cast<unsigned>(code));
    std::fflush(stdout);
    if (code == standins::kPlayerExitCode) PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
  });
  std::printf("player: window of class \"%s\" is up, answering %ld\n", standins::kPlayerClass,
              static_cast<long>(answer));
  std::fflush(stdout);
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    DispatchMessageA(&msg);
  }
  std::printf("player: exits\n");
  std::fflush(stdout);
  return 0;
}

int RunText(int argc, char** argv) {
  bool printKeyMessages = false;
  for (int i = 0; i < argc; ++i) printKeyMessages = printKeyMessages || std::strcmp(argv[i], "--messages") == 0;
  return standins::RunTextWindow(printKeyMessages);
}

void CALLBACK EndOfLife(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

struct Mode {
  const char* name;
  int (*run)(int argc, char** argv);
};

constexpr Mode kModes[] = {
    {"player", RunPlayer},
    {"text", RunText},
};

}  // namespace

int main(int argc, char** argv) {
  DWORD seconds = 60;
  for (int i = 1; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--seconds") == 0) seconds = std::strtoul(argv[i + 1], nullptr, 10);
  }
  if (argc >= 2) {
    for (const Mode& mode : kModes) {
      if (std::strcmp(argv[1], mode.name) == 0) {
        // A stand-in left behind by a failed script must not live for ever.
        SetTimer(nullptr, 0, seconds * 1000, EndOfLife);
        return mode.run(argc - 2, argv + 2);
      }
    }
  }
  std::fprintf(stderr, "usage: standins MODE [--seconds N] [options]\nmodes:");
  for (const Mode& mode : kModes) std::fprintf(stderr, " %s", mode.name);
  std::fprintf(stderr,
               "\n  player [--answer N]   window \"LumidorFront\"; exits on command 453\n"
               "  text [--messages]      a focused window that prints what is typed into it\n");
  return 2;
}
