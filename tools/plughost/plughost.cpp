// plughost: a small console host for trying a plug-in by hand or from a script. It loads the DLL,
// creates the host window, runs the commands and prints every message that reaches the window the
// moment it arrives.
#include <windows.h>

#include <cerrno>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "contract/plugin_contract.h"

namespace {

using contract::ActionParams;
using contract::EventRecord;

constexpr char kUsage[] =
    "usage: plughost [--times] PLUGIN.dll [COMMAND ...]\n"
    "\n"
    "Loads a plug-in, creates a host window and runs the commands, each argument one command line;\n"
    "without commands it reads them from standard input, one a line. Commands:\n"
    "  open [NAME]            Open with the instance name (none: NULL)\n"
    "  close | start | stop | setup\n"
    "  action WORD [ARG ...]  ActionManual with up to four parameters; the action ids count from 1\n"
    "  startmanual TEXT       StartManual with one text\n"
    "  stopmanual TEXT        StopManual with one text\n"
    "  wait MS                handle messages for MS milliseconds\n"
    "  show                   show the host window (titled \"plughost\") and give it the focus, so\n"
    "                         that keys can be typed into it\n"
    "An argument is a text (put it in double quotes to keep blanks), or a number written #123, #-1 or\n"
    "#0x1F. Every message to the host window is printed as it arrives:\n"
    "  event NAME \"TEXT\" STATE [PARAMS]   done ID RESULT   log \"TEXT\"\n"
    "--times puts the milliseconds since the start before each message.\n"
    "An unknown command, a bad number or an export the plug-in lacks ends the run with exit code 1.\n";

using OpenFn = const char*(__stdcall*)(const char*, HWND, std::int32_t);
using VoidFn = void(__stdcall*)();
using ActionManualFn = BOOL(__stdcall*)(const ActionParams*, std::int32_t);
using ManualFn = void(__stdcall*)(const ActionParams*);

bool g_showTimes = false;
LARGE_INTEGER g_start{};

void PrintTime() {
  if (!g_showTimes) return;
  LARGE_INTEGER now, frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  std::printf("[%7.1f ms] ", static_cast<double>(now.QuadPart - g_start.QuadPart) * 1000.0 / frequency.QuadPart);
}

std::string Quoted(const char* text, std::size_t limit) {
  std::string out = "\"";
  if (text == nullptr) return "NULL";
  for (std::size_t i = 0; i < limit && text[i] != '\0'; ++i) {
    const unsigned char c = static_cast<unsigned char>(text[i]);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20 || c == 0x7F) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\x%02X", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  out += '"';
  return out;
}

void PrintEvent(const EventRecord* record, LPARAM state) {
  std::string line = "event ";
  line.append(record->instanceName, strnlen(record->instanceName, sizeof record->instanceName));
  line += ' ';
  line += Quoted(record->eventText, sizeof record->eventText);
  line += ' ';
  line += std::to_string(state);
  if (std::memcmp(record->ext, "EXT", 4) == 0) {
    line += " [";
    const int count = record->params.count < 0 ? 0 : (record->params.count > 4 ? 4 : record->params.count);
    for (int i = 0; i < count; ++i) {
      if (i > 0) line += ", ";
      if (record->params.kind[i] == contract::kKindText) {
        line += Quoted(reinterpret_cast<const char*>(record->params.value[i]), 4096);
      } else {
        line += std::to_string(static_cast<std::int32_t>(record->params.value[i]));
      }
    }
    line += "]";
  }
  std::printf("%s\n", line.c_str());
}

LRESULT CALLBACK HostWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message < WM_USER) return DefWindowProcA(window, message, wParam, lParam);
  PrintTime();
  if (message == contract::WM_PLUGIN_EVENT && wParam != 0) {
    PrintEvent(reinterpret_cast<const EventRecord*>(wParam), lParam);
  } else if (message == contract::WM_PLUGIN_ACTION_DONE) {
    std::printf("done %d %lld\n", static_cast<int>(static_cast<std::int32_t>(wParam)), static_cast<long long>(lParam));
  } else if (message == contract::WM_PLUGIN_LOG) {
    std::printf("log %s\n", Quoted(reinterpret_cast<const char*>(wParam), contract::kReportMaxLength + 1).c_str());
  } else {
    std::printf("message 0x%04X %llu %lld\n", message, static_cast<unsigned long long>(wParam),
                static_cast<long long>(lParam));
  }
  std::fflush(stdout);
  return 0;
}

