#include "ui/appearance.h"

#include <QFontDatabase>
#include <QIcon>
#include <QMouseEvent>

namespace velmora::appearance {

namespace {

QString FirstInstalled(std::initializer_list<const char*> families) {
    const QStringList installed = QFontDatabase::families();
    for (const char* family : families) {
        if (installed.contains(QString::fromLatin1(family), Qt::CaseInsensitive)) return QString::fromLatin1(family);
    }
    return QString::fromLatin1(*families.begin());
}

}  // namespace

QFont ProgramFont(int pointSize) {
    static const QString family = FirstInstalled({"Verdana", "DejaVu Sans"});
    return QFont(family, pointSize);
}

QFont SignNumberFont(int pointSize) {
    static const QString family = FirstInstalled({"Courier New", "Liberation Mono", "DejaVu Sans Mono"});
    QFont font(family, pointSize);
    font.setStyleHint(QFont::TypeWriter);
    return font;
}

QIcon ProgramIcon() { return QIcon(QStringLiteral(":/velmora/icon.png")); }

PageLink::PageLink(const QString& text, QWidget* parent) : QLabel(text, parent) {
    setCursor(Qt::PointingHandCursor);
}

void PageLink::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint())) {
        if (OnClick) OnClick();
        emit clicked();
    }
    QLabel::mouseReleaseEvent(event);
}

}  // namespace velmora::appearance
