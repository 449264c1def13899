#include "pictures/run_isolated.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/mman.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace glidtavla {

namespace {

// Address space for the child: a picture of the largest size with room to draw it.
constexpr rlim_t kChildMemory = rlim_t{2} << 30;

// The input as a file in memory, read from its start: the child may read it at its own pace
// while we read what it writes, with no pipe to fill up between us.
int InputFile(const std::string& input) {
    const int fd = memfd_create("glidtavla-input", MFD_CLOEXEC);
    if (fd < 0) return -1;
    std::size_t done = 0;
    while (done < input.size()) {
        const ssize_t wrote = write(fd, input.data() + done, input.size() - done);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) {
            close(fd);
            return -1;
        }
        done += static_cast<std::size_t>(wrote);
    }
    if (lseek(fd, 0, SEEK_SET) != 0) {
        close(fd);
        return -1;
    }
    return fd;
}

}  // namespace

std::optional<std::string> RunIsolated(const std::string& program,
                                       const std::vector<std::string>& arguments,
                                       const std::string& input, std::chrono::seconds limit,
                                       std::size_t maxOutput, IsolatedFailure* why) {
    IsolatedFailure ignored = IsolatedFailure::Failed;
    IsolatedFailure& failure = why != nullptr ? *why : ignored;
    failure = IsolatedFailure::CouldNotStart;
    if (access(program.c_str(), X_OK) != 0) return std::nullopt;
    // Everything the child needs is made before the fork: after it, only exec is safe in a
    // program with threads.
    std::vector<std::string> words{program};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words)
        argv.push_back(word.data());
    argv.push_back(nullptr);

    const int in = InputFile(input);
    if (in < 0) return std::nullopt;
    const int nowhere = open("/dev/null", O_WRONLY | O_CLOEXEC);
    int channel[2];
    if (nowhere < 0 || pipe2(channel, O_CLOEXEC) != 0) {
        close(in);
        if (nowhere >= 0) close(nowhere);
        return std::nullopt;
    }
    const pid_t child = fork();
    if (child < 0) {
        close(in);
        close(nowhere);
        close(channel[0]);
        close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        // dup2 onto itself would keep close-on-exec: the flag is cleared instead.
        for (const auto& [from, to] :
             {std::pair{in, STDIN_FILENO}, std::pair{channel[1], STDOUT_FILENO},
              std::pair{nowhere, STDERR_FILENO}}) {
            if (from == to ? fcntl(to, F_SETFD, 0) != 0 : dup2(from, to) != to) _exit(126);
        }
#if !defined(__SANITIZE_ADDRESS__)
        // The address sanitizer reserves far more address space than this for its own use.
        const rlimit memory{kChildMemory, kChildMemory};
        setrlimit(RLIMIT_AS, &memory);
#endif
        execv(argv[0], argv.data());
        _exit(127);
    }
    close(in);
    close(nowhere);
    close(channel[1]);
    failure = IsolatedFailure::Failed;
    std::string out;
    const auto deadline = std::chrono::steady_clock::now() + limit;
    bool complete = false;
    char buffer[65536];
    while (std::chrono::steady_clock::now() < deadline) {
        pollfd fd{channel[0], POLLIN, 0};
        if (poll(&fd, 1, 100) < 0 && errno != EINTR) break;
        if (fd.revents == 0) continue;
        const ssize_t got = read(channel[0], buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) {
            complete = got == 0;
            break;
        }
        out.append(buffer, static_cast<std::size_t>(got));
        if (out.size() > maxOutput) break;  // refused: a picture, not a flood
    }
    close(channel[0]);
    if (!complete && std::chrono::steady_clock::now() >= deadline)
        failure = IsolatedFailure::RanTooLong;
    if (!complete) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0 || out.empty())
        return std::nullopt;
    return out;
}

}  // namespace glidtavla
