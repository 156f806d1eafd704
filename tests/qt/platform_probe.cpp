// Opens the window as the program does, from the same platform choice, and prints what
// the desktop made of it: the platform, the window's buttons, caption and place.
#include "app/kestramo.h"
#include "ui/qt/application.h"
#include "ui/qt/window.h"

#include <QApplication>
#include <QScreen>
#include <QTimer>

#include <cstdio>

int main(int argc, char** argv) {
    int qtArgc = argc > 0 ? 1 : 0;
    ui::qt::choosePlatform();
    QApplication app(qtArgc, argv);
    ui::qt::setUpApplication();
    ui::qt::FormWindow window;
    Kestramo form(window);
    window.showCentred();
    QTimer::singleShot(1500, [&] {
        QWidget* w = window.window();
        const Qt::WindowFlags flags = w->windowFlags();
        const QRect screen = w->screen()->availableGeometry();
        const QRect frame = w->frameGeometry();
        std::printf("platform: %s\n", qPrintable(QGuiApplication::platformName()));
        std::printf("buttons: close %s, minimise %s, maximise %s\n",
                    flags & Qt::WindowCloseButtonHint ? "yes" : "no",
                    flags & Qt::WindowMinimizeButtonHint ? "yes" : "no",
                    flags & Qt::WindowMaximizeButtonHint ? "yes" : "no");
        std::printf("caption: %s\n", qPrintable(w->windowTitle()));
        std::printf("client: %dx%d, fixed %s\n", w->width(), w->height(),
                    w->minimumSize() == w->maximumSize() ? "yes" : "no");
        std::printf("centre offset: %d,%d\n", frame.center().x() - screen.center().x(),
                    frame.center().y() - screen.center().y());
        QApplication::quit();
    });
    return app.exec();
}
