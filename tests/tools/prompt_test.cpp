// pelmora-eval's prompt in a real terminal (a pseudo-terminal): line editing and history.
#include <gtest/gtest.h>

#include <poll.h>
#include <pty.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kUp = "\x1b[A";
constexpr std::string_view kDown = "\x1b[B";
constexpr std::string_view kLeft = "\x1b[D";
constexpr std::string_view kHome = "\x1b[H";
constexpr std::string_view kEnd = "\x1b[F";
constexpr std::string_view kEndOfInput = "\x04";
constexpr std::string_view kClearLine = "\x15";

// pelmora-eval on its own terminal, with HOME in a fresh folder.
class Terminal {
  public:
    Terminal(const fs::path& home, std::vector<std::string> arguments = {}) {
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
            return at != std::string::npos && (seen_ = at + 2);
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

    // Ends the input at an empty prompt; the exit status. A retry first clears the line: a key
    // typed while the line is being evaluated is read the terminal's way, not the prompt's.
    int finish() {
        type(kEndOfInput);
        for (int attempt = 1; attempt < 50; ++attempt) {
            int status = 0;
            if (waitpid(pid_, &status, WNOHANG) == pid_) {
                reaped_ = true;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            if (attempt % 10 == 0) type(std::string(kClearLine) + std::string(kEndOfInput));
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

class Prompt : public ::testing::Test {
  protected:
    void SetUp() override {
        home_ = fs::temp_directory_path() /
                ("pelmora-prompt-" + std::to_string(getpid()) + "-" +
                 ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(home_);
        fs::create_directories(home_);
    }
    void TearDown() override { fs::remove_all(home_); }

    // Types a line at the next prompt and waits for its answer to be shown `times` times in
    // all and the next prompt.
    static void enter(Terminal& t, std::string_view keys, std::string_view answer, int times = 1) {
        ASSERT_TRUE(t.waitForPrompt()) << t.shown();
        t.type(std::string(keys) + "\r");
        ASSERT_TRUE(t.waitFor(answer, times)) << t.shown();
    }
    static void finish(Terminal& t) {
        ASSERT_TRUE(t.waitForPrompt()) << t.shown();
        EXPECT_EQ(t.finish(), 0);
    }

    fs::path home_;
};

TEST_F(Prompt, UpRecallsTheLastLineAndKeysEditByCharacter) {
    Terminal t(home_);
    enter(t, "1+2", "Double: 3");
    enter(t, kUp, "Double: 3", 2);
    enter(t, std::string("23") + std::string(kLeft) + "+", "Double: 5");  // 2+3
    enter(t, std::string("2*3") + std::string(kHome) + "1+" + std::string(kEnd) + "0",
          "Double: 61");  // 1+2*30
    enter(t, std::string(kUp) + std::string(kUp) + std::string(kDown), "Double: 61", 2);
    // Left steps over the whole of "う", so "い" goes before it.
    enter(t, std::string("\"あう\"") + std::string(kLeft) + std::string(kLeft) + "い",
          "String: あいう");
    finish(t);
}

TEST_F(Prompt, HistoryOutlivesTheSessionOnlyWithAHistoryFile) {
    {
        Terminal t(home_);
        enter(t, "6*7", "Double: 42");
        finish(t);
    }
    EXPECT_TRUE(fs::is_empty(home_)) << "the prompt wrote into HOME without being asked";
    {
        Terminal t(home_);
        enter(t, kUp, "Empty:  [code 2]");  // nothing to recall: an empty line
        ASSERT_TRUE(t.waitForPrompt()) << t.shown();
        EXPECT_EQ(t.count("Double: 42"), 0) << t.shown();
        EXPECT_EQ(t.finish(), 0);
    }
    std::string file = (home_ / "history").string();
    {
        Terminal t(home_, {"--history", file});
        enter(t, "6*7", "Double: 42");
        finish(t);
    }
    ASSERT_TRUE(fs::exists(file));
    {
        Terminal t(home_, {"--history=" + file});
        enter(t, kUp, "Double: 42");
        finish(t);
    }
}

}  // namespace
