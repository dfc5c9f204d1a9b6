#include "cli/output.h"

#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>

namespace velmora::cli {

bool Output::Write(std::string_view bytes) {
    if (!error_.empty()) return false;
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd_, bytes.data(), bytes.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            error_ = std::string("writing the output failed: ") + std::strerror(n < 0 ? errno : EIO);
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool Output::Write(const QString& text) {
    const QByteArray bytes = text.toUtf8();
    return Write(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

int Output::Status() const {
    if (error_.empty()) return 0;
    std::fprintf(stderr, "velmora-arudha-lagna-cli: %s\n", error_.c_str());
    return kExitCannotWrite;
}

void IgnoreBrokenPipes() { std::signal(SIGPIPE, SIG_IGN); }

}  // namespace velmora::cli
