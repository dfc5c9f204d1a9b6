#include "app/birth_argument.h"

#include <QFileInfo>

#include "app/application.h"

namespace velmora {

StartArguments ReadStartArguments(const QStringList& arguments) {
    StartArguments read;
    QStringList files;
    bool optionsEnded = false;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (!optionsEnded && argument == QLatin1String("--")) {
            optionsEnded = true;
        } else if (optionsEnded || !argument.startsWith(QLatin1Char('-'))) {
            files << argument;
        }
    }
    if (files.size() > 1) {
        read.Error = QStringLiteral("one birth file at a time, not %1 (see --help)").arg(files.size());
    } else if (!files.isEmpty()) {
        read.BirthFile = files.first();
    }
    return read;
}

QString AlreadyRunningNotice(const QString& birthFile) {
    const QString running = QString::fromLatin1(kAlreadyRunningMessage);
    if (birthFile.isEmpty()) return running;
    // One copy per user (see LockFileInstanceGuard); the running copy is
    // not asked to open it.
    return QStringLiteral("%1.\r\nTo see \u201C%2\u201D, open it there with File \u25B8 Open Birth\u2026")
        .arg(running, QFileInfo(birthFile).fileName());
}

}  // namespace velmora
