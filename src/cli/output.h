#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace velmora::cli {

// Standard output, every write checked: a full disk or a closed pipe is
// noticed at the first write that fails.
class Output {
public:
    // The exit status for output that could not be written (sysexits.h
    // EX_CANTCREAT, as for files the tool cannot write).
    static constexpr int kExitCannotWrite = 73;

    // Writes all the bytes to file descriptor `fd` (1: standard output).
    // False, with the reason kept, when they could not all be written.
    explicit Output(int fd = 1) : fd_(fd) {}
    bool Write(std::string_view bytes);
    bool Write(const QString& text);  // as UTF-8

    // "writing the output failed: No space left on device".
    const std::string& Error() const { return error_; }

    // 0 after every write succeeded; else the message on standard error and
    // kExitCannotWrite.
    int Status() const;

private:
    int fd_;
    std::string error_;
};

// A closed pipe makes a write fail with EPIPE rather than end the process,
// so the tool can say so and exit 73.
void IgnoreBrokenPipes();

}  // namespace velmora::cli
