// The Qt program's entry: starts Qt, makes the window from the form's description, binds
// the form Kestramo to it and runs the message loop.
#include "app/kestramo.h"
#include "ui/qt/application.h"
#include "ui/qt/window.h"

#include <QApplication>

#include <cstdio>
#include <cstdlib>

namespace {

QtMessageHandler qtDefaultHandler = nullptr;

// Until the window system is reached, Qt's platform chatter is held back, and its
// fatal "no platform" message becomes one plain line and an exit instead of an abort.
void startupMessages(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        const QByteArray display = qgetenv("DISPLAY");
        const QByteArray which = display.isEmpty() ? QByteArray("DISPLAY не е зададен")
                                                   : "DISPLAY=" + display + " не отговаря";
        std::fprintf(stderr,
                     "Kestramo: няма достъпен графичен екран (%s), прозорецът не може да се "
                     "отвори.\n",
                     which.constData());
        std::_Exit(EXIT_FAILURE);
    }
    if (context.category && QByteArray(context.category).startsWith("qt.qpa")) return;
    if (qtDefaultHandler)
        qtDefaultHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

} // namespace

int main(int argc, char** argv) {
    // The program takes no command line: Qt sees only the program's name.
    int qtArgc = argc > 0 ? 1 : 0;
    ui::qt::choosePlatform();
    qtDefaultHandler = qInstallMessageHandler(startupMessages);
    QApplication app(qtArgc, argv);
    qInstallMessageHandler(qtDefaultHandler);

    ui::qt::setUpApplication();

    ui::qt::FormWindow window;
    Kestramo form(window);
    window.window()->setWindowIcon(QApplication::windowIcon());
    window.showCentred();
    return app.exec();
}
