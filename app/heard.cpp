// What a screen reader hears beyond what the controls show: the start and end of a run
// and the answer of a lookup, each once and politely; and the labels that the cover hides
// from sight are left out of what it reads.
#include "app/kestramo.h"

#include <string>

namespace {

// The cover hides the proverb until it is below this height: the text test stops there.
constexpr float kCoverGone = 80;

std::u16string number(int n) {
    const std::string digits = std::to_string(n);
    return std::u16string(digits.begin(), digits.end());
}

std::u16string steps(const std::u16string& count) {
    return count + (count == u"1" ? u" стъпка" : u" стъпки");
}

// The tests by the captions of their options: «Текст» and «Знак».
std::u16string testName(const ui::FormDescription& form, int16_t kind) {
    for (const auto& control : form.controls)
        if (control.name == "Option1" && control.index == kind) return control.text;
    return {};
}

// The letters list's own description, from the form's.
std::u16string lettersRole(const ui::FormDescription& form) {
    for (const auto& control : form.controls)
        if (control.name == "List1" && control.index == 1) return control.role;
    return {};
}

} // namespace

void Kestramo::announceStart() {
    peer().announce(u"Тестът „" + testName(description(), TestKind) + u"“ започна, " +
                    number(Timer1.Interval()) + u" мс на стъпка.");
}

void Kestramo::announceEnd() {
    std::u16string message = u"Тестът „" + testName(description(), TestKind) + u"“ свърши след " +
                             steps(Label1[3].Caption()) + u".";
    if (TestKind == 1)
        message += u" Изберете буква от списъка, за да видите колко пъти е показана.";
    peer().announce(message);
}

void Kestramo::announceLookup() {
    if (List1[1].ListIndex() < 0) return;
    peer().announce(Label1[2].Caption());
    // Found again from the list itself: the answer leads its description.
    List1[1].AccessibleDescription(Label1[2].Caption() + u". " + lettersRole(description()));
}

void Kestramo::forgetLookup() {
    List1[1].AccessibleDescription(lettersRole(description()));
}

void Kestramo::tellReaders() {
    // The prompt lies under the cover: read only once the cover no longer hides it.
    Label1[1].HiddenFromReaders(Label1[2].Height() >= kCoverGone);
    // The pace in milliseconds, not the slider's bare 0 to 100, on the slider and the bar.
    const std::u16string pace = number(Timer1.Interval()) + u" мс";
    HScroll1.ValueText(pace);
    Picture1.AccessibleName(u"Лента на скоростта: " + pace);
}
