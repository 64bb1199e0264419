// pelmora-eval on a real terminal (a pseudo-terminal): type keys, wait for what it shows.
#pragma once

#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace pelmora::testing {

inline constexpr std::string_view kEndOfInput = "\x04";
inline constexpr std::string_view kClearLine = "\x15";

// pelmora-eval on its own terminal, with HOME in a fresh folder.
class Terminal {
  public:
    Terminal(const std::filesystem::path& home, std::vector<std::string> arguments = {}) {
        arguments.insert(arguments.begin(), PELMORA_EVAL_PATH);
        winsize size{24, 100, 0, 0};
        pid_ = forkpty(&fd_, nullptr, nullptr, &size);
        if (pid_ == 0) {
            setenv("TERM", "xterm", 1);
            setenv("HOME", home.c_str(), 1);
            std::vector<char*> argv;
            for (auto& a : arguments) argv.push_back(a.data());
            argv.push_back(nullptr);
            execv(argv[0], argv.data());
            _exit(127);
        }
    }
    ~Terminal() {
        if (pid_ > 0 && !reaped_) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        if (fd_ >= 0) close(fd_);
    }

    void type(std::string_view keys) {
        ASSERT_EQ(write(fd_, keys.data(), keys.size()), static_cast<ssize_t>(keys.size()));
    }

    // Reads until `text` has been shown `times` times in all; false after 10 seconds.
    bool waitFor(std::string_view text, int times = 1) {
        return readUntil([&] { return count(text) >= times; });
    }

    // Reads until the prompt is shown after everything waited for so far.
    bool waitForPrompt() {
        return readUntil([&] {
            auto at = shown_.find("> ", seen_);
            if (at == std::string::npos) return false;
            seen_ = at + 2;
            return true;
        });
    }

    int count(std::string_view text) {
        int n = 0;
        for (auto at = shown_.find(text); at != std::string::npos; at = shown_.find(text, at + 1)) {
            ++n;
            seen_ = std::max(seen_, at + text.size());
        }
        return n;
    }

    // Ends the input at an empty prompt; the exit status.
    int finish() {
        for (int attempt = 0; attempt < 50; ++attempt) {
            // Retries first clear the line: a key typed while the line is being evaluated
            // is read the terminal's way, not the prompt's.
            if (attempt == 0) type(kEndOfInput);
            if (attempt % 10 == 9) type(std::string(kClearLine) + std::string(kEndOfInput));
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            usleep(100'000);
        }
        return -1;
    }

    const std::string& shown() const { return shown_; }

  private:
    template <typename Done>
    bool readUntil(Done done) {
        auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
        while (!done()) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                deadline - std::chrono::steady_clock::now());
            if (left.count() <= 0) return false;
            pollfd p{fd_, POLLIN, 0};
            if (poll(&p, 1, static_cast<int>(left.count())) <= 0) return false;
            char buffer[4096];
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
