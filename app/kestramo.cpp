#include "app/kestramo.h"

#include <QMessageBox>

#include <iostream>

namespace {

void showMessageBox(QWidget* window, const QString& message) {
    QMessageBox::critical(window, window->objectName(), message);
}

} // namespace

Kestramo::Kestramo(ErrorReporter reporter)
    : reporter_(reporter ? std::move(reporter) : ErrorReporter(showMessageBox)) {
    for (int16_t i = 0; i < Command1.count(); ++i)
        Command1[i].onClick = [this, i] { dispatch([this, i] { Command1_Click(i); }); };
    for (int16_t i = 0; i < Option1.count(); ++i)
        Option1[i].onClick = [this, i] { dispatch([this, i] { Option1_Click(i); }); };
    for (int16_t i = 0; i < List1.count(); ++i)
        List1[i].onClick = [this, i] { dispatch([this, i] { List1_Click(i); }); };
    Timer1.onTimer = [this] { dispatch([this] { Timer1_Timer(); }); };
    HScroll1.onChange = [this] { dispatch([this] { HScroll1_Change(); }); };
    dispatch([this] { Form_Load(); });
}

void Kestramo::dispatch(const std::function<void()>& handler) {
    // While a report is open its message loop still delivers events: they are dropped.
    if (reporting_) return;
    // A handler raised from inside another (a slider set from code) passes its error on,
    // so that the outer handler ends too.
    if (depth_ > 0) {
        handler();
        return;
    }
    QString failure;
    ++depth_;
    try {
        handler();
    } catch (const rt::RuntimeError& error) {
        failure = QStringLiteral("Грешка при изпълнение %1: %2")
                      .arg(int(error.number()))
                      .arg(error.description());
    } catch (const std::exception& error) {
        failure = QStringLiteral("Вътрешна грешка: %1").arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        failure = QStringLiteral("Вътрешна грешка");
    }
    --depth_;
    if (!failure.isEmpty()) report(failure);
}

void Kestramo::report(const QString& message) {
    reporting_ = true;
    // The run that failed cannot go on reliably: stop its ticks, so that one error gives
    // one report. The rest of the window stays as the error left it, ready for a new run.
    Timer1.Enabled(false);
    std::cerr << window()->objectName().toStdString() << ": " << message.toStdString() << std::endl;
    reporter_(window(), message);
    reporting_ = false;
}
