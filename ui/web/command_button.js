// A command button: a click, a tap, Enter or Space is its Click.
KestramoPage.kinds.CommandButton = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'button', 'command');
    element.type = 'button';
    P.place(element, c);
    element.textContent = c.text;
    P.describe(element, c);
    element.addEventListener('click', function () { P.send('click', handle); });
    return {
        element: element,
        setText: function (text) { element.textContent = text; },
        setEnabled: function (enabled) { element.disabled = !enabled; },
        focusable: function () { return !element.hidden && !element.disabled; },
        focus: function () { element.focus({ preventScroll: true }); },
    };
};
