#include "report/whole_file.h"

#include <QFile>

#include "core/whole_file.h"

namespace velmora::report {

bool WriteWholeFile(const QString& path, const QByteArray& bytes, QString* error) {
    const core::WholeFileWrite written =
        core::WriteWholeFile(QFile::encodeName(path).toStdString(),
                             std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
    if (!written && error) *error = QString::fromLocal8Bit(written.Error.c_str());
    return static_cast<bool>(written);
}

}  // namespace velmora::report
