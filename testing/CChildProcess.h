// A program the test runs as a process of its own (veltrix-cli), with its
// output in files, so that tests can run several at once and stop them.
#pragma once

#include <chrono>
#include <string>
#include <sys/types.h>
#include <vector>

namespace vxtest {

class CChildProcess
{
public:
    CChildProcess() = default;
    // Kills a process still running.
    ~CChildProcess();
    CChildProcess(const CChildProcess&) = delete;
    CChildProcess& operator=(const CChildProcess&) = delete;

    // Starts `program` with `args`, the environment of the test plus `env`
    // ("NAME=value"), standard output into `outFile` and standard error into
    // `errFile`. False when it could not be started.
    bool Start(const std::string& program,
               const std::vector<std::string>& args,
               const std::vector<std::string>& env,
               const std::string& outFile,
               const std::string& errFile);
    // Waits for the end; its exit code, or -1 when it is still running after
    // `timeout` or ended by a signal.
    int Wait(std::chrono::milliseconds timeout);
    bool Running();
    // The process id, -1 before Start.
    pid_t Pid() const { return m_pid; }
    void Signal(int signal);

private:
    pid_t m_pid = -1;
    int m_exit = -1;
};

// The whole text of a file, "" when it cannot be read.
std::string ReadText(const std::string& path);

}  // namespace vxtest
