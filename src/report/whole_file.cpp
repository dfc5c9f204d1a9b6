#include "report/whole_file.h"

#include <QSaveFile>

namespace velmora::report {

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    // Unbuffered, so a short write (a full disk, a size limit) shows in the
    // count: QSaveFile commits whatever reached the disk unless told.
    QSaveFile file(path);
    const bool written =
        file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) && file.write(bytes) == bytes.size() && file.commit();
    if (!written) {
        if (error) {
            *error = file.errorString();
            if (error->isEmpty()) *error = QStringLiteral("not every byte was written");
        }
        file.cancelWriting();
    }
    return written;
}

}  // namespace velmora::report
