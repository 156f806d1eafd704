#include "ui/form_description.h"

#include <QFont>

namespace ui {

namespace {

const QString kCrLf = QStringLiteral("\r\n");

QString linesEndedByCrLf(const QStringList& lines) {
    QString text;
    for (const QString& line : lines)
        text += line + kCrLf;
    return text;
}

QStringList proverbs() {
    return {
        QStringLiteral("Болен здрав носи"),     QStringLiteral("Времето е пари"),
        QStringLiteral("Вълк в овча кожа"),     QStringLiteral("Гузен негонен бяга"),
        QStringLiteral("Ден година храни"),     QStringLiteral("Дим да го няма"),
        QStringLiteral("Един зяпа, друг лапа"), QStringLiteral("Зайци плаши"),
        QStringLiteral("Загладил косъма"),      QStringLiteral("Здрав като камък"),
        QStringLiteral("Зет като мед"),         QStringLiteral("Игла в купа сено"),
        QStringLiteral("Изплю камъчето"),       QStringLiteral("Капка в морето"),
        QStringLiteral("Клин клин избива"),     QStringLiteral("Колкото толкова"),
        QStringLiteral("Луд умора няма"),       QStringLiteral("Мъж под чехъл"),
        QStringLiteral("Мълчи като риба"),      QStringLiteral("Опекъл си работата"),
        QStringLiteral("От мен да мине"),
    };
}

QString description() {
    return linesEndedByCrLf({
        QStringLiteral("Умението за справянето с кризисна ситуация е свързано с:"),
        QStringLiteral("Наличие на характер."),
        QStringLiteral(
            "Необходимост от малко време за визуална реакция и осъзнаване на ситуацията."),
        QStringLiteral("Добра физическа и психическа подготовка."),
        QStringLiteral(
            "Да се реализира проект, представящ междупредметни връзки Физическо възпитание "
            "и Информатика."),
        QStringLiteral("Тема на проекта: Физическо възпитание - време за реакция."),
        QStringLiteral(
            "В графичен обект да се изписват последователно множество знаци и потребителят "
            "да сверява преброения от него конкретен знак с реалния брой."),
        QStringLiteral("В реализирания проект са създадени два теста:"),
        QStringLiteral("постепенно изписване (по вертикала) на текст"),
        QStringLiteral("преброяване на конкретна буква - избрана от потребителя."),
        QStringLiteral("И за двата теста е възможно да се регулира скоростта на извеждане."),
    });
}

QString saying() {
    return linesEndedByCrLf({
        QStringLiteral("Неприятното в това да си първият, направил нещо по "),
        QStringLiteral("правилния начин, е, че никой не оценява колко трудно е "),
        QStringLiteral("било. "),
    });
}

const QColor kPeach(255, 192, 128);
const QColor kLavender(192, 192, 255);
const QColor kViolet(128, 128, 255);

FormDescription makeForm() {
    using K = ControlKind;
    FormDescription form;
    form.name = QStringLiteral("Kestramo");
    form.caption = QStringLiteral("www.kestramo.bg  Физическа култура и спорт - реакция");
    form.clientWidth = 7140;
    form.clientHeight = 5175;
    form.back = kLavender;
    form.fontFamily = QStringLiteral("Times New Roman");
    form.fontPoints = 12;
    // One row a control, in the order of the drawing, front first.
    // clang-format off
    form.controls = {
        {.name = "List2", .kind = K::ListBox, .left = 0, .top = 2040, .width = 1335,
         .height = 345, .tabIndex = 15, .visible = false, .items = proverbs(),
         .accessibleName = QStringLiteral("Поговорки"),
         .role = QStringLiteral("Скрит списък с поговорките за теста с текст")},
        {.name = "List1", .index = 1, .kind = K::ListBox, .left = 6240, .top = 240,
         .width = 615, .height = 2055, .tabIndex = 13,
         .accessibleName = QStringLiteral("Букви"),
         .role = QStringLiteral("Списък на буквите: изберете буква, за да видите колко пъти е показана")},
        {.name = "List1", .index = 0, .kind = K::ListBox, .left = 6600, .top = 240,
         .width = 495, .height = 2055, .tabIndex = 12, .visible = false,
         .accessibleName = QStringLiteral("Брой на буквите"),
         .role = QStringLiteral("Скрит списък с броя на показванията на всяка буква")},
        {.name = "Command1", .index = 1, .kind = K::CommandButton, .left = 5760, .top = 2400,
         .width = 1215, .height = 495, .tabIndex = 11, .text = QStringLiteral("Чисти"),
         .back = QColor(255, 0, 0),
         .accessibleName = QStringLiteral("Чисти"),
         .role = QStringLiteral("Бутон: спира и изчиства упражнението")},
        {.name = "Command1", .index = 0, .kind = K::CommandButton, .left = 120, .top = 2400,
         .width = 1215, .height = 495, .tabIndex = 10, .text = QStringLiteral("Почни"),
         .back = QColor(128, 255, 128),
         .accessibleName = QStringLiteral("Почни"),
         .role = QStringLiteral("Бутон: започва ново упражнение")},
        {.name = "Timer1", .kind = K::Timer, .interval = 200},
        {.name = "Frame1", .kind = K::Frame, .left = 120, .top = 600, .width = 1215,
         .height = 1215, .tabIndex = 6, .text = QStringLiteral("Вид"), .back = kLavender,
         .accessibleName = QStringLiteral("Вид"),
         .role = QStringLiteral("Група за избор на теста")},
        {.name = "Option1", .index = 1, .kind = K::OptionButton, .left = 120, .top = 720,
         .width = 975, .height = 375, .tabIndex = 8, .text = QStringLiteral("Знак"),
         .back = kViolet, .container = "Frame1",
         .accessibleName = QStringLiteral("Знак"),
         .role = QStringLiteral("Избор на теста с преброяване на букви")},
        {.name = "Option1", .index = 0, .kind = K::OptionButton, .left = 120, .top = 360,
         .width = 975, .height = 375, .tabIndex = 7, .text = QStringLiteral("Текст"),
         .back = kViolet, .checked = true, .container = "Frame1",
         .accessibleName = QStringLiteral("Текст"),
         .role = QStringLiteral("Избор на теста с постепенно изписване на текст")},
        {.name = "Picture1", .kind = K::PictureBox, .left = 1800, .top = 1080, .width = 3855,
         .height = 975, .tabIndex = 4,
         .accessibleName = QStringLiteral("Лента на скоростта"),
         .role = QStringLiteral("Лента на скоростта: червена до избраната скорост, зелена след нея")},
        {.name = "HScroll1", .kind = K::HScrollBar, .left = 1560, .top = 2040, .width = 4335,
         .height = 255, .tabIndex = 3,
         .accessibleName = QStringLiteral("Скорост"),
         .role = QStringLiteral("Плъзгач за скоростта: от 400 до 100 милисекунди между две стъпки"),
         .range = {.min = 0, .max = 100, .value = 0}},
        {.name = "Text1", .index = 1, .kind = K::TextBox, .left = 600, .top = 3240,
         .width = 6735, .height = 1815, .tabIndex = 1, .text = saying(), .visible = false,
         .accessibleName = QStringLiteral("Мисъл"),
         .role = QStringLiteral("Скрит текст с мисъл")},
        {.name = "Text1", .index = 0, .kind = K::TextBox, .left = 120, .top = 2880,
         .width = 6855, .height = 2295, .tabIndex = 0, .text = description(),
         .accessibleName = QStringLiteral("Описание"),
         .role = QStringLiteral("Описание на упражнението, само за четене")},
        {.name = "Label1", .index = 3, .kind = K::Label, .left = 2880, .top = 2400,
         .width = 1695, .height = 495, .tabIndex = 14, .back = kPeach, .fontPoints = 24,
         .role = QStringLiteral("Брояч на стъпките")},
        {.name = "Label1", .index = 2, .kind = K::Label, .left = 1800, .top = 600,
         .width = 3855, .height = 495, .tabIndex = 9, .back = kPeach, .fontPoints = 24,
         .role = QStringLiteral("Покривало на поговорката; показаната буква; буквата и броят ѝ")},
        {.name = "Label1", .index = 1, .kind = K::Label, .left = 1800, .top = 600,
         .width = 3855, .height = 495, .tabIndex = 5,
         .text = QStringLiteral("Честота на въздействие"), .back = kPeach, .fontPoints = 18,
         .role = QStringLiteral("Поговорката на упражнението")},
        {.name = "Label1", .index = 0, .kind = K::Label, .left = 1200, .top = 0, .width = 4695,
         .height = 375, .tabIndex = 2,
         .text = QStringLiteral("Физическо възпитание - време за реакция"), .back = kPeach,
         .role = QStringLiteral("Заглавие")},
    };
    // clang-format on
    return form;
}

} // namespace

const FormDescription& kestramoForm() {
    static const FormDescription form = makeForm();
    return form;
}

QFont formFont(const FormDescription& form, int points) {
    QFont font(form.fontFamily);
    font.setStyleHint(QFont::Serif);
    font.setWeight(QFont::Normal);
    font.setItalic(false);
    font.setUnderline(false);
    font.setStrikeOut(false);
    // 96 dots per inch: a point is 4/3 of a pixel.
    font.setPixelSize(points * 4 / 3);
    return font;
}

} // namespace ui
