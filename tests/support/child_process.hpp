// Runs a program as a child process with piped standard streams, for tests that check a
// real process's bytes, exit status and memory.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

struct ProcessOptions {
    std::vector<std::string> argv;
    std::vector<std::string> environment;  // NAME=VALUE, replacing or adding to the inherited ones
    std::string inputPath;                 // read standard input from this file, else a pipe
};

class ChildProcess {
public:
    explicit ChildProcess(const ProcessOptions& options);
    ~ChildProcess();  // kills the child if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    pid_t pid() const { return pid_; }
    void write(const std::string& bytes);
    void closeInput();

    // Collects output until predicate(output so far) holds or the time is up; true if it held.
    bool waitForOutput(const std::function<bool(const std::string&)>& predicate,
                       std::chrono::milliseconds timeout);

    // Waits for the exit, collecting output; false if the time ran out first.
    bool waitForExit(std::chrono::milliseconds timeout);

    // Peak resident memory in KiB while running, from /proc; 0 once the child is gone.
    long peakMemoryKiB() const;

    void kill();

    const std::string& output() const { return out_; }
    const std::string& errors() const { return err_; }
    bool exited() const { return exited_; }
    int exitStatus() const { return exitStatus_; }  // -1 unless it exited normally

private:
    void pump();
    bool reap(bool block);

    pid_t pid_ = -1;
    int inFd_ = -1;
    int outFd_ = -1;
    int errFd_ = -1;
    std::string out_;
    std::string err_;
    bool exited_ = false;
    int exitStatus_ = -1;
};
