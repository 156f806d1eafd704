#include "ui/qt/application.h"

#include <QApplication>
#include <QIcon>
#include <QLibraryInfo>
#include <QPixmap>
#include <QStyleFactory>
#include <QTranslator>

#include "app/icons/kestramo.xpm"

namespace ui::qt {

void choosePlatform() {
    if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) return; // the user's choice stands
    if (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") || qEnvironmentVariableIsEmpty("DISPLAY"))
        return;
    // Wayland lets no program place its window or drop its minimise and maximise boxes, and
    // Qt's own decorations cut the caption: X through the compositor's bridge can do all
    // three. Wayland stays the fallback should X not answer.
    qputenv("QT_QPA_PLATFORM", "xcb;wayland");
}

bool loadToolkitTranslations() {
    static QTranslator translator;
    if (!translator.isEmpty()) return true;
    const QString dir = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    if (!translator.load(QStringLiteral("qtbase_bg"), dir)) return false;
    return QCoreApplication::installTranslator(&translator);
}

void setUpApplication() {
    QApplication::setApplicationName(QStringLiteral("Kestramo"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRAMO_VERSION));
    // Matches the running window to its desktop entry and icon.
    QGuiApplication::setDesktopFileName(QStringLiteral("bg.kestramo.Kestramo"));
    // One style everywhere, so the window looks the same on every desktop.
    QApplication::setStyle(QStyleFactory::create(QStringLiteral("Fusion")));
    QApplication::setWindowIcon(QIcon(QPixmap(kestramo_xpm)));
    // Every text on the window is Bulgarian, the toolkit's own too, whatever the locale.
    loadToolkitTranslations();
}

} // namespace ui::qt
