// The speed bar: a sunken box whose fills stay until it is cleared, drawn on a canvas.
KestramoPage.kinds.PictureBox = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    // The border is two pixels on each side; the canvas is the inside.
    var BORDER_TWIPS = 30;
    var element = P.element(c, 'div', 'picture');
    element.id = 'control-' + handle;
    P.place(element, c);
    element.setAttribute('role', 'img');
    P.describe(element, c);
    // The first look's picture of it makes way for the canvas.
    var canvas = document.createElement('canvas');
    element.textContent = '';
    element.appendChild(canvas);
    var fills = [];

    function paint() {
        var ratio = P.ratio();
        var context = canvas.getContext('2d');
        context.clearRect(0, 0, canvas.width, canvas.height);
        var device = function (twips) { return Math.round(P.px(twips) * ratio); };
        fills.forEach(function (fill) {
            var left = device(Math.min(fill.x1, fill.x2)), right = device(Math.max(fill.x1, fill.x2));
            var top = device(Math.min(fill.y1, fill.y2)), bottom = device(Math.max(fill.y1, fill.y2));
            context.fillStyle = P.colour(fill.colour);
            context.fillRect(left, top, right - left, bottom - top);
        });
    }
    // Its backing store in device pixels, so that the bar's edges stay sharp.
    function layout() {
        var width = P.px(c.width - 2 * BORDER_TWIPS), height = P.px(c.height - 2 * BORDER_TWIPS);
        canvas.style.width = width + 'px';
        canvas.style.height = height + 'px';
        canvas.width = Math.round(width * P.ratio());
        canvas.height = Math.round(height * P.ratio());
        paint();
    }
    return {
        element: element,
        layout: layout,
        clear: function () { fills = []; paint(); },
        fill: function (x1, y1, x2, y2, rgb) {
            fills.push({ x1: x1, y1: y1, x2: x2, y2: y2, colour: rgb });
            paint();
        },
        setAccessibleName: function (name) { element.setAttribute('aria-label', name); },
    };
};
