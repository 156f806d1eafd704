// A label: painted beneath the windowed controls, centred from the top, wrapped at blanks;
// a smaller height cuts it off from the bottom while its top edge stays.
KestramoPage.kinds.Label = function (c) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'div', 'label');
    P.place(element, c);
    element.textContent = c.text;
    P.describe(element, c);
    var twips = c.height;
    return {
        element: element,
        setText: function (text) { element.textContent = text; },
        setHeight: function (height) {
            twips = height;
            element.style.height = P.devicePx(Math.max(0, twips)) + 'px';
        },
        layout: function () { element.style.height = P.devicePx(Math.max(0, twips)) + 'px'; },
        setHiddenFromReaders: function (hidden) {
            if (hidden) element.setAttribute('aria-hidden', 'true');
            else element.removeAttribute('aria-hidden');
        },
    };
};
