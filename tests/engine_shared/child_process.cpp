#include "tests/engine_shared/child_process.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <sstream>
#include <thread>

#ifdef _WIN32
#include <windows.h>
#else
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace orva::test {
namespace {

std::string readAll(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

#ifdef _WIN32

ChildResult runChild(const std::vector<std::string>& args, int timeoutMs) {
  ChildResult result;
  char dir[MAX_PATH];
  char path[MAX_PATH];
  if (GetTempPathA(MAX_PATH, dir) == 0 || GetTempFileNameA(dir, "orv", 0, path) == 0) return result;
  SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
  HANDLE out = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
  if (out == INVALID_HANDLE_VALUE) return result;
  std::string command;
  for (const std::string& arg : args) command += "\"" + arg + "\" ";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = nullptr;
  startup.hStdOutput = out;
  startup.hStdError = out;
  PROCESS_INFORMATION process{};
  result.started =
      CreateProcessA(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup, &process) != 0;
  CloseHandle(out);
  if (result.started) {
    result.finished = WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutMs)) == WAIT_OBJECT_0;
    if (!result.finished) {
      TerminateProcess(process.hProcess, 99);
      WaitForSingleObject(process.hProcess, INFINITE);
    }
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    result.exitCode = static_cast<int>(code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
  }
  result.output = readAll(path);
  DeleteFileA(path);
  return result;
}

#else

ChildResult runChild(const std::vector<std::string>& args, int timeoutMs) {
  ChildResult result;
  char path[] = "/tmp/orva-child-XXXXXX";
  const int fd = mkstemp(path);
  if (fd < 0) return result;
  std::vector<char*> argv;
  for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
  argv.push_back(nullptr);
  const pid_t pid = fork();
  if (pid == 0) {
    dup2(fd, 1);
    dup2(fd, 2);
    execv(argv[0], argv.data());
    _exit(127);
  }
  close(fd);
  result.started = pid > 0;
  if (result.started) {
    int status = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    pid_t done = 0;
    while ((done = waitpid(pid, &status, WNOHANG)) == 0 && std::chrono::steady_clock::now() < deadline) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    result.finished = done == pid;
    if (!result.finished) {
      kill(pid, SIGKILL);
      waitpid(pid, &status, 0);
    }
    result.crashed = WIFSIGNALED(status);
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  }
  result.output = readAll(path);
  unlink(path);
  return result;
}

#endif

}  // namespace orva::test
