// standins.exe: runs one stand-in application as a process of its own, for the demo and for trying
// a plug-in by hand with plughost. It prints what it receives, one line each, and ends when told to
// exit the way the real application would be (or after --seconds).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "manager_standin.h"
#include "player_standin.h"
#include "tv_standin.h"

namespace {

// Runs the message loop of the stand-in's main thread until a command tells it to quit.
void RunUntilQuit(const char* who) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
    DispatchMessageA(&msg);
  }
  std::printf("%s: exits\n", who);
  std::fflush(stdout);
}

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
  RunUntilQuit("player");
  return 0;
}

int RunManager(int, char**) {
  const DWORD mainThread = GetCurrentThreadId();
  standins::ManagerStandIn manager([mainThread](WPARAM code, LPARAM argument) {
    std::printf("manager: command %u, argument %lld\n", static_cast<unsigned>(code), static_cast<long long>(argument));
    std::fflush(stdout);
    if (code == standins::kManagerExitCode) PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
  });
  std::printf("manager: window of class \"%s\" is up\n", standins::kManagerClass);
  std::fflush(stdout);
  RunUntilQuit("manager");
  return 0;
}

// The TV application: its screen window takes the commands; a channel chosen with message 1223
// (WPARAM = channel less one) shows in its application window's title, as the real one does.
int RunTv(int argc, char** argv) {
  std::string title = std::string(standins::kTvTitlePrefix) + " News (1)";
  for (int i = 0; i + 1 < argc; ++i) {
    if (std::strcmp(argv[i], "--title") == 0) title = argv[i + 1];
  }
  const DWORD mainThread = GetCurrentThreadId();
  standins::ApplicationWindowStandIn application(title);
  standins::TvScreenStandIn screen([&application, mainThread](UINT message, WPARAM wParam) {
    std::printf("tv: message %u, wParam %lld\n", message, static_cast<long long>(wParam));
    if (message == standins::kTvChannelMessage) {
      const std::string channel = std::to_string(static_cast<long long>(wParam) + 1);
      const std::string newTitle = std::string(standins::kTvTitlePrefix) + " Channel " + channel + " (" + channel + ")";
      std::printf("tv: title is now \"%s\"\n", newTitle.c_str());
      application.setTitle(newTitle);
    }
    std::fflush(stdout);
    if (message == standins::kTvQuitMessage) PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
  });
  std::printf("tv: window \"%s\" is up; application title \"%s\"\n", standins::kTvScreenTitle, title.c_str());
  std::fflush(stdout);
  RunUntilQuit("tv");
  return 0;
}

void CALLBACK EndOfLife(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(0); }

struct Mode {
  const char* name;
  int (*run)(int argc, char** argv);
};

constexpr Mode kModes[] = {
    {"player", RunPlayer},
    {"manager", RunManager},
    {"tv", RunTv},
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
  std::fprintf(stderr, "\n  player [--answer N]   window \"LumidorFront\"; exits on command 453\n");
  std::fprintf(stderr, "  manager              window \"MJFrame\"; exits on command 20007\n");
  std::fprintf(stderr, "  tv [--title TEXT]    windows \"TV Screen\" and \"TApplication\"; exits on message 1279\n");
  return 2;
}
