// A list box the page draws itself, the same in every engine: a <select> is a pop-up
// picker on iPads, and Firefox shows no scroll bar on it. One row is chosen at a time, by
// a click, a tap, the arrows, Home, End, the page keys or a row's first letter; only the
// user's choice raises Select, as on the desktop. Which row is chosen, the program decides
// and says; the page reports the row the user asked for.
KestramoPage.kinds.ListBox = function (c, handle) {
    'use strict';
    var P = KestramoPage;
    var element = P.element(c, 'div', 'list');
    element.id = 'control-' + handle;
    element.setAttribute('role', 'listbox');
    element.tabIndex = 0;
    element.textContent = '';  // the program fills it again as it starts
    P.place(element, c);
    P.describe(element, c);
    var rows = [], selected = -1, enabled = true, describing = 0;

    function rowHeight() { return rows.length ? rows[0].offsetHeight || 1 : 1; }
    function mark(index) {
        rows.forEach(function (row, k) {
            row.setAttribute('aria-selected', k === index ? 'true' : 'false');
        });
        selected = index;
        if (index >= 0) element.setAttribute('aria-activedescendant', rows[index].id);
        else element.removeAttribute('aria-activedescendant');
    }
    // Scrolls the list just enough that the row shows whole.
    function showRow(index) {
        var row = rows[index];
        if (row.offsetTop < element.scrollTop) element.scrollTop = row.offsetTop;
        else if (row.offsetTop + row.offsetHeight > element.scrollTop + element.clientHeight)
            element.scrollTop = row.offsetTop + row.offsetHeight - element.clientHeight;
    }
    function choose(index) {
        if (!enabled || index < 0 || index >= rows.length) return;
        showRow(index);
        _kestramo_select(handle, index);
    }
    function rowOf(target) {
        var row = target.closest ? target.closest('[role="option"]') : null;
        return row && row.parentElement === element ? rows.indexOf(row) : -1;
    }
    // A mouse chooses on its press, as on the desktop; a finger or a pen on its tap, so
    // that a swipe scrolls the list without choosing a row on its way.
    element.addEventListener('pointerdown', function (event) {
        if (!enabled || event.button !== 0) return;
        element.focus({ preventScroll: true });
        if (event.pointerType === 'mouse') choose(rowOf(event.target));
    });
    element.addEventListener('click', function (event) {
        if (event.pointerType !== 'mouse') choose(rowOf(event.target));
    });
    element.addEventListener('keydown', function (event) {
        if (!enabled || event.altKey || event.ctrlKey || event.metaKey) return;
        var last = rows.length - 1, at = selected;
        var page = Math.max(1, Math.floor(element.clientHeight / rowHeight()) - 1);
        var to = { ArrowDown: at + 1, ArrowUp: at < 0 ? 0 : at - 1, Home: 0, End: last,
                   PageDown: Math.min(last, at + page), PageUp: Math.max(0, at - page) };
        if (event.key in to) {
            choose(Math.max(0, Math.min(last, to[event.key])));
        } else if (event.key.length === 1 && event.key.trim()) {
            // The next row that begins with the letter typed, from the chosen one on.
            var wanted = event.key.toLocaleUpperCase('bg');
            for (var step = 1; step <= rows.length; step++) {
                var k = (at + step + rows.length) % rows.length;
                if (rows[k].textContent.charAt(0).toLocaleUpperCase('bg') === wanted) {
                    choose(k);
                    break;
                }
            }
        } else {
            return;
        }
        event.preventDefault();
    });
    var bar = P.boxBar(element, c, rowHeight, function () { return enabled; });

    return {
        element: element,
        bar: bar,
        layout: bar.layout,
        add: function (text) {
            var row = document.createElement('div');
            row.setAttribute('role', 'option');
            row.setAttribute('aria-selected', 'false');
            row.id = element.id + '-' + rows.length;
            row.textContent = text;
            rows.push(row);
            element.appendChild(row);
            bar.update();
        },
        clear: function () {
            element.textContent = '';
            rows = [];
            mark(-1);
            bar.update();
        },
        set: function (index, text) { rows[index].textContent = text; },
        select: mark,
        setVisible: function (visible) {
            element.hidden = !visible;
            bar.update();
        },
        // A greyed list takes no focus and no choice, as a disabled <select> would not.
        setEnabled: function (on) {
            enabled = on;
            element.tabIndex = on ? 0 : -1;
            if (on) element.removeAttribute('aria-disabled');
            else element.setAttribute('aria-disabled', 'true');
            if (!on && document.activeElement === element) element.blur();
            bar.update();
        },
        // The last lookup's answer is set once the screen reader has moved to the chosen
        // row: set while the list itself still had the reader's focus, it was read out
        // beside the status region's words, and the answer heard twice.
        setAccessibleDescription: function (text) {
            clearTimeout(describing);
            describing = setTimeout(function () {
                element.setAttribute('aria-description', text);
            }, 250);
        },
        focusable: function () { return enabled && !element.hidden; },
        focus: function () { element.focus({ preventScroll: true }); },
    };
};
