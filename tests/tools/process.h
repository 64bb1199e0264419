// Runs a program as a process with bytes on standard input; collects its output and status.
#pragma once

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

extern char** environ;

namespace pelmora::testing {

struct ProcessResult {
    std::string out, err;
    bool exited = false;  // ended by itself, not by a signal
    int status = -1;
};

inline std::string readFile(const std::string& path) {
    std::ostringstream text;
    text << std::ifstream(path, std::ios::binary).rdbuf();
    return text.str();
}

inline std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

inline std::vector<char*> argvOf(std::vector<std::string>& arguments) {
    std::vector<char*> argv;
    for (auto& a : arguments) argv.push_back(a.data());
    argv.push_back(nullptr);
    return argv;
}

// Runs `arguments` (the program first) with `input` on standard input; standard output goes to
// `outPath` when one is given.
inline ProcessResult runProcess(std::vector<std::string> arguments, const std::string& input = "",
                                const char* outPath = nullptr) {
    FILE* files[3] = {std::tmpfile(), std::tmpfile(), std::tmpfile()};  // input, output, error
    std::fwrite(input.data(), 1, input.size(), files[0]);
    std::rewind(files[0]);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    for (int fd = 0; fd < 3; ++fd)
        posix_spawn_file_actions_adddup2(&actions, fileno(files[fd]), fd);
    if (outPath) posix_spawn_file_actions_addopen(&actions, 1, outPath, O_WRONLY | O_TRUNC, 0);
    auto argv = argvOf(arguments);
    pid_t pid = -1;
    int status = 0;
    ProcessResult result;
    if (posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ) == 0 &&
        waitpid(pid, &status, 0) == pid) {
        result.exited = WIFEXITED(status);
        result.status = result.exited ? WEXITSTATUS(status) : -1;
    }
    posix_spawn_file_actions_destroy(&actions);
    for (auto [file, text] : {std::pair{files[1], &result.out}, {files[2], &result.err}}) {
        text->resize(static_cast<std::size_t>(lseek(fileno(file), 0, SEEK_END)));
        if (pread(fileno(file), text->data(), text->size(), 0) < 0) text->clear();
    }
    for (FILE* file : files) std::fclose(file);
    return result;
}

}  // namespace pelmora::testing
