#pragma once

#include <QString>
#include <QStringList>

namespace velmora {

// The birth file named on the command line ("velmora-arudha-lagna
// asha.vbirth", as the desktop entry's %f passes it), read from the
// arguments Qt leaves once it has taken its own (-style, -platform ...).
// Other arguments that start with "-" are left to Qt as before; after "--"
// every argument is a file name. One file at most: more is an Error.
struct StartArguments {
    QString BirthFile;  // empty: none given
    QString Error;      // empty: the arguments are fine
};
StartArguments ReadStartArguments(const QStringList& arguments);

// The notice of a second copy: the one the program has always shown and,
// when a file was given, where to open it instead.
QString AlreadyRunningNotice(const QString& birthFile);

}  // namespace velmora
