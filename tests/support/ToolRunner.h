// Runs a program of the project as a user would, through the shell, and collects
// what it printed and its exit status.
#pragma once

#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <initializer_list>
#include <string>

namespace testing_support {

struct TRun {
  int status = -1;  // the exit status; -1 when the program did not end normally
  std::string out;  // stdout and stderr together
};

// arg quoted for the shell.
inline std::string ShellQuoted(const std::string& arg) {
  std::string out = "'";
  for (char c : arg)
    out += c == '\'' ? std::string("'\\''") : std::string(1, c);
  return out + "'";
}

// Runs prefix (already quoted, for example "env X=1 'program'") with args.
inline TRun RunCommand(const std::string& prefix, std::initializer_list<std::string> args) {
  std::string command = prefix;
  for (const auto& a : args)
    command += " " + ShellQuoted(a);
  command += " 2>&1";
  TRun run;
  FILE* pipe = ::popen(command.c_str(), "r");
  if (pipe == nullptr) return run;
  std::array<char, 4096> buffer{};
  std::size_t n;
  while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
    run.out.append(buffer.data(), n);
  const int status = ::pclose(pipe);
  run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  return run;
}

}  // namespace testing_support
