// pelmora-eval on a real terminal (a pseudo-terminal): type keys, wait for what it shows.
#pragma once

#include "tests/tools/process.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <filesystem>

namespace pelmora::testing {

// pelmora-eval on its own terminal, with HOME in the given folder.
class Terminal {
  public:
    Terminal(const std::filesystem::path& home, std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), PELMORA_EVAL_PATH);
        winsize size{24, 100, 0, 0};
        if ((pid_ = forkpty(&fd_, nullptr, nullptr, &size)) != 0) return;
        setenv("TERM", "xterm", 1);
        setenv("HOME", home.c_str(), 1);
        execv(arguments[0].c_str(), argvOf(arguments).data());
        _exit(127);
    }
    ~Terminal() {
        if (pid_ > 0 && !reaped_) kill(pid_, SIGKILL), waitpid(pid_, nullptr, 0);
        if (fd_ >= 0) close(fd_);
    }

    void type(std::string_view keys) {
        ASSERT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Reads until `text` has been shown `times` times in all; false after 10 seconds.
    bool waitFor(std::string_view text, int times = 1) {
        return readUntil([&] {
            int n = 0;
            for (auto at = shown_.find(text); at != std::string::npos;
                 at = shown_.find(text, at + 1))
                ++n, seen_ = std::max(seen_, at + text.size());
            return n >= times;
        });
    }

    // Reads until the prompt is shown after everything waited for so far.
    bool waitForPrompt() {
        return readUntil([&] {
            auto at = shown_.find("> ", seen_);
            return at != std::string::npos && (seen_ = at + 2);
        });
    }

    // Ends the input (^D) at an empty prompt; the exit status. Retries first clear the line (^U):
    // a key typed while the line is being evaluated is read the terminal's way, not the prompt's.
    int finish() {
        for (int attempt = 0; attempt < 50; ++attempt, usleep(100'000)) {
            if (attempt == 0 || attempt % 10 == 9) type(attempt == 0 ? "\x04" : "\x15\x04");
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_)
                return reaped_ = true, WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        }
        return -1;
    }

    const std::string& shown() const { return shown_; }

  private:
    template <typename Done>
    bool readUntil(Done done) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        for (char buffer[4096]; !done();) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            pollfd p{fd_, POLLIN, 0};
            if (left.count() <= 0 || poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
            ssize_t n = read(fd_, buffer, sizeof buffer);
            if (n <= 0) return false;
            shown_.append(buffer, static_cast<std::size_t>(n));
        }
        return true;
    }

    pid_t pid_ = -1;
    int fd_ = -1;
    bool reaped_ = false;
    std::string shown_;
    std::size_t seen_ = 0;
};

}  // namespace pelmora::testing