void PumpPending() {
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
  }
}

void PumpFor(DWORD milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  for (;;) {
    PumpPending();
    const ULONGLONG now = GetTickCount64();
    if (now >= deadline) return;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(deadline - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

// Splits a command line into words; double quotes keep blanks inside a word.
struct Word {
  std::string text;
  bool quoted = false;
};

std::vector<Word> SplitWords(const std::string& line) {
  std::vector<Word> words;
  std::size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    if (i >= line.size()) break;
    Word word;
    if (line[i] == '"') {
      word.quoted = true;
      ++i;
      while (i < line.size() && line[i] != '"') word.text += line[i++];
      ++i;
    } else {
      while (i < line.size() && line[i] != ' ' && line[i] != '\t') word.text += line[i++];
    }
    words.push_back(word);
  }
  return words;
}

std::optional<std::int32_t> ParseNumber(const std::string& text) {
  if (text.size() < 2) return std::nullopt;
  errno = 0;
  char* end = nullptr;
  const long long value = std::strtoll(text.c_str() + 1, &end, 0);
  if (errno != 0 || *end != '\0' || value < INT32_MIN || value > UINT32_MAX) return std::nullopt;
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(value));
}

class Host {
 public:
  Host(HMODULE plugin, HWND window) : plugin_(plugin), window_(window) {}

  // Runs one command line; false ends the run with an error.
  bool run(const std::string& line) {
    const std::vector<Word> words = SplitWords(line);
    if (words.empty()) return true;
    std::printf("> %s\n", line.c_str());
    std::fflush(stdout);
    const std::string& command = words[0].text;
    if (command == "open") return open(words);
    if (command == "close" || command == "start" || command == "stop" || command == "setup") {
      const char* name = command == "close"   ? "Close"
                         : command == "start" ? "Start"
                         : command == "stop"  ? "Stop"
                                              : "Setup";
      auto fn = find<VoidFn>(name);
      if (!fn) return false;
      fn();
      if (command == "close") opened_ = false;
      PumpPending();
      return true;
    }
    if (command == "show") {
      ShowWindow(window_, SW_SHOW);
      SetForegroundWindow(window_);
      SetFocus(window_);
      PumpPending();
      return true;
    }
    if (command == "action") return action(words);
    if (command == "startmanual" || command == "stopmanual") return manual(words);
    if (command == "wait") {
      if (words.size() != 2) return error("wait takes one number of milliseconds");
      char* end = nullptr;
      const unsigned long ms = std::strtoul(words[1].text.c_str(), &end, 10);
      if (*end != '\0' || words[1].text.empty()) return error("bad number of milliseconds: " + words[1].text);
      PumpFor(static_cast<DWORD>(ms));
      return true;
    }
    return error("unknown command: " + command + " (plughost --help lists them)");
  }

  // A plug-in that was opened and not closed is closed before it is unloaded.
  void finish() {
    PumpPending();
    if (opened_) {
      if (auto close = reinterpret_cast<VoidFn>(reinterpret_cast<void*>(GetProcAddress(plugin_, "Close")))) {
        std::printf("> close (at exit)\n");
        std::fflush(stdout);
        close();
        PumpPending();
      }
    }
  }

 private:
  template <class Fn>
  Fn find(const char* name) {
    FARPROC proc = GetProcAddress(plugin_, name);
    if (proc == nullptr) {
      error(std::string("the plug-in has no export ") + name);
      return nullptr;
    }
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(proc));
  }

  bool error(const std::string& text) {
    std::printf("error: %s\n", text.c_str());
    std::fflush(stdout);
    return false;
  }

  bool open(const std::vector<Word>& words) {
    if (words.size() > 2) return error("open takes at most one name");
    auto fn = find<OpenFn>("Open");
    if (!fn) return false;
    const char* description = fn(words.size() == 2 ? words[1].text.c_str() : nullptr, window_, 0);
    opened_ = true;
    std::printf("description %s\n", Quoted(description, 1024).c_str());
    std::fflush(stdout);
    PumpPending();
    return true;
  }

  // Fills a parameter block from words[first..]; the strings live in `texts`.
  bool fill(const std::vector<Word>& words, std::size_t first, ActionParams& params, std::vector<std::string>& texts) {
    params = ActionParams{};
    if (words.size() - first > static_cast<std::size_t>(contract::kMaxParams)) {
      return error("at most four parameters");
    }
    texts.reserve(contract::kMaxParams);
    for (std::size_t i = first; i < words.size(); ++i) {
      const int slot = params.count++;
      if (!words[i].quoted && words[i].text.size() > 0 && words[i].text[0] == '#') {
        const auto number = ParseNumber(words[i].text);
        if (!number) return error("bad number: " + words[i].text);
        params.kind[slot] = 1;
        params.value[slot] = *number;
      } else {
        texts.push_back(words[i].text);
        params.kind[slot] = contract::kKindText;
        params.value[slot] = reinterpret_cast<contract::ParamSlot>(texts.back().c_str());
      }
    }
    return true;
  }

  bool action(const std::vector<Word>& words) {
    if (words.size() < 2) return error("action needs a word");
    ActionParams params;
    std::vector<std::string> texts;
    if (!fill(words, 1, params, texts)) return false;
    auto fn = find<ActionManualFn>("ActionManual");
    if (!fn) return false;
    const BOOL posted = fn(&params, nextActionId_++);
    PumpPending();
    if (!posted) std::printf("ActionManual returned FALSE\n");
    return true;
  }

  bool manual(const std::vector<Word>& words) {
    if (words.size() != 2) return error(words[0].text + " takes one text");
    ActionParams params;
    std::vector<std::string> texts;
    if (!fill(words, 1, params, texts)) return false;
    auto fn = find<ManualFn>(words[0].text == "startmanual" ? "StartManual" : "StopManual");
    if (!fn) return false;
    fn(&params);
    PumpPending();
    return true;
  }

  HMODULE plugin_;
  HWND window_;
  bool opened_ = false;
  std::int32_t nextActionId_ = 1;
};

}  // namespace

