#include "support/child_process.hpp"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <stdexcept>
#include <thread>

extern char** environ;

namespace {

void setNonBlocking(int fd) { fcntl(fd, F_SETFL, fcntl(fd, F_GETFL) | O_NONBLOCK); }

// Appends whatever fd has ready; closes it and sets it to -1 at its end.
void drain(int& fd, std::string& into) {
    if (fd < 0) return;
    char buffer[65536];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n > 0) {
            into.append(buffer, static_cast<size_t>(n));
            continue;
        }
        if (n == 0) {
            ::close(fd);
            fd = -1;
        }
        return;
    }
}

}  // namespace

ChildProcess::ChildProcess(const ProcessOptions& options) {
    int in[2], out[2], err[2];
    if (pipe(in) != 0 || pipe(out) != 0 || pipe(err) != 0) throw std::runtime_error("pipe failed");
    // The given variables replace inherited ones of the same name.
    const auto overridden = [&](const std::string& entry) {
        const std::string name = entry.substr(0, entry.find('=') + 1);
        for (const std::string& e : options.environment)
            if (e.compare(0, name.size(), name) == 0) return true;
        return false;
    };
    std::vector<std::string> env;
    for (char** e = environ; *e != nullptr; ++e)
        if (!overridden(*e)) env.emplace_back(*e);
    for (const std::string& e : options.environment) env.push_back(e);
    std::vector<char*> envp, argv;
    for (std::string& e : env) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::vector<std::string> args = options.argv;
    for (std::string& a : args) argv.push_back(a.data());
    argv.push_back(nullptr);

    pid_ = fork();
    if (pid_ < 0) throw std::runtime_error("fork failed");
    if (pid_ == 0) {
        if (!options.inputPath.empty()) {
            const int fd = open(options.inputPath.c_str(), O_RDONLY);
            if (fd < 0) _exit(126);
            dup2(fd, 0);
        } else {
            dup2(in[0], 0);
        }
        dup2(out[1], 1);
        dup2(err[1], 2);
        for (int fd : {in[0], in[1], out[0], out[1], err[0], err[1]}) ::close(fd);
        execve(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    ::close(in[0]);
    ::close(out[1]);
    ::close(err[1]);
    inFd_ = in[1];
    outFd_ = out[0];
    errFd_ = err[0];
    if (!options.inputPath.empty()) closeInput();
    setNonBlocking(outFd_);
    setNonBlocking(errFd_);
}

ChildProcess::~ChildProcess() {
    kill();
    closeInput();
    if (outFd_ >= 0) ::close(outFd_);
    if (errFd_ >= 0) ::close(errFd_);
}

void ChildProcess::write(const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size() && inFd_ >= 0) {
        const ssize_t n = ::write(inFd_, bytes.data() + done, bytes.size() - done);
        if (n <= 0) break;
        done += static_cast<size_t>(n);
    }
}

void ChildProcess::closeInput() {
    if (inFd_ >= 0) ::close(inFd_);
    inFd_ = -1;
}

void ChildProcess::pump() {
    pollfd fds[2] = {{outFd_, POLLIN, 0}, {errFd_, POLLIN, 0}};
    poll(fds, 2, 10);
    drain(outFd_, out_);
    drain(errFd_, err_);
}

bool ChildProcess::reap(bool block) {
    if (exited_ || pid_ < 0) return true;
    int status = 0;
    const pid_t done = waitpid(pid_, &status, block ? 0 : WNOHANG);
    if (done != pid_) return false;
    exited_ = true;
    exitStatus_ = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return true;
}

bool ChildProcess::waitForOutput(const std::function<bool(const std::string&)>& predicate,
                                 std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    for (;;) {
        pump();
        if (predicate(out_)) return true;
        if (std::chrono::steady_clock::now() > deadline) return false;
        if (reap(false) && outFd_ < 0) return predicate(out_);
    }
}

bool ChildProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(false)) {
        pump();
        if (std::chrono::steady_clock::now() > deadline) return false;
    }
    // Output still in the pipes; bounded, in case something else holds them open.
    const auto drained = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    while ((outFd_ >= 0 || errFd_ >= 0) && std::chrono::steady_clock::now() < drained) pump();
    return true;
}

long ChildProcess::peakMemoryKiB() const {
    std::ifstream status("/proc/" + std::to_string(pid_) + "/status");
    std::string key;
    while (status >> key) {
        if (key == "VmHWM:") {
            long kib = 0;
            status >> kib;
            return kib;
        }
    }
    return 0;
}

void ChildProcess::kill() {
    if (pid_ > 0 && !exited_) {
        ::kill(pid_, SIGKILL);
        reap(true);
    }
}
