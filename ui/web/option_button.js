// An option of a frame: a round box and its caption; the options of one frame share a
// name, so the browser's arrows move among them.
KestramoPage.kinds.OptionButton = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'label', 'option');
    P.place(element, c);
    var input = element.querySelector('input') || element.appendChild(document.createElement('input'));
    input.type = 'radio';
    input.name = c.name;
    input.checked = c.checked;
    P.describe(input, c);
    var caption = element.querySelector('span') || element.appendChild(document.createElement('span'));
    caption.textContent = c.text;
    // A click, a tap, Space or an arrow key that chooses it: each is a click.
    input.addEventListener('click', function () { P.send('click', handle); });
    return {
        element: element,
        setText: function (text) { caption.textContent = text; },
        setEnabled: function (enabled) { input.disabled = !enabled; },
        focusable: function () { return !element.hidden && !input.disabled; },
        focus: function () { input.focus({ preventScroll: true }); },
    };
};
