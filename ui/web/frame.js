// A frame: a group of options named by its caption, drawn as a caption on a line.
KestramoPage.kinds.Frame = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'div', 'frame');
    P.place(element, c);
    element.setAttribute('role', 'radiogroup');
    var caption = P.part(element, 'span', 'caption');
    caption.id = 'control-' + handle + '-caption';
    caption.textContent = c.text;
    element.setAttribute('aria-labelledby', caption.id);
    P.describe(element, c);
    return { element: element };
};
