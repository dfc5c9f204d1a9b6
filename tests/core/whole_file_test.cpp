#include "core/whole_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dirent.h>
#include <fstream>
#include <iterator>
#include <set>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

#include "core/file_size_limit.h"

namespace velmora::core {
namespace {

class Folder {
public:
    Folder() {
        char name[] = "/tmp/whole-file-test-XXXXXX";
        path_ = ::mkdtemp(name);
    }
    ~Folder() { std::system(("rm -rf '" + path_ + "'").c_str()); }
    Folder(const Folder&) = delete;
    Folder& operator=(const Folder&) = delete;

    std::string operator/(const std::string& name) const { return path_ + "/" + name; }
    // Every entry, hidden ones included: a temporary file left behind shows.
    std::set<std::string> Entries() const {
        std::set<std::string> names;
        if (DIR* dir = ::opendir(path_.c_str())) {
            while (const dirent* entry = ::readdir(dir)) {
                const std::string name = entry->d_name;
                if (name != "." && name != "..") names.insert(name);
            }
            ::closedir(dir);
        }
        return names;
    }

private:
    std::string path_;
};

std::string Read(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void Write(const std::string& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct stat Lstat(const std::string& path) {
    struct stat st {};
    EXPECT_EQ(::lstat(path.c_str(), &st), 0) << path;
    return st;
}

TEST(WholeFile, WritesANewFileWithTheUmasksModeAndReplacesAnOldOneKeepingItsMode) {
    Folder folder;
    const std::string path = folder / "birth.vbirth";
    const mode_t previous = ::umask(027);
    const WholeFileWrite made = WriteWholeFile(path, "first");
    ::umask(previous);
    ASSERT_TRUE(made) << made.Error;
    EXPECT_EQ(Read(path), "first");
    EXPECT_EQ(Lstat(path).st_mode & 07777, mode_t(0640));

    ASSERT_EQ(::chmod(path.c_str(), 0604), 0);
    ASSERT_TRUE(WriteWholeFile(path, std::string(100000, 'x')));
    EXPECT_EQ(Read(path), std::string(100000, 'x'));
    EXPECT_EQ(Lstat(path).st_mode & 07777, mode_t(0604));
    // A read-only file is replaced too (its folder allows it), still read-only.
    ASSERT_EQ(::chmod(path.c_str(), 0444), 0);
    ASSERT_TRUE(WriteWholeFile(path, ""));
    EXPECT_EQ(Read(path), "");
    EXPECT_EQ(Lstat(path).st_mode & 07777, mode_t(0444));
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"birth.vbirth"});
}

TEST(WholeFile, AsRootTheOwnerAndGroupStay) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    Folder folder;
    const std::string path = folder / "theirs.vbirth";
    Write(path, "old");
    ASSERT_EQ(::chown(path.c_str(), 65534, 65534), 0);
    ASSERT_EQ(::chmod(path.c_str(), 02640), 0);
    ASSERT_TRUE(WriteWholeFile(path, "new"));
    const struct stat st = Lstat(path);
    EXPECT_EQ(st.st_uid, uid_t(65534));
    EXPECT_EQ(st.st_gid, gid_t(65534));
    EXPECT_EQ(st.st_mode & 07777, mode_t(02640));  // the set-group-id bit survives the change of owner
}

TEST(WholeFile, RefusesToReplaceAnythingButARegularFile) {
    Folder folder;
    const std::string fifo = folder / "fifo";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const std::string sub = folder / "folder";
    ASSERT_EQ(::mkdir(sub.c_str(), 0700), 0);
    const std::string socketPath = folder / "socket";
    const int listening = ::socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    socketPath.copy(address.sun_path, sizeof address.sun_path - 1);
    ASSERT_EQ(::bind(listening, reinterpret_cast<const sockaddr*>(&address), sizeof address), 0);

    for (const auto& [path, kind] : std::initializer_list<std::pair<std::string, std::string>>{
             {fifo, "a FIFO"}, {sub, "a folder"}, {socketPath, "a socket"}, {"/dev/null", "a character device"}}) {
        const struct stat before = Lstat(path);
        const WholeFileWrite refused = WriteWholeFile(path, "bytes");
        EXPECT_EQ(refused.Result, WholeFileWrite::Outcome::NotARegularFile) << path;
        EXPECT_NE(refused.Error.find("it is " + kind + ", not a regular file"), std::string::npos) << refused.Error;
        const struct stat after = Lstat(path);
        EXPECT_EQ(after.st_mode, before.st_mode) << path;
        EXPECT_EQ(after.st_ino, before.st_ino) << path;
    }
    ::close(listening);
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"fifo", "folder", "socket"}));
}

