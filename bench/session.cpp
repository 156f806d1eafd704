// A scripted session on the real window, for memory checkers: start-up, a text test, a
// letter test, lookups of letters, a new run, and closing the window while it ticks.
// Exits with the status the program's message loop returns (0 after the close).
#include "app/kestramo.h"
#include "bench/scripted.h"
#include "ui/qt/access.h"
#include "ui/qt/application.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <deque>
#include <functional>
#include <memory>

namespace {

using bench::ScriptedRandom;

// Runs the steps one after another, each when the one before has finished.
class Script {
public:
    void then(std::function<bool()> step) { steps_.push_back(std::move(step)); }
    void start() {
        QTimer::singleShot(0, [this] { next(); });
    }

private:
    void next() {
        if (steps_.empty()) return;
        // A step that answers false is not done yet: it is asked again a little later.
        if (steps_.front()()) steps_.pop_front();
        QTimer::singleShot(20, [this] { next(); });
    }
    std::deque<std::function<bool()>> steps_;
};

void pickLetter(Kestramo& form, char c) {
    QListWidget* list = ui::qt::widgetOf(form.List1[1]);
    QListWidgetItem* item = list->item(c - 'A');
    list->scrollToItem(item);
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier,
                      list->visualItemRect(item).center());
    std::printf("lookup: %s\n", rt::toUtf8(form.Label1[2].Caption()).c_str());
}

} // namespace

int main(int argc, char** argv) {
    int qtArgc = argc > 0 ? 1 : 0;
    QApplication app(qtArgc, argv);
    ui::qt::setUpApplication();
    ScriptedRandom& draws = bench::installScriptedRandom();

    ui::qt::FormWindow window;
    Kestramo form(window);
    window.showCentred();
    const auto fastest = [&] { ui::qt::widgetOf(form.HScroll1)->setValue(100); };
    const auto stopped = [&] { return !form.Timer1.Enabled(); };

    Script script;
    script.then([&] {
        draws.values = {0.13f};
        ui::qt::widgetOf(form.Command1[0])->click(); // the text test
        fastest();
        return true;
    });
    script.then(stopped);
    script.then([&] {
        std::printf("text test: %s ticks\n", rt::toUtf8(form.Label1[3].Caption()).c_str());
        ui::qt::widgetOf(form.Option1[1])->click();
        draws.values = {0.5f};
        for (char c : std::string("KAKBAAKAAAAAAA"))
            draws.values.push_back(bench::letter(c));
        ui::qt::widgetOf(form.Command1[0])->click(); // the letter test
        fastest();
        return true;
    });
    script.then(stopped);
    script.then([&] {
        std::printf("letter test: %s ticks\n", rt::toUtf8(form.Label1[3].Caption()).c_str());
        for (char c : {'K', 'A', 'B', 'Z'})
            pickLetter(form, c);
        ui::qt::widgetOf(form.Command1[0])->click(); // a new run, closed while it ticks
        fastest();
        return true;
    });
    script.then([&] {
        if (rt::Val(form.Label1[3].Caption()) < 3) return false;
        ui::qt::windowOf(form)->close();
        return true;
    });
    script.start();
    return app.exec();
}
