#include "ui/form_description.h"

#include <algorithm>

namespace ui {

namespace {

std::u16string linesEndedByCrLf(std::initializer_list<std::u16string_view> lines) {
    std::u16string text;
    for (const std::u16string_view line : lines) {
        text += line;
        text += u"\r\n";
    }
    return text;
}

std::vector<std::u16string> proverbs() {
    return {
        u"Болен здрав носи", u"Времето е пари",   u"Вълк в овча кожа",     u"Гузен негонен бяга",
        u"Ден година храни", u"Дим да го няма",   u"Един зяпа, друг лапа", u"Зайци плаши",
        u"Загладил косъма",  u"Здрав като камък", u"Зет като мед",         u"Игла в купа сено",
        u"Изплю камъчето",   u"Капка в морето",   u"Клин клин избива",     u"Колкото толкова",
        u"Луд умора няма",   u"Мъж под чехъл",    u"Мълчи като риба",      u"Опекъл си работата",
        u"От мен да мине",
    };
}

std::u16string description() {
    return linesEndedByCrLf({
        u"Умението за справянето с кризисна ситуация е свързано с:",
        u"Наличие на характер.",
        u"Необходимост от малко време за визуална реакция и осъзнаване на ситуацията.",
        u"Добра физическа и психическа подготовка.",
        u"Да се реализира проект, представящ междупредметни връзки Физическо възпитание "
        "и Информатика.",
        u"Тема на проекта: Физическо възпитание - време за реакция.",
        u"В графичен обект да се изписват последователно множество знаци и потребителят "
        "да сверява преброения от него конкретен знак с реалния брой.",
        u"В реализирания проект са създадени два теста:",
        u"постепенно изписване (по вертикала) на текст",
        u"преброяване на конкретна буква - избрана от потребителя.",
        u"И за двата теста е възможно да се регулира скоростта на извеждане.",
    });
}

std::u16string saying() {
    return linesEndedByCrLf({
        u"Неприятното в това да си първият, направил нещо по ",
        u"правилния начин, е, че никой не оценява колко трудно е ",
        u"било. ",
    });
}

constexpr Colour kPeach{255, 192, 128};
constexpr Colour kLavender{192, 192, 255};
constexpr Colour kViolet{128, 128, 255};

FormDescription makeForm() {
    using K = ControlKind;
    FormDescription form;
    form.name = "Kestramo";
    form.caption = u"www.kestramo.bg  Физическа култура и спорт - реакция";
    form.clientWidth = 7140;
    form.clientHeight = 5175;
    form.back = kLavender;
    form.font = {.family = u"Times New Roman", .points = 12};
    // One row a control, in the order of the drawing, front first.
    // clang-format off
    form.controls = {
        {.name = "List2", .kind = K::ListBox, .left = 0, .top = 2040, .width = 1335,
         .height = 345, .tabIndex = 15, .visible = false, .items = proverbs(),
         .accessibleName = u"Поговорки",
         .role = u"Скрит списък с поговорките за теста с текст"},
        {.name = "List1", .index = 1, .kind = K::ListBox, .left = 6240, .top = 240,
         .width = 615, .height = 2055, .tabIndex = 13,
         .accessibleName = u"Букви",
         .role = u"Изберете буква, за да видите колко пъти е показана"},
        {.name = "List1", .index = 0, .kind = K::ListBox, .left = 6600, .top = 240,
         .width = 495, .height = 2055, .tabIndex = 12, .visible = false,
         .accessibleName = u"Брой на буквите",
         .role = u"Скрит списък с броя на показванията на всяка буква"},
        {.name = "Command1", .index = 1, .kind = K::CommandButton, .left = 5760, .top = 2400,
         .width = 1215, .height = 495, .tabIndex = 11, .text = u"Чисти",
         .back = Colour{255, 0, 0},
         .accessibleName = u"Чисти",
         .role = u"Спира и изчиства упражнението"},
        {.name = "Command1", .index = 0, .kind = K::CommandButton, .left = 120, .top = 2400,
         .width = 1215, .height = 495, .tabIndex = 10, .text = u"Почни",
         .back = Colour{128, 255, 128},
         .accessibleName = u"Почни",
         .role = u"Започва ново упражнение"},
        {.name = "Timer1", .kind = K::Timer, .interval = 200},
        {.name = "Frame1", .kind = K::Frame, .left = 120, .top = 600, .width = 1215,
         .height = 1215, .tabIndex = 6, .text = u"Вид", .back = kLavender,
         .accessibleName = u"Вид",
         .role = u"Изберете теста"},
        {.name = "Option1", .index = 1, .kind = K::OptionButton, .left = 120, .top = 720,
         .width = 975, .height = 375, .tabIndex = 8, .text = u"Знак",
         .back = kViolet, .container = "Frame1",
         .accessibleName = u"Знак",
         .role = u"Тестът с преброяване на букви"},
        {.name = "Option1", .index = 0, .kind = K::OptionButton, .left = 120, .top = 360,
         .width = 975, .height = 375, .tabIndex = 7, .text = u"Текст",
         .back = kViolet, .checked = true, .container = "Frame1",
         .accessibleName = u"Текст",
         .role = u"Тестът с постепенно изписване на текст"},
        {.name = "Picture1", .kind = K::PictureBox, .left = 1800, .top = 1080, .width = 3855,
         .height = 975, .tabIndex = 4,
         .accessibleName = u"Лента на скоростта",
         .role = u"Червена до избраната скорост, зелена след нея"},
        {.name = "HScroll1", .kind = K::HScrollBar, .left = 1560, .top = 2040, .width = 4335,
         .height = 255, .tabIndex = 3,
         .accessibleName = u"Скорост",
         .role = u"От 400 до 100 милисекунди между две стъпки",
         .range = {.min = 0, .max = 100, .value = 0}},
        {.name = "Text1", .index = 1, .kind = K::TextBox, .left = 600, .top = 3240,
         .width = 6735, .height = 1815, .tabIndex = 1, .text = saying(), .visible = false,
         .accessibleName = u"Мисъл",
         .role = u"Скрит текст с мисъл"},
        {.name = "Text1", .index = 0, .kind = K::TextBox, .left = 120, .top = 2880,
         .width = 6855, .height = 2295, .tabIndex = 0, .text = description(),
         .accessibleName = u"Описание",
         .role = u"Какво представлява упражнението"},
        {.name = "Label1", .index = 3, .kind = K::Label, .left = 2880, .top = 2400,
         .width = 1695, .height = 495, .tabIndex = 14, .back = kPeach, .fontPoints = 24,
         .accessibleName = u"Брояч", .role = u"Стъпките от началото на теста"},
        {.name = "Label1", .index = 2, .kind = K::Label, .left = 1800, .top = 600,
         .width = 3855, .height = 495, .tabIndex = 9, .back = kPeach, .fontPoints = 24,
         .role = u"Покривало на поговорката; показаната буква; буквата и броят ѝ"},
        {.name = "Label1", .index = 1, .kind = K::Label, .left = 1800, .top = 600,
         .width = 3855, .height = 495, .tabIndex = 5,
         .text = u"Честота на въздействие", .back = kPeach, .fontPoints = 18,
         .role = u"Поговорката на упражнението"},
        {.name = "Label1", .index = 0, .kind = K::Label, .left = 1200, .top = 0, .width = 4695,
         .height = 375, .tabIndex = 2,
         .text = u"Физическо възпитание - време за реакция", .back = kPeach,
         .role = u"Заглавие"},
    };
    // clang-format on
    return form;
}

} // namespace

const FormDescription& kestramoForm() {
    static const FormDescription form = makeForm();
    return form;
}

Font fontOf(const FormDescription& form, const ControlDescription& control) {
    Font font = form.font;
    if (control.fontPoints) font.points = control.fontPoints;
    return font;
}

ScreenPoint windowOrigin(const ScreenRect& work, int width, int height) {
    const auto along = [](int start, int room, int size) {
        return std::max(start, std::min(start + (room - size) / 2, start + room - size));
    };
    return {along(work.left, work.width, width), along(work.top, work.height, height)};
}

} // namespace ui