TEST(WholeFile, WritesThroughSymbolicLinksAndKeepsThem) {
    Folder folder;
    ASSERT_EQ(::mkdir((folder / "real").c_str(), 0700), 0);
    const std::string target = folder / "real/birth.vbirth";
    Write(target, "old");
    ASSERT_EQ(::chmod(target.c_str(), 0600), 0);
    // A relative link to a relative link: each is followed from its own folder.
    ASSERT_EQ(::symlink("real/birth.vbirth", (folder / "inner").c_str()), 0);
    ASSERT_EQ(::symlink("inner", (folder / "outer").c_str()), 0);
    ASSERT_TRUE(WriteWholeFile(folder / "outer", "new"));
    EXPECT_EQ(Read(target), "new");
    EXPECT_TRUE(S_ISLNK(Lstat(folder / "outer").st_mode));
    EXPECT_TRUE(S_ISLNK(Lstat(folder / "inner").st_mode));
    EXPECT_EQ(Lstat(target).st_mode & 07777, mode_t(0600));

    // A link to nothing creates what it names.
    ASSERT_EQ(::symlink((folder / "real/new.vbirth").c_str(), (folder / "dangling").c_str()), 0);
    ASSERT_TRUE(WriteWholeFile(folder / "dangling", "made"));
    EXPECT_EQ(Read(folder / "real/new.vbirth"), "made");
    EXPECT_TRUE(S_ISLNK(Lstat(folder / "dangling").st_mode));

    // A link to a FIFO is refused like the FIFO; a loop fails.
    ASSERT_EQ(::mkfifo((folder / "real/fifo").c_str(), 0600), 0);
    ASSERT_EQ(::symlink("real/fifo", (folder / "to-fifo").c_str()), 0);
    EXPECT_EQ(WriteWholeFile(folder / "to-fifo", "x").Result, WholeFileWrite::Outcome::NotARegularFile);
    EXPECT_TRUE(S_ISFIFO(Lstat(folder / "real/fifo").st_mode));
    ASSERT_EQ(::symlink("loop", (folder / "loop").c_str()), 0);
    const WholeFileWrite loop = WriteWholeFile(folder / "loop", "x");
    EXPECT_EQ(loop.Result, WholeFileWrite::Outcome::Failed);
    EXPECT_FALSE(loop.Error.empty());
    EXPECT_EQ(folder.Entries(), (std::set<std::string>{"real", "inner", "outer", "dangling", "to-fifo", "loop"}));
}

TEST(WholeFile, AShortWriteLeavesTheOldFileAndNoTemporary) {
    Folder folder;
    const std::string path = folder / "kept.vbirth";
    Write(path, "the old birth");
    WholeFileWrite failed;
    {
        const testing::FileSizeLimit limit(512);
        failed = WriteWholeFile(path, std::string(4096, 'y'));
    }
    EXPECT_EQ(failed.Result, WholeFileWrite::Outcome::Failed);
    EXPECT_NE(failed.Error.find("too large"), std::string::npos) << failed.Error;
    EXPECT_EQ(Read(path), "the old birth");
    EXPECT_EQ(folder.Entries(), std::set<std::string>{"kept.vbirth"});

    const WholeFileWrite nowhere = WriteWholeFile(folder / "missing/x.vbirth", "x");
    EXPECT_EQ(nowhere.Result, WholeFileWrite::Outcome::Failed);
    EXPECT_NE(nowhere.Error.find("No such file"), std::string::npos) << nowhere.Error;
    EXPECT_FALSE(WriteWholeFile("", "x"));
}

}  // namespace
}  // namespace velmora::core
