#pragma once

#include <QByteArray>
#include <QString>

namespace velmora::report {

// Writes bytes to path whole or not at all: into a temporary file beside
// it, moved over the old file only when every byte reached the disk. On
// failure the old file is as it was, no temporary file is left, and error
// (when given) says why. Anything but a regular file at the path (a device,
// a FIFO, a folder) is refused and left alone; a symbolic link is written
// through and kept (core::WriteWholeFile).
bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error = nullptr);

}  // namespace velmora::report
