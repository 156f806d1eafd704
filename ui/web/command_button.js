// A command button: a click, a tap, Enter or Space is its Click.
KestramoPage.kinds.CommandButton = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'button', 'command');
    element.type = 'button';
    P.place(element, c);
    element.textContent = c.text;
    P.describe(element, c);
    element.addEventListener('click', function () { _kestramo_click(handle); });
    return {
        element: element,
        focusable: function () { return !element.hidden; },
        focus: function () { element.focus({ preventScroll: true }); },
    };
};
