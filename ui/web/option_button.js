// An option of a frame: a round box and its caption. The options of one frame share the
// name the program gives them, so the browser's arrows move among them; which one is
// checked, the program decides and says.
KestramoPage.kinds.OptionButton = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'label', 'option');
    P.place(element, c);
    var input = element.querySelector('input') || element.appendChild(document.createElement('input'));
    input.type = 'radio';
    input.name = c.group;
    input.checked = c.checked;
    P.describe(input, c);
    var caption = element.querySelector('span') || element.appendChild(document.createElement('span'));
    caption.textContent = c.text;
    // A click, a tap, Space or an arrow key that chooses it: each is a click.
    input.addEventListener('click', function () { _kestramo_click(handle); });
    return {
        element: element,
        setChecked: function (checked) { input.checked = checked; },
        focusable: function () { return !element.hidden; },
        focus: function () { input.focus({ preventScroll: true }); },
    };
};
