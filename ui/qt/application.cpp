#include "ui/qt/application.h"

#include <QApplication>
#include <QIcon>
#include <QPixmap>
#include <QStyleFactory>

#include "app/icons/kestramo.xpm"

namespace ui::qt {

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Kestramo"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    // Matches the running window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("bg.kestramo.Kestramo"));
    // One style everywhere, so the window looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QPixmap(kestramo_xpm)));
}

} // namespace ui::qt
