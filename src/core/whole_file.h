#pragma once

#include <string>
#include <string_view>

namespace velmora::core {

// What became of a whole-file write.
struct WholeFileWrite {
    enum class Outcome {
        Written,
        NotARegularFile,  // a device, FIFO, socket or folder stands there: left alone
        Failed,           // the old file, if any, is as it was
    };
    Outcome Result = Outcome::Failed;
    std::string Error;  // why not, one line without the path ("it is a FIFO, not a regular file"); empty when written

    explicit operator bool() const { return Result == Outcome::Written; }
};

// Writes `bytes` to the file at `path` whole or not at all: into a temporary
// file beside it, every byte checked and flushed to the disk (fsync), then
// renamed over it. On failure the old file is as it was and no temporary
// file is left.
//
// - Only a regular file is ever replaced: a device node (/dev/null), FIFO,
//   socket or folder at the path is refused and left as it is.
// - A symbolic link is written through: its target gets the bytes, the link
//   stays a link (a link to nothing creates its target).
// - A replaced file keeps its permission bits and, where the process may set
//   them (as root), its owner and group. A new file gets 0666 less the umask.
// - A file with several hard links becomes a file of its own, as with every
//   editor that saves this way.
WholeFileWrite WriteWholeFile(const std::string& path, std::string_view bytes);

}  // namespace velmora::core
