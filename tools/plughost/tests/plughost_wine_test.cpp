// plughost as a user runs it: a child process whose output and exit code are read back.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "tv_standin.h"

namespace {

struct PlughostRun {
  std::string output;
  DWORD exitCode = 0;
};

// Runs plughost.exe (beside this test) with `arguments`, feeding `input` to its standard input.
PlughostRun RunPlughost(const std::string& arguments, const std::string& input = "") {
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE outRead, outWrite, inRead, inWrite;
  EXPECT_TRUE(CreatePipe(&outRead, &outWrite, &inherit, 0));
  EXPECT_TRUE(CreatePipe(&inRead, &inWrite, &inherit, 0));
  SetHandleInformation(outRead, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(inWrite, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdOutput = outWrite;
  startup.hStdError = outWrite;
  startup.hStdInput = inRead;
  PROCESS_INFORMATION process{};
  std::string commandLine = "plughost.exe " + arguments;
  PlughostRun run;
  if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process)) {
    ADD_FAILURE() << "cannot start plughost";
    return run;
  }
  CloseHandle(outWrite);
  CloseHandle(inRead);
  DWORD written = 0;
  if (!input.empty()) WriteFile(inWrite, input.data(), static_cast<DWORD>(input.size()), &written, nullptr);
  CloseHandle(inWrite);
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(outRead, buffer, sizeof buffer, &got, nullptr) && got > 0) run.output.append(buffer, got);
  CloseHandle(outRead);
  WaitForSingleObject(process.hProcess, 30000);
  GetExitCodeProcess(process.hProcess, &run.exitCode);
  CloseHandle(process.hProcess);
  CloseHandle(process.hThread);
  // Windows' line ends, whatever the console does.
  std::string text;
  for (char c : run.output) {
    if (c != '\r') text += c;
  }
  run.output = text;
  return run;
}

TEST(Plughost, RunsCommandsFromArgumentsAndStandardInput) {
  const PlughostRun fromArguments =
      RunPlughost("Lumidor.dll open \"action version\" \"action PLAYBACK_PLAY #-1 \\\"\"");
  EXPECT_EQ(fromArguments.exitCode, 0u) << fromArguments.output;
  EXPECT_NE(fromArguments.output.find("> open\ndescription \"Lumidor control\"\n"), std::string::npos)
      << fromArguments.output;
  EXPECT_NE(fromArguments.output.find("> action version\ndone 1 0\n"), std::string::npos) << fromArguments.output;
  EXPECT_NE(fromArguments.output.find("done 2 0\n"), std::string::npos) << fromArguments.output;

  const PlughostRun fromInput = RunPlughost("Lumidor.dll", "open MINE\n\naction \"TWO WORDS\" #0x1F\nwait 10\n");
  EXPECT_EQ(fromInput.exitCode, 0u) << fromInput.output;
  EXPECT_NE(fromInput.output.find("> action \"TWO WORDS\" #0x1F\ndone 1 0\n"), std::string::npos) << fromInput.output;
}

TEST(Plughost, MistakesEndTheRunWithAnErrorLine) {
  const struct {
    const char* arguments;
    const char* error;
    DWORD exitCode;
  } cases[] = {
      {"Lumidor.dll open start", "error: the plug-in has no export Start", 1},
      {"Lumidor.dll open jump", "error: unknown command: jump", 1},
      {"Lumidor.dll open \"action PLAY #12x\"", "error: bad number: #12x", 1},
      {"Lumidor.dll open \"action PLAY #99999999999\"", "error: bad number", 1},
      {"Lumidor.dll \"action A B C D E\"", "error: at most four parameters", 1},
      {"Lumidor.dll \"wait soon\"", "error: bad number of milliseconds", 1},
      {"NoSuchPlugin.dll open", "error: cannot load NoSuchPlugin.dll", 2},
  };
  for (const auto& c : cases) {
    const PlughostRun run = RunPlughost(c.arguments);
    EXPECT_EQ(run.exitCode, c.exitCode) << c.arguments << "\n" << run.output;
    EXPECT_NE(run.output.find(c.error), std::string::npos) << c.arguments << "\n" << run.output;
  }
  // Commands after the mistake do not run.
  const PlughostRun stopped = RunPlughost("Lumidor.dll jump open");
  EXPECT_EQ(stopped.output.find("description"), std::string::npos);
}

TEST(Plughost, HelpExplainsTheCommands) {
  const PlughostRun run = RunPlughost("--help");
  EXPECT_EQ(run.exitCode, 0u);
  for (const char* word : {"open [NAME]", "action WORD", "startmanual TEXT", "wait MS", "#0x1F"}) {
    EXPECT_NE(run.output.find(word), std::string::npos) << word;
  }
}

TEST(Plughost, PrintsAnEventWithItsTextParameter) {
  // The TV application's windows, visible to the plug-in in plughost's process.
  standins::TvScreenStandIn screen;
  standins::ApplicationWindowStandIn application("The Korvid - News (12)");
  const PlughostRun run = RunPlughost("Korvid.dll open \"action GET_TITLE_EVENT\" close");
  EXPECT_EQ(run.exitCode, 0u) << run.output;
  EXPECT_NE(run.output.find("> action GET_TITLE_EVENT\nevent KORVID \"TITLE\" 12 [\"News\"]\ndone 1 1\n"),
            std::string::npos)
      << run.output;
}

}  // namespace
