// The speed slider: a horizontal scroll bar. It shows the range and value the program last
// gave it; the page reports what the user asked for (a line or a page less or more, an
// end, the thumb let go at a value), and the program decides what that changes.
KestramoPage.kinds.HScrollBar = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'div', 'scrollbar');
    P.place(element, c);
    element.tabIndex = 0;
    // A slider, not a scroll bar, for a screen reader: it sets a value (the pace), and a
    // slider's arrows move it without leaving the reader's browse mode first.
    element.setAttribute('role', 'slider');
    element.setAttribute('aria-orientation', 'horizontal');
    P.describe(element, c);
    var min = 0, max = 0, value = 0, dragging = false;

    function offsetOf(v) {
        var span = max - min;
        return span > 0 ? bar.room() * (v - min) / span : 0;
    }
    function valueAt(offset) {
        var room = bar.room();
        if (room <= 0) return min;
        return Math.round(min + (max - min) * Math.max(0, Math.min(room, offset)) / room);
    }
    var bar = P.drawnBar(element, 'x', {
        enabled: function () { return true; },
        press: function (event) {
            if (event.button !== 0 && event.button !== 1) return false;
            event.preventDefault();
            element.focus({ preventScroll: true });
            return true;
        },
        step: function (sign) { _kestramo_line(handle, sign); },
        page: function (sign) { _kestramo_page(handle, sign); },
        // Only a plain left press takes the thumb, and one pointer at a time; any other
        // press on it does nothing, as on the desktop. Dragged, the thumb moves alone.
        dragFrom: function (event) {
            if (event.button !== 0 || event.shiftKey || dragging) return null;
            dragging = true;
            return offsetOf(value);
        },
        dragTo: function (offset) { bar.placeThumb(offsetOf(valueAt(offset))); },
        // The value changes when the thumb is really let go; cancelled (a touch taken over
        // by the browser, a capture lost), it changes nothing.
        dragEnd: function (offset) {
            dragging = false;
            bar.placeThumb(offsetOf(value));
            if (offset !== null) _kestramo_thumb(handle, valueAt(offset));
        },
    });
    element.addEventListener('keydown', function (event) {
        var lines = { ArrowLeft: -1, ArrowUp: -1, ArrowRight: 1, ArrowDown: 1 };
        var pages = { PageUp: -1, PageDown: 1 };
        var ends = { Home: -1, End: 1 };
        if (event.altKey || event.ctrlKey || event.metaKey) return;
        if (event.key in lines) _kestramo_line(handle, lines[event.key]);
        else if (event.key in pages) _kestramo_page(handle, pages[event.key]);
        else if (event.key in ends) _kestramo_end(handle, ends[event.key]);
        else return;
        event.preventDefault();
    });
    // A form not yet shown has no layout to place the thumb in: it is placed as it shows.
    function layout() { if (!dragging && P.shown()) bar.placeThumb(offsetOf(value)); }

    return {
        element: element,
        layout: layout,
        show: function (newMin, newMax, newValue) {
            min = newMin;
            max = newMax;
            value = newValue;
            element.setAttribute('aria-valuemin', String(min));
            element.setAttribute('aria-valuemax', String(max));
            element.setAttribute('aria-valuenow', String(value));
            layout();
        },
        setValueText: function (text) { element.setAttribute('aria-valuetext', text); },
        focusable: function () { return !element.hidden; },
        focus: function () { element.focus({ preventScroll: true }); },
    };
};
