// The page's side of the web binding: every control is a real element of the page, placed
// at its twip position (15 twips to a CSS pixel), so that the browser's own focus, keys,
// zoom and accessibility work. The program's state lives in the module; the page shows it
// and reports back only what the user did: kestramo_event(handle, kind, value).
var KestramoPage = (function () {
    'use strict';

    // The script runs: the page's own reason for a failed start is not the one, and the
    // program's own takes its place if WebAssembly is missing or refused.
    var started = false;  // the live form is on the page
    function fail(reason) {
        // A first look that never becomes the program is not left standing, inert.
        if (!started) document.getElementById('form').hidden = true;
        var failure = document.getElementById('failure');
        document.getElementById('failure-reason').textContent = reason;
        failure.classList.add('now');
        failure.hidden = false;
    }
    var NO_WEBASSEMBLY = 'Този браузър не може да изпълни програмата: в него няма ' +
        'WebAssembly или е изключен. Отворете файла в съвременен браузър (Chrome, Edge, ' +
        'Firefox или Safari), обновен през последните години.';
    var TOO_OLD = 'Този браузър е твърде стар за програмата: неговият WebAssembly не ' +
        'познава всичко, което тя използва. Отворете файла в съвременен браузър (Chrome, ' +
        'Edge, Firefox или Safari), обновен през последните години.';
    var tooOld = false;  // the program's WebAssembly is not valid for this browser
    document.getElementById('failure').hidden = true;
    if (typeof WebAssembly !== 'object') fail(NO_WEBASSEMBLY);
    Module['onAbort'] = function (what) {
        if (typeof WebAssembly !== 'object') return fail(NO_WEBASSEMBLY);
        if (tooOld) return fail(TOO_OLD);
        fail(started
            ? 'Програмата спря поради грешка (' + what + '). Презаредете страницата, ' +
              'за да започнете отново.'
            : 'Браузърът спря програмата при стартирането ѝ (' + what + '). Ако страницата ' +
              'е от уебсайт или учебна платформа, помолете администратора на сайта да ' +
              "разреши 'wasm-unsafe-eval' в script-src на Content-Security-Policy, или " +
              'отворете файла kestramo.html направо от компютъра.');
    };

    var TWIPS_PER_PIXEL = 15;

    // The program's WebAssembly lies in the page, packed (zlib) and in base64, in a script
    // element that the browser parses as text alone; it is unpacked and compiled off the
    // page's own path. A browser with no DecompressionStream unpacks it with inflate.js.
    function programBytes() {
        var text = document.getElementById('program').textContent.replace(/\s+/g, '');
        var packed;
        if (typeof Uint8Array.fromBase64 === 'function') {
            packed = Uint8Array.fromBase64(text);
        } else {
            var binary = atob(text);
            packed = new Uint8Array(binary.length);
            for (var i = 0; i < binary.length; i++) packed[i] = binary.charCodeAt(i);
        }
        if (typeof DecompressionStream !== 'function')
            return Promise.resolve(KestramoInflate(packed));
        var stream = new Blob([packed]).stream().pipeThrough(new DecompressionStream('deflate'));
        return new Response(stream).arrayBuffer();
    }
    Module['instantiateWasm'] = function (imports, receive) {
        var program = null;
        KestramoForm.whenPainted()
            .then(programBytes)
            .then(function (bytes) {
                program = bytes;
                return WebAssembly.instantiate(bytes, imports);
            })
            .then(function (made) { receive(made.instance, made.module); }, function (error) {
                // A site's policy refuses a valid program; an old engine finds it invalid
                // (its exceptions came to browsers in 2021).
                try {
                    tooOld = !!program && typeof WebAssembly.validate === 'function' &&
                             !WebAssembly.validate(program);
                } catch (refused) { /* a policy that refuses even this says enough */ }
                abort(String(error));
            });
        return {};
    };
    // The module's numbers for the kinds of control and the events, which it gives before
    // it makes the form (dom.cpp), so the two sides never disagree.
    var KIND = {}, EVENT = {};
    // A held arrow or track repeats as on the desktop: after half a second, 20 a second.
    var REPEAT_DELAY = 500, REPEAT_EVERY = 50;
    // setTimeout counts whole milliseconds and may come late: the clock asks to be woken
    // this much before a deadline and waits out the rest of it here.
    var WAKE_EARLY = 1.5;

    var controls = {};   // handle -> {kind, element, tabIndex, ...}
    var wakes = {};      // handle -> {deadline, timer}
    var formElement = null;
    var formSize = { width: 0, height: 0 };

    function px(twips) { return twips / TWIPS_PER_PIXEL; }
    // A length in CSS pixels that ends on a device pixel, as the desktop cuts it.
    function devicePx(twips) {
        var ratio = window.devicePixelRatio || 1;
        return Math.round(px(twips) * ratio) / ratio;
    }
    function colour(rgb) {
        return 'rgb(' + ((rgb >> 16) & 255) + ',' + ((rgb >> 8) & 255) + ',' + (rgb & 255) + ')';
    }
    function fontSize(points) { return points * 96 / 72 + 'px'; }
    function send(handle, kind, value) { Module._kestramo_event(handle, kind, value | 0); }
    function place(element, c) {
        var style = element.style;
        style.left = px(c.left) + 'px';
        style.top = px(c.top) + 'px';
        style.width = px(c.width) + 'px';
        style.height = px(c.height) + 'px';
        style.zIndex = String(c.stack);
        if (c.back >= 0) style.backgroundColor = colour(c.back);
        style.fontSize = fontSize(c.points);
    }
    function describe(element, c) {
        if (c.accessibleName) element.setAttribute('aria-label', c.accessibleName);
        if (c.role) element.setAttribute('aria-description', c.role);
    }
    function setShown(element, visible) { element.hidden = !visible; }

    // Texts cross from the module's memory as UTF-16 code units, `length` of them.
    var utf16 = new TextDecoder('utf-16le');
    function text(pointer, length) {
        return utf16.decode(HEAPU8.subarray(pointer, pointer + 2 * length));
    }

    function numbers(kinds, events) {
        KIND = kinds;
        EVENT = events;
    }

    function makeForm(caption, width, height, back, points) {
        document.title = caption;
        // Built aside, while the page shows its first look, and put in its place when whole.
        formElement = document.createElement('main');
        formElement.id = 'form';
        formElement.hidden = true;
        formElement.setAttribute('aria-label', caption);
        formSize = { width: px(width), height: px(height) };
        formElement.style.width = formSize.width + 'px';
        formElement.style.height = formSize.height + 'px';
        formElement.style.backgroundColor = colour(back);
        formElement.style.fontSize = fontSize(points);
    }

    function makeLabel(c) {
        var element = document.createElement('div');
        element.className = 'label';
        place(element, c);
        element.textContent = c.text;
        describe(element, c);
        return { element: element, twips: c.height };
    }

    // A list box the page draws itself, the same in every engine: a <select> is a pop-up
    // picker on iPads, and Firefox shows no scroll bar on it. One row is chosen at a time,
    // by a click, a tap, the arrows, Home, End, the page keys or a row's first letter; only
    // the user's choice raises Select, as on the desktop.
    function makeListBox(handle, c) {
        var element = document.createElement('div');
        element.className = 'list';
        element.id = 'control-' + handle;
        element.setAttribute('role', 'listbox');
        element.tabIndex = 0;
        place(element, c);
        describe(element, c);
        var control = { element: element, rows: [], selected: -1, enabled: true };

        function choose(index) {
            if (!control.enabled || index < 0 || index >= control.rows.length) return;
            showRow(control, index);
            if (index === control.selected) return;
            markSelected(control, index);
            send(handle, EVENT.Select, index);
        }
        function rowOf(target) {
            var row = target.closest ? target.closest('[role="option"]') : null;
            return row && row.parentElement === element ? control.rows.indexOf(row) : -1;
        }
        // A mouse chooses on its press, as on the desktop; a finger or a pen on its tap,
        // so that a swipe scrolls the list without choosing a row on its way.
        element.addEventListener('pointerdown', function (event) {
            if (!control.enabled || event.button !== 0) return;
            element.focus({ preventScroll: true });
            if (event.pointerType === 'mouse') choose(rowOf(event.target));
        });
        element.addEventListener('click', function (event) {
            if (event.pointerType !== 'mouse') choose(rowOf(event.target));
        });
        element.addEventListener('keydown', function (event) {
            if (!control.enabled || event.altKey || event.ctrlKey || event.metaKey) return;
            var last = control.rows.length - 1, at = control.selected;
            var page = Math.max(1, Math.floor(element.clientHeight / rowHeight(control)) - 1);
            var to = { ArrowDown: at + 1, ArrowUp: at < 0 ? 0 : at - 1, Home: 0, End: last,
                       PageDown: Math.min(last, at + page), PageUp: Math.max(0, at - page) };
            if (event.key in to) {
                choose(Math.max(0, Math.min(last, to[event.key])));
            } else if (event.key.length === 1 && event.key.trim()) {
                // The next row that begins with the letter typed, from the chosen one on.
                var wanted = event.key.toLocaleUpperCase('bg');
                for (var step = 1; step <= control.rows.length; step++) {
                    var k = (at + step + control.rows.length) % control.rows.length;
                    if (control.rows[k].textContent.charAt(0).toLocaleUpperCase('bg') === wanted) {
                        choose(k);
                        break;
                    }
                }
            } else {
                return;
            }
            event.preventDefault();
        });
        element.addEventListener('scroll', function () { control.bar.update(); });
        control.bar = makeBoxScrollBar(element, c, function () { return rowHeight(control); },
                                       function () { return control.enabled; });
        return control;
    }
    function rowHeight(control) {
        return control.rows.length ? control.rows[0].offsetHeight || 1 : 1;
    }
    function markSelected(control, index) {
        control.rows.forEach(function (row, k) {
            row.setAttribute('aria-selected', k === index ? 'true' : 'false');
        });
        control.selected = index;
        if (index >= 0) control.element.setAttribute('aria-activedescendant', control.rows[index].id);
        else control.element.removeAttribute('aria-activedescendant');
    }
    // Scrolls the list just enough that the row shows whole.
    function showRow(control, index) {
        var row = control.rows[index], list = control.element;
        if (row.offsetTop < list.scrollTop) list.scrollTop = row.offsetTop;
        else if (row.offsetTop + row.offsetHeight > list.scrollTop + list.clientHeight)
            list.scrollTop = row.offsetTop + row.offsetHeight - list.clientHeight;
    }

    // A vertical scroll bar the page draws beside a box that scrolls (the description, a
    // list), with its arrows, in every engine: Firefox draws none or a thin overlay one,
    // Safari on iPads none. The box scrolls as before by wheel, touch and keys; the bar
    // follows it, and its arrows, track and thumb scroll it as on the desktop.
    var BAR_TWIPS = 255;  // 17 pixels
    function makeBoxScrollBar(box, c, line, enabled) {
        var bar = document.createElement('div');
        bar.className = 'vscroll';
        bar.setAttribute('aria-hidden', 'true');
        var up = document.createElement('div'), track = document.createElement('div');
        var thumb = document.createElement('div'), down = document.createElement('div');
        up.className = 'arrow up';
        down.className = 'arrow down';
        track.className = 'track';
        thumb.className = 'thumb';
        bar.appendChild(up);
        bar.appendChild(track);
        bar.appendChild(down);
        track.appendChild(thumb);
        // Inside the box's border, along its right edge.
        place(bar, { left: c.left + c.width - BAR_TWIPS - 15, top: c.top + 15, width: BAR_TWIPS,
                     height: c.height - 30, stack: c.stack, back: -1, points: c.points });
        var presses = {}, pending = 0;
        function scrollBy(pixels) { box.scrollTop += pixels; }
        function room() { return track.clientHeight - thumb.offsetHeight; }
        // Rows come and go by the dozen (a run fills two lists of 26): the bar is brought up
        // to date once, before the next frame, not measured again for every row.
        function update() {
            if (!pending) pending = requestAnimationFrame(measure);
        }
        function measure() {
            pending = 0;
            var overflow = box.scrollHeight - box.clientHeight;
            bar.classList.toggle('idle', overflow <= 0 || !enabled());
            box.classList.toggle('scrolls', overflow > 0 || box.tagName === 'TEXTAREA');
            bar.hidden = box.hidden || (overflow <= 0 && box.tagName !== 'TEXTAREA');
            if (overflow <= 0) return;
            var height = Math.max(13, track.clientHeight * box.clientHeight / box.scrollHeight);
            thumb.style.height = height + 'px';
            thumb.style.top = room() * box.scrollTop / overflow + 'px';
        }
        bar.addEventListener('pointerdown', function (event) {
            event.preventDefault();  // the focus stays where it is, as on the desktop
            if (event.button !== 0 || !enabled() || bar.classList.contains('idle')) return;
            var held = { y: event.clientY, repeat: 0, drag: null };
            presses[event.pointerId] = held;
            bar.setPointerCapture(event.pointerId);
            var step;
            if (event.target === up || event.target === down) {
                step = function () { scrollBy((event.target === up ? -1 : 1) * line()); };
            } else if (event.target === thumb) {
                held.drag = { y: event.clientY, top: box.scrollTop, scale: formScale() };
                return;
            } else {
                var below = event.clientY > thumb.getBoundingClientRect().top;
                step = function () {
                    var box2 = thumb.getBoundingClientRect();
                    if (below ? held.y > box2.bottom : held.y < box2.top)
                        scrollBy((below ? 1 : -1) * box.clientHeight);
                };
            }
            step();
            var again = function (wait) {
                held.repeat = setTimeout(function () { step(); again(REPEAT_EVERY); }, wait);
            };
            again(REPEAT_DELAY);
        });
        bar.addEventListener('pointermove', function (event) {
            var held = presses[event.pointerId];
            if (!held) return;
            held.y = event.clientY;
            if (held.drag && room() > 0) {
                var overflow = box.scrollHeight - box.clientHeight;
                box.scrollTop = held.drag.top +
                    (event.clientY - held.drag.y) / held.drag.scale * overflow / room();
            }
        });
        ['pointerup', 'pointercancel', 'lostpointercapture'].forEach(function (type) {
            bar.addEventListener(type, function (event) {
                var held = presses[event.pointerId];
                if (!held) return;
                clearTimeout(held.repeat);
                delete presses[event.pointerId];
            });
        });
        return { element: bar, update: update, measure: measure };
    }

    function makeButton(handle, c) {
        var element = document.createElement('button');
        element.type = 'button';
        element.className = 'command';
        place(element, c);
        element.textContent = c.text;
        describe(element, c);
        element.addEventListener('click', function () { send(handle, EVENT.Click, 0); });
        return { element: element };
    }

    // A group of options named by its caption, drawn as a caption on a line.
    function makeFrame(handle, c) {
        var element = document.createElement('div');
        element.className = 'frame';
        place(element, c);
        element.setAttribute('role', 'radiogroup');
        var caption = document.createElement('span');
        caption.className = 'caption';
        caption.id = 'control-' + handle + '-caption';
        caption.textContent = c.text;
        element.appendChild(caption);
        element.setAttribute('aria-labelledby', caption.id);
        describe(element, c);
        return { element: element };
    }

    function makeOption(handle, c) {
        var element = document.createElement('label');
        element.className = 'option';
        place(element, c);
        var input = document.createElement('input');
        input.type = 'radio';
        input.name = c.name;
        input.checked = c.checked;
        describe(input, c);
        var caption = document.createElement('span');
        caption.textContent = c.text;
        element.appendChild(input);
        element.appendChild(caption);
        // A click, a tap, Space or an arrow key that chooses it: each is a click.
        input.addEventListener('click', function () { send(handle, EVENT.Click, 0); });
        return { element: element, focusable: input };
    }

    function makePicture(handle, c) {
        var element = document.createElement('div');
        element.className = 'picture';
        element.id = 'control-' + handle;
        place(element, c);
        element.setAttribute('role', 'img');
        describe(element, c);
        var canvas = document.createElement('canvas');
        element.appendChild(canvas);
        var control = { element: element, canvas: canvas, fills: [], width: c.width,
                        height: c.height };
        sizeCanvas(control);
        return control;
    }

    // The border of the picture box is two pixels on each side; the canvas is its inside,
    // its backing store in device pixels so that the bar's edges stay sharp.
    var BORDER_TWIPS = 30;
    function sizeCanvas(control) {
        var ratio = window.devicePixelRatio || 1;
        var width = px(control.width - 2 * BORDER_TWIPS), height = px(control.height - 2 * BORDER_TWIPS);
        control.canvas.style.width = width + 'px';
        control.canvas.style.height = height + 'px';
        control.canvas.width = Math.round(width * ratio);
        control.canvas.height = Math.round(height * ratio);
        paintPicture(control);
    }
    function paintPicture(control) {
        var ratio = window.devicePixelRatio || 1;
        var context = control.canvas.getContext('2d');
        context.clearRect(0, 0, control.canvas.width, control.canvas.height);
        var device = function (twips) { return Math.round(twips * ratio / TWIPS_PER_PIXEL); };
        control.fills.forEach(function (fill) {
            var left = device(Math.min(fill.x1, fill.x2)), right = device(Math.max(fill.x1, fill.x2));
            var top = device(Math.min(fill.y1, fill.y2)), bottom = device(Math.max(fill.y1, fill.y2));
            context.fillStyle = colour(fill.colour);
            context.fillRect(left, top, right - left, bottom - top);
        });
    }

    function makeScrollBar(handle, c) {
        var element = document.createElement('div');
        element.className = 'scrollbar';
        place(element, c);
        element.tabIndex = 0;
        // A slider, not a scroll bar, for a screen reader: it sets a value (the pace), and
        // a slider's arrows move it without leaving the reader's browse mode first.
        element.setAttribute('role', 'slider');
        element.setAttribute('aria-orientation', 'horizontal');
        describe(element, c);
        var left = document.createElement('div'), track = document.createElement('div');
        var thumb = document.createElement('div'), right = document.createElement('div');
        left.className = 'arrow left';
        right.className = 'arrow right';
        track.className = 'track';
        thumb.className = 'thumb';
        [left, track, right].forEach(function (part) {
            part.setAttribute('aria-hidden', 'true');
            element.appendChild(part);
        });
        track.appendChild(thumb);
        // The range and value as the program last showed them: it keeps them inside the
        // range and decides what is a change.
        var control = { element: element, track: track, thumb: thumb, min: 0, max: 0,
                        value: 0, largeChange: c.largeChange, smallChange: c.smallChange,
                        dragging: null };

        function change(value) {
            send(handle, EVENT.Change, value);
        }
        // Each pointer (a mouse, a pen, every finger on a touch screen) holds a press of its
        // own: a second finger on the other arrow neither ends nor takes over the first
        // one's repeat, and lifting one finger ends only its own.
        var presses = {};   // pointerId -> { x, repeat, drag }; ending one clears its timer
        function endPress(id) {
            var held = presses[id];
            if (!held) return null;
            clearTimeout(held.repeat);
            delete presses[id];
            return held;
        }
        // One step now and, while held, more after a pause.
        function repeat(held, step, stillWanted) {
            change(control.value + step);
            var again = function (wait) {
                held.repeat = setTimeout(function () {
                    if (!stillWanted()) return;
                    change(control.value + step);
                    again(REPEAT_EVERY);
                }, wait);
            };
            again(REPEAT_DELAY);
        }
        function always() { return true; }
        function thumbLeft(value) {
            var room = control.track.clientWidth - control.thumb.offsetWidth;
            var span = control.max - control.min;
            return span > 0 ? room * (value - control.min) / span : 0;
        }
        function valueAt(thumbX) {
            var room = control.track.clientWidth - control.thumb.offsetWidth;
            var span = control.max - control.min;
            if (room <= 0) return control.min;
            return Math.round(control.min + span * Math.max(0, Math.min(room, thumbX)) / room);
        }
        function dragTo(drag, clientX) { return drag.from + (clientX - drag.startX) / drag.scale; }
        // A drag changes the value only when its pointer is really let go; cancelled (a
        // touch taken over by the browser, a capture lost), it changes nothing.
        function endDrag(drag, releasedAt) {
            control.dragging = null;
            thumb.classList.remove('held');
            control.layout(control.value);
            if (releasedAt !== null) change(valueAt(dragTo(drag, releasedAt)));
        }
        control.layout = function (value) { thumb.style.left = thumbLeft(value) + 'px'; };

        element.addEventListener('pointerdown', function (event) {
            if (event.button !== 0 && event.button !== 1) return;
            event.preventDefault();
            element.focus({ preventScroll: true });
            endPress(event.pointerId);
            // Only a plain left press takes the thumb, and one pointer at a time; any other
            // press on it does nothing, as on the desktop.
            if (event.target === thumb &&
                (event.button !== 0 || event.shiftKey || control.dragging)) return;
            var held = { x: event.clientX, repeat: 0, drag: null };
            presses[event.pointerId] = held;
            element.setPointerCapture(event.pointerId);
            if (event.target === left) {
                repeat(held, -control.smallChange, always);
            } else if (event.target === right) {
                repeat(held, control.smallChange, always);
            } else if (event.target === thumb) {
                // Dragged, the thumb moves alone: the value changes when it is let go.
                held.drag = control.dragging = { startX: event.clientX,
                                                 from: thumbLeft(control.value),
                                                 scale: formScale() };
                thumb.classList.add('held');
            } else {
                // The track: a page step towards the pointer, repeated while it is beyond.
                var towardsRight = event.clientX > thumb.getBoundingClientRect().left;
                repeat(held, towardsRight ? control.largeChange : -control.largeChange,
                       function () {
                           var box = thumb.getBoundingClientRect();
                           return towardsRight ? held.x > box.right : held.x < box.left;
                       });
            }
        });
        element.addEventListener('pointermove', function (event) {
            var held = presses[event.pointerId];
            if (!held) return;
            held.x = event.clientX;
            if (held.drag) control.layout(valueAt(dragTo(held.drag, event.clientX)));
        });
        element.addEventListener('pointerup', function (event) {
            var held = endPress(event.pointerId);
            if (held && held.drag) endDrag(held.drag, event.clientX);
        });
        // A cancelled pointer, or one whose capture went without a pointerup, is not a
        // release: its repeat ends and its drag is dropped.
        ['pointercancel', 'lostpointercapture'].forEach(function (type) {
            element.addEventListener(type, function (event) {
                var held = endPress(event.pointerId);
                if (held && held.drag) endDrag(held.drag, null);
            });
        });
        element.addEventListener('keydown', function (event) {
            var steps = { ArrowLeft: -control.smallChange, ArrowUp: -control.smallChange,
                          ArrowRight: control.smallChange, ArrowDown: control.smallChange,
                          PageUp: -control.largeChange, PageDown: control.largeChange };
            if (event.altKey || event.ctrlKey || event.metaKey) return;
            if (event.key in steps) change(control.value + steps[event.key]);
            else if (event.key === 'Home') change(control.min);
            else if (event.key === 'End') change(control.max);
            else return;
            event.preventDefault();
        });
        return control;
    }

    function makeTextBox(c) {
        var element = document.createElement('textarea');
        element.className = 'text';
        element.spellcheck = false;
        place(element, c);
        describe(element, c);
        element.value = c.text.replace(/\r\n/g, '\n');
        var control = { element: element, text: element.value };
        // Read only, but not by the readonly attribute: Chromium moves no caret in a
        // read-only textarea, so a screen reader's Down there said nothing where the desktop
        // reads the next line. Every edit is refused instead, what an input method slips
        // past is undone, and a tap opens no on-screen keyboard.
        element.setAttribute('aria-readonly', 'true');
        element.setAttribute('inputmode', 'none');
        element.addEventListener('beforeinput', function (event) { event.preventDefault(); });
        element.addEventListener('input', function () {
            if (element.value !== control.text) element.value = control.text;
        });
        // The caret at the start, as on the desktop: a value set from code leaves it at the end.
        element.setSelectionRange(0, 0);
        var lineHeight = function () { return parseFloat(getComputedStyle(element).lineHeight) || 19; };
        control.bar = makeBoxScrollBar(element, c, lineHeight, function () { return true; });
        element.addEventListener('scroll', function () { control.bar.update(); });
        return control;
    }

    function make(c) {
        var made;
        switch (c.kind) {
        case KIND.Label: made = makeLabel(c); break;
        case KIND.ListBox: made = makeListBox(c.handle, c); break;
        case KIND.CommandButton: made = makeButton(c.handle, c); break;
        case KIND.Frame: made = makeFrame(c.handle, c); break;
        case KIND.OptionButton: made = makeOption(c.handle, c); break;
        case KIND.PictureBox: made = makePicture(c.handle, c); break;
        case KIND.HScrollBar: made = makeScrollBar(c.handle, c); break;
        case KIND.TextBox: made = makeTextBox(c); break;
        default: return;
        }
        made.kind = c.kind;
        made.tabIndex = c.tabIndex;
        setShown(made.element, c.visible);
        made.element.dataset.control = c.index >= 0 ? c.name + '(' + c.index + ')' : c.name;
        made.element.dataset.handle = String(c.handle);
        made.parent = c.container >= 0 ? controls[c.container].element : formElement;
        controls[c.handle] = made;
        made.parent.appendChild(made.element);
        if (made.bar) made.parent.appendChild(made.bar.element);
        if (c.kind === KIND.Label) setLabelHeight(c.handle, c.height);
    }

    function setText(handle, value) {
        var control = controls[handle];
        if (control.kind === KIND.TextBox) {
            control.text = control.element.value = value.replace(/\r\n/g, '\n');
            control.element.setSelectionRange(0, 0);
        } else {
            control.element.textContent = value;
        }
        if (control.bar) control.bar.update();
    }
    // The top edge stays; a smaller height cuts the label off from the bottom.
    function setLabelHeight(handle, twips) {
        var control = controls[handle];
        control.twips = twips;
        control.element.style.height = devicePx(Math.max(0, twips)) + 'px';
    }
    function setVisible(handle, visible) {
        var control = controls[handle];
        setShown(control.element, visible);
        if (control.bar) control.bar.update();
    }
    function setEnabled(handle, enabled) {
        var control = controls[handle];
        if (control.kind !== KIND.ListBox) {
            control.element.disabled = !enabled;
            return;
        }
        // A greyed list takes no focus and no choice, as a disabled <select> would not.
        control.enabled = enabled;
        control.element.tabIndex = enabled ? 0 : -1;
        if (enabled) control.element.removeAttribute('aria-disabled');
        else control.element.setAttribute('aria-disabled', 'true');
        if (!enabled && document.activeElement === control.element) control.element.blur();
        control.bar.update();
    }
    function listAdd(handle, value) {
        var control = controls[handle];
        var row = document.createElement('div');
        row.setAttribute('role', 'option');
        row.setAttribute('aria-selected', 'false');
        row.id = control.element.id + '-' + control.rows.length;
        row.textContent = value;
        control.rows.push(row);
        control.element.appendChild(row);
        control.bar.update();
    }
    function listClear(handle) {
        var control = controls[handle];
        control.element.textContent = '';
        control.rows = [];
        markSelected(control, -1);
        control.bar.update();
    }
    function listSet(handle, index, value) {
        controls[handle].rows[index].textContent = value;
    }
    function scrollShow(handle, min, max, value) {
        var control = controls[handle];
        control.min = min;
        control.max = max;
        control.value = value;
        control.element.setAttribute('aria-valuemin', String(min));
        control.element.setAttribute('aria-valuemax', String(max));
        control.element.setAttribute('aria-valuenow', String(value));
        // A hidden form has no layout to place the thumb in: reveal() places it.
        if (!control.dragging && !formElement.hidden) control.layout(value);
    }
    function setHiddenFromReaders(handle, hidden) {
        var element = controls[handle].element;
        if (hidden) element.setAttribute('aria-hidden', 'true');
        else element.removeAttribute('aria-hidden');
    }
    function setValueText(handle, text) {
        controls[handle].element.setAttribute('aria-valuetext', text);
    }
    function setAccessibleName(handle, name) {
        controls[handle].element.setAttribute('aria-label', name);
    }
    // A list's new description (the last lookup's answer) is set once the screen reader has
    // moved to the chosen row: set while the list itself still had the reader's focus, it
    // was read out beside the status region's words, and the answer heard twice.
    function setAccessibleDescription(handle, text) {
        var control = controls[handle];
        clearTimeout(control.describing);
        control.describing = setTimeout(function () {
            control.element.setAttribute('aria-description', text);
        }, 250);
    }
    // A polite status region, unseen: emptied first, so that the same words said again
    // (the same letter looked up twice) are a change a screen reader hears.
    var announcing = 0;
    function announce(message) {
        var status = document.getElementById('status');
        status.textContent = '';
        clearTimeout(announcing);
        announcing = setTimeout(function () { status.textContent = message; }, 50);
    }
    function pictureClear(handle) {
        var control = controls[handle];
        control.fills = [];
        paintPicture(control);
    }
    function pictureFill(handle, x1, y1, x2, y2, rgb) {
        var control = controls[handle];
        control.fills.push({ x1: x1, y1: y1, x2: x2, y2: y2, colour: rgb });
        paintPicture(control);
    }

    // The clock: woken by setTimeout a little before its deadline, it waits out the rest
    // on performance.now(), so the tick comes at the deadline and never before it.
    function wakeAt(handle, deadline) {
        cancelWake(handle);
        var wake = { deadline: deadline, timer: 0 };
        wakes[handle] = wake;
        wait(handle, wake);
    }
    function wait(handle, wake) {
        var left = wake.deadline - performance.now();
        wake.timer = setTimeout(function () { expire(handle, wake); },
                                Math.max(0, Math.floor(left - WAKE_EARLY)));
    }
    function expire(handle, wake) {
        if (wakes[handle] !== wake) return;
        if (wake.deadline - performance.now() > 2 * WAKE_EARLY) return wait(handle, wake);
        while (performance.now() < wake.deadline) { /* a millisecond or two at most */ }
        delete wakes[handle];
        send(handle, EVENT.Expired, 0);
    }
    function cancelWake(handle) {
        var wake = wakes[handle];
        if (!wake) return;
        clearTimeout(wake.timer);
        delete wakes[handle];
    }
    // A hidden page's timers are slowed down; when it shows again, a passed deadline is
    // kept at once (the timetable then gives one tick, not the ones missed).
    document.addEventListener('visibilitychange', function () {
        if (document.hidden) return;
        Object.keys(wakes).forEach(function (handle) {
            var wake = wakes[handle];
            if (wake.deadline <= performance.now()) {
                clearTimeout(wake.timer);
                expire(Number(handle), wake);
            }
        });
    });

    function report(title, message) {
        var dialog = document.getElementById('report');
        var before = document.activeElement;
        dialog.querySelector('h2').textContent = title;
        dialog.querySelector('p').textContent = message;
        dialog.addEventListener('close', function () {
            if (before && before.focus) before.focus({ preventScroll: true });
        }, { once: true });
        dialog.showModal();
        dialog.querySelector('button').focus();
    }

    // The elements follow the tab order in the page, so Tab and a screen reader's reading
    // go as the form's tab indexes say; the drawing order is their stacking.
    function show() {
        var order = function (parent) {
            var children = Object.keys(controls).map(function (h) { return controls[h]; })
                .filter(function (c) { return c.parent === parent; });
            children.sort(function (a, b) { return a.tabIndex - b.tabIndex; });
            children.forEach(function (c) {
                parent.appendChild(c.element);
                if (c.bar) parent.appendChild(c.bar.element);  // drawn over its box
            });
        };
        order(formElement);
        Object.keys(controls).forEach(function (h) {
            if (controls[h].kind === KIND.Frame) order(controls[h].element);
        });
        // The form shows with its texts from its first frame: a browser fetches a font only
        // when some text asks for it, so the embedded one is decoded before the form shows.
        KestramoForm.fontReady.then(reveal, reveal);
    }
    // The live form takes the place of the first look in one go, so no frame shows neither.
    function reveal() {
        // Scaled before it is in the page: on a phone an unscaled form would widen the
        // layout viewport, and the scale would be taken from that.
        started = true;
        fit();
        document.getElementById('form').replaceWith(formElement);
        formElement.hidden = false;
        KestramoForm.evenAdvances(formElement);
        Object.keys(controls).forEach(function (h) {
            var control = controls[h];
            if (control.kind === KIND.HScrollBar) control.layout(control.value);
            if (control.bar) control.bar.measure();
        });
        var first = Object.keys(controls).map(function (h) { return controls[h]; })
            .filter(function (c) {
                var element = c.focusable || c.element;
                return c.kind !== KIND.Label && c.kind !== KIND.Frame &&
                       c.kind !== KIND.PictureBox && !element.hidden && !element.disabled &&
                       c.enabled !== false;
            })
            .sort(function (a, b) { return a.tabIndex - b.tabIndex; })[0];
        // The first control takes the focus as the program opens, but not inside another
        // site's page (a learning platform's frame): there it waits for the user.
        if (first && window.self === window.top) {
            (first.focusable || first.element).focus({ preventScroll: true });
        }
    }

    function formScale() { return KestramoForm.scale(formSize.width, formSize.height); }
    function fit() {
        if (started) KestramoForm.fit(formElement, formSize.width, formSize.height);
    }
    // Zoom and a move to a screen of another density change the device-pixel ratio.
    function ratioChanged() {
        fit();
        Object.keys(controls).forEach(function (h) {
            var control = controls[h];
            if (control.kind === KIND.PictureBox) sizeCanvas(control);
            if (control.kind === KIND.Label) setLabelHeight(h, control.twips);
        });
        watchRatio();
    }
    function watchRatio() {
        var query = window.matchMedia('(resolution: ' + (window.devicePixelRatio || 1) + 'dppx)');
        query.addEventListener('change', ratioChanged, { once: true });
    }
    window.addEventListener('resize', fit);
    watchRatio();

    return { text: text, numbers: numbers, makeForm: makeForm, make: make, setText: setText,
             setLabelHeight: setLabelHeight, setVisible: setVisible, setEnabled: setEnabled,
             listAdd: listAdd, listClear: listClear, listSet: listSet, scrollShow: scrollShow,
             pictureClear: pictureClear, pictureFill: pictureFill, wakeAt: wakeAt,
             cancelWake: cancelWake, report: report, show: show,
             setHiddenFromReaders: setHiddenFromReaders, setValueText: setValueText,
             setAccessibleName: setAccessibleName,
             setAccessibleDescription: setAccessibleDescription, announce: announce };
})();
