// The description: a multi-line text box, read only, every line end kept, with the bar the
// page draws beside it.
KestramoPage.kinds.TextBox = function (c) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'textarea', 'text');
    element.spellcheck = false;
    P.place(element, c);
    P.describe(element, c);
    var shown = '';
    // Read only, but not by the readonly attribute: Chromium moves no caret in a
    // read-only textarea, so a screen reader's Down there said nothing where the desktop
    // reads the next line. Every edit is refused instead, what an input method slips
    // past is undone, and a tap opens no on-screen keyboard.
    element.setAttribute('aria-readonly', 'true');
    element.setAttribute('inputmode', 'none');
    element.addEventListener('beforeinput', function (event) { event.preventDefault(); });
    element.addEventListener('input', function () {
        if (element.value !== shown) element.value = shown;
    });
    var bar = P.boxBar(element, c, function () {
        return parseFloat(getComputedStyle(element).lineHeight) || 19;
    }, function () { return true; });
    function setText(text) {
        shown = element.value = text.replace(/\r\n/g, '\n');
        // The caret at the start, as on the desktop: a value set from code leaves it at the end.
        element.setSelectionRange(0, 0);
        bar.update();
    }
    setText(c.text);
    return {
        element: element,
        bar: bar,
        setText: setText,
        layout: bar.layout,
        focusable: function () { return !element.hidden; },
        focus: function () { element.focus({ preventScroll: true }); },
    };
};