int main(int argc, char** argv) {
  int first = 1;
  for (; first < argc && argv[first][0] == '-'; ++first) {
    if (std::strcmp(argv[first], "--help") == 0 || std::strcmp(argv[first], "-h") == 0) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    if (std::strcmp(argv[first], "--times") == 0) {
      g_showTimes = true;
    } else {
      std::fprintf(stderr, "plughost: unknown option %s\n%s", argv[first], kUsage);
      return 2;
    }
  }
  if (first >= argc) {
    std::fputs(kUsage, stderr);
    return 2;
  }
  QueryPerformanceCounter(&g_start);
  HMODULE plugin = LoadLibraryA(argv[first]);
  if (plugin == nullptr) {
    std::printf("error: cannot load %s (error %lu)\n", argv[first], GetLastError());
    return 2;
  }
  WNDCLASSA windowClass{};
  windowClass.lpfnWndProc = HostWindowProc;
  windowClass.hInstance = GetModuleHandleA(nullptr);
  windowClass.lpszClassName = "PlugHostWindow";
  RegisterClassA(&windowClass);
  HWND window = CreateWindowExA(0, "PlugHostWindow", "plughost", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100, nullptr, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
  if (window == nullptr) {
    std::printf("error: cannot create the host window (error %lu)\n", GetLastError());
    return 2;
  }

  Host host(plugin, window);
  bool ok = true;
  if (first + 1 < argc) {
    for (int i = first + 1; i < argc && ok; ++i) ok = host.run(argv[i]);
  } else {
    char line[4096];
    while (ok && std::fgets(line, sizeof line, stdin) != nullptr) {
      std::string text(line);
      while (!text.empty() && (text.back() == '\n' || text.back() == '\r')) text.pop_back();
      ok = host.run(text);
    }
  }
  host.finish();
  DestroyWindow(window);
  FreeLibrary(plugin);
  return ok ? 0 : 1;
}
