// The pictures of the teacher's guide, taken from the real window: at start-up, a text test
// half uncovered, a letter test running, a lookup after it, the slider at a faster pace.
// The draws are scripted and the ticks given by hand, so every build takes the same
// pictures: the guide can never fall behind the program.
//
// usage: kestramo_shots FOLDER   (on Qt's offscreen platform)
#include "app/kestramo.h"
#include "bench/scripted.h"
#include "ui/qt/access.h"
#include "ui/qt/application.h"

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>

#include <cstdio>

namespace {

using bench::drawFor;
using bench::letter;

class Shots {
public:
    Shots(Kestramo& form, const QString& folder) : form_(form), folder_(folder) {}

    bool take(const char* name) {
        QApplication::processEvents();
        QImage image = ui::qt::windowOf(form_)->grab().toImage();
        // No text chunks and a fixed resolution: the same picture gives the same bytes.
        image.setText(QString(), QString());
        image.setDotsPerMeterX(3780);
        image.setDotsPerMeterY(3780);
        const QString file = QDir(folder_).filePath(QString::fromLatin1(name) + ".png");
        if (!image.save(file, "PNG")) {
            std::fprintf(stderr, "kestramo_shots: cannot write %s\n", qPrintable(file));
            return false;
        }
        std::printf("%s\n", qPrintable(file));
        return true;
    }
    void ticks(int count) {
        for (int i = 0; i < count && form_.Timer1.Enabled(); ++i)
            form_.dispatch([this] { form_.Timer1_Timer(); });
    }

private:
    Kestramo& form_;
    QString folder_;
};

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: kestramo_shots FOLDER\n");
        return 2;
    }
    int qtArgc = 1;
    QApplication app(qtArgc, argv);
    ui::qt::setUpApplication();
    bench::ScriptedRandom& draws = bench::installScriptedRandom();
    QDir().mkpath(QString::fromLocal8Bit(argv[1]));

    ui::qt::FormWindow window;
    Kestramo form(window);
    window.showCentred();
    Shots shots(form, QString::fromLocal8Bit(argv[1]));
    bool ok = shots.take("start-up");

    // The text test: «Капка в морето», the cover half gone after 25 ticks.
    draws.values = {drawFor(13)};
    QTest::mouseClick(ui::qt::widgetOf(form.Command1[0]), Qt::LeftButton);
    shots.ticks(25);
    ok = ok && shots.take("text-test");

    // The letter test running at a faster pace: K, then letters, K among them.
    QTest::mouseClick(ui::qt::widgetOf(form.Option1[1]), Qt::LeftButton);
    draws.values = {drawFor(5)};
    for (const char c : std::string("KAXKBMKQATK"))
        draws.values.push_back(letter(c));
    QTest::mouseClick(ui::qt::widgetOf(form.Command1[0]), Qt::LeftButton);
    ui::qt::widgetOf(form.HScroll1)->setValue(70);
    shots.ticks(11);
    ok = ok && shots.take("letter-test");

    // To its end: A ten times; then the user looks up K, shown four times.
    for (int i = 0; i < 8; ++i)
        draws.values.push_back(letter('A'));
    shots.ticks(20);
    QListWidget* letters = ui::qt::widgetOf(form.List1[1]);
    QListWidgetItem* k = letters->item('K' - 'A');
    letters->scrollToItem(k);
    QTest::mouseClick(letters->viewport(), Qt::LeftButton, Qt::NoModifier,
                      letters->visualItemRect(k).center());
    ok = ok && shots.take("lookup");

    // «Чисти», then the slider moved towards the fastest pace.
    QTest::mouseClick(ui::qt::widgetOf(form.Command1[1]), Qt::LeftButton);
    ui::qt::widgetOf(form.HScroll1)->setValue(60);
    ok = ok && shots.take("faster");
    return ok ? 0 : 1;
}
