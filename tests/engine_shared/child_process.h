// Runs a program as a child process with its output (stdout and stderr) in
// a temporary file, waiting at most a bound; for the host-exit tests.
#pragma once

#include <string>
#include <vector>

namespace orva::test {

struct ChildResult {
  bool started = false;
  bool finished = false;  // false: killed after the bound
  bool crashed = false;   // ended by a signal
  int exitCode = -1;
  std::string output;
};

ChildResult runChild(const std::vector<std::string>& args, int timeoutMs);

}  // namespace orva::test
