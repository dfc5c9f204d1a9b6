#include "core/whole_file.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <optional>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace velmora::core {

namespace {

// Links followed before the path is taken for a loop (the kernel's limit).
constexpr int kMaxLinks = 40;
// Names tried for the temporary file before giving up.
constexpr int kTemporaryAttempts = 32;

std::string ErrorText(int error) { return std::strerror(error); }

std::string FolderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string KindOf(mode_t mode) {
    if (S_ISCHR(mode)) return "a character device";
    if (S_ISBLK(mode)) return "a block device";
    if (S_ISFIFO(mode)) return "a FIFO";
    if (S_ISSOCK(mode)) return "a socket";
    if (S_ISDIR(mode)) return "a folder";
    return "not a regular file";
}

WholeFileWrite Failure(WholeFileWrite::Outcome outcome, std::string error) {
    WholeFileWrite result;
    result.Result = outcome;
    result.Error = std::move(error);
    return result;
}

// The file the bytes are for: `path` with every symbolic link followed, and
// what stands there now (nothing when it does not exist yet).
struct Target {
    std::string Path;
    std::optional<struct stat> Existing;
};

std::optional<Target> Resolve(const std::string& path, std::string& error) {
    Target target{path, std::nullopt};
    for (int links = 0; links <= kMaxLinks; ++links) {
        struct stat st {};
        if (::lstat(target.Path.c_str(), &st) != 0) {
            if (errno == ENOENT) return target;
            error = ErrorText(errno);
            return std::nullopt;
        }
        if (!S_ISLNK(st.st_mode)) {
            target.Existing = st;
            return target;
        }
        std::string link(static_cast<std::size_t>(st.st_size > 0 ? st.st_size : 255) + 1, '\0');
        const ssize_t length = ::readlink(target.Path.c_str(), link.data(), link.size());
        if (length < 0) {
            error = ErrorText(errno);
            return std::nullopt;
        }
        if (static_cast<std::size_t>(length) >= link.size()) {
            error = "a symbolic link on the way changed while it was read";
            return std::nullopt;
        }
        link.resize(static_cast<std::size_t>(length));
        target.Path = link.front() == '/' ? link : FolderOf(target.Path) + "/" + link;
    }
    error = ErrorText(ELOOP);
    return std::nullopt;
}

// A new file beside `target` no other process has opened: O_EXCL on a name
// of our own.
int CreateTemporary(const std::string& target, std::string& temporary) {
    const std::size_t slash = target.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::random_device seed;
    std::mt19937_64 random(static_cast<std::mt19937_64::result_type>(seed()) ^
                           static_cast<std::mt19937_64::result_type>(::getpid()));
    constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < kTemporaryAttempts; ++attempt) {
        std::string suffix(8, 'x');
        for (char& c : suffix) c = kLetters[random() % (sizeof kLetters - 1)];
        temporary = folder;
        temporary.append(".").append(name).append(".").append(suffix).append(".tmp");
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        if (written == 0) {
            errno = EIO;
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The folder's entry for the renamed file reaches the disk too. A folder
// that cannot be opened or synced (some file systems) is no failure: the
// file itself is on the disk.
void SyncFolder(const std::string& path) {
    const int fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

WholeFileWrite WriteWholeFile(const std::string& path, std::string_view bytes) {
    using Outcome = WholeFileWrite::Outcome;
    if (path.empty()) return Failure(Outcome::Failed, "no file name");
    std::string error;
    const std::optional<Target> target = Resolve(path, error);
    if (!target) return Failure(Outcome::Failed, error);
    if (target->Existing && !S_ISREG(target->Existing->st_mode))
        return Failure(Outcome::NotARegularFile,
                       "it is " + KindOf(target->Existing->st_mode) + ", not a regular file; it was left as it is");

    std::string temporary;
    const int fd = CreateTemporary(target->Path, temporary);
    if (fd < 0) return Failure(Outcome::Failed, ErrorText(errno));
    const auto abandon = [&](int failure) {
        ::close(fd);
        ::unlink(temporary.c_str());
        return Failure(Outcome::Failed, ErrorText(failure));
    };

    if (target->Existing) {
        const struct stat& old = *target->Existing;
        // Owner first: a change of owner clears the set-id bits the mode then
        // restores. Without the right to give the file away (not root) the
        // new file is the writer's, as with any editor.
        struct stat made {};
        if (::fstat(fd, &made) == 0 && (made.st_uid != old.st_uid || made.st_gid != old.st_gid)) {
            if (::fchown(fd, old.st_uid, old.st_gid) != 0) {
                [[maybe_unused]] const int groupOnly = ::fchown(fd, static_cast<uid_t>(-1), old.st_gid);
            }
        }
        if (::fchmod(fd, old.st_mode & 07777) != 0) return abandon(errno);
    }
    if (!WriteAll(fd, bytes)) return abandon(errno);
    if (::fsync(fd) != 0) return abandon(errno);
    if (::close(fd) != 0) {
        const int failure = errno;
        ::unlink(temporary.c_str());
        return Failure(Outcome::Failed, ErrorText(failure));
    }
    // What stood at the path may have been swapped meanwhile (a FIFO for
    // the file): only the file that was checked is replaced.
    struct stat now {};
    const bool present = ::lstat(target->Path.c_str(), &now) == 0;
    const bool same = target->Existing ? present && S_ISREG(now.st_mode) && now.st_dev == target->Existing->st_dev &&
                                             now.st_ino == target->Existing->st_ino
                                       : !present || S_ISREG(now.st_mode);
    if (!same) {
        ::unlink(temporary.c_str());
        return Failure(Outcome::Failed, "the file was replaced by another while it was being written");
    }
    if (::rename(temporary.c_str(), target->Path.c_str()) != 0) {
        const int failure = errno;
        ::unlink(temporary.c_str());
        return Failure(Outcome::Failed, ErrorText(failure));
    }
    SyncFolder(target->Path);
    return WholeFileWrite{Outcome::Written, {}};
}

}  // namespace velmora::core
