#include "pictures/run_isolated.h"

#include <poll.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

namespace glidtavla {

namespace {

// Address space for the child: a picture of the largest size with room to draw it.
constexpr rlim_t kChildMemory = rlim_t{2} << 30;

}  // namespace

std::optional<std::string> RunIsolated(const std::function<std::string()>& work,
                                       std::chrono::seconds limit, std::size_t maxOutput) {
    int channel[2];
    if (pipe(channel) != 0) return std::nullopt;
    const pid_t child = fork();
    if (child < 0) {
        close(channel[0]);
        close(channel[1]);
        return std::nullopt;
    }
    if (child == 0) {
        close(channel[0]);
        alarm(static_cast<unsigned>(limit.count()));
#if !defined(__SANITIZE_ADDRESS__)
        // The address sanitizer reserves far more address space than this for its own use.
        const rlimit memory{kChildMemory, kChildMemory};
        setrlimit(RLIMIT_AS, &memory);
#endif
        std::string out;
        try {
            out = work();
        } catch (...) {
            _exit(2);
        }
        if (out.size() > maxOutput) _exit(5);
        std::size_t done = 0;
        while (done < out.size()) {
            const ssize_t wrote = write(channel[1], out.data() + done, out.size() - done);
            if (wrote <= 0) _exit(3);
            done += static_cast<std::size_t>(wrote);
        }
        _exit(out.empty() ? 4 : 0);
    }
    close(channel[1]);
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
    if (!complete) kill(child, SIGKILL);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!complete || !WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return out;
}

}  // namespace glidtavla
