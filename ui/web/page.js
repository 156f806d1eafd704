// The page's side of the web binding: every control is a real element of the page, placed
// at its twip position (15 twips to a CSS pixel), so that the browser's own focus, keys,
// zoom and accessibility work. The program's state lives in the module; the page shows it
// and reports back only what the user did. This file keeps the controls by handle, makes
// each from the constructor of its kind (the files beside it), and owns the start-up, a
// failed start, the form's fit to the window and the device-pixel ratio.
var KestramoPage = (function () {
    'use strict';

    // The script runs: the page's own reason for a failed start is not the one, and the
    // program's own takes its place if WebAssembly is missing or refused.
    var started = false;  // the live form is on the page
    function fail(reason) {
        // A first look that never becomes the program is not left standing, inert.
        if (!started) {
            document.documentElement.classList.remove('can-run');
            document.getElementById('form').hidden = true;
        }
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
        KestramoFirstLook.whenPainted()
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

    var TWIPS_PER_PIXEL = 15;
    function px(twips) { return twips / TWIPS_PER_PIXEL; }
    function ratio() { return window.devicePixelRatio || 1; }
    // A length in CSS pixels that ends on a device pixel, as the desktop cuts it.
    function devicePx(twips) { return Math.round(px(twips) * ratio()) / ratio(); }
    function colour(rgb) {
        return 'rgb(' + ((rgb >> 16) & 255) + ',' + ((rgb >> 8) & 255) + ',' + (rgb & 255) + ')';
    }
    function fontSize(points) { return points * 96 / 72 + 'px'; }
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
    // The part of a control's element with the class given, made if the first look has none.
    function part(parent, tag, className) {
        var found = parent.querySelector(':scope > .' + className.split(' ').join('.'));
        if (found) return found;
        var made = document.createElement(tag);
        made.className = className;
        parent.appendChild(made);
        return made;
    }
    // The element a control takes over from the first look, or a new one.
    function element(c, tag, className) {
        var found = c.firstLook || document.createElement(tag);
        found.className = className;
        return found;
    }

    // Texts cross from the module's memory as UTF-16 code units, `length` of them.
    var utf16 = new TextDecoder('utf-16le');
    function text(pointer, length) {
        return utf16.decode(HEAPU8.subarray(pointer, pointer + 2 * length));
    }

    // The constructors, one file each, by the name of their kind: each takes the control's
    // description, with the element of the first look it takes over, and answers for its
    // element from then on (its text, state, layout at a new ratio, focus).
    var kinds = {};
    var controls = {};   // handle -> the control its constructor made
    var formElement = null;
    var formSize = { width: 0, height: 0 };

    function makeForm(f) {
        document.title = f.caption;
        // The first look, taken over; built aside when the page has none.
        formElement = document.querySelector('#form[data-first-look]');
        if (!formElement) {
            formElement = document.createElement('main');
            formElement.id = 'form';
            formElement.hidden = true;
        }
        formSize = { width: px(f.width), height: px(f.height) };
        formElement.style.width = formSize.width + 'px';
        formElement.style.height = formSize.height + 'px';
        formElement.style.backgroundColor = colour(f.back);
        formElement.style.fontSize = fontSize(f.points);
        formElement.setAttribute('aria-label', f.caption);
    }

    // A control made by the constructor of its kind, which the program names.
    function make(kind, c) {
        var name = c.index >= 0 ? c.name + '(' + c.index + ')' : c.name;
        var parent = c.container >= 0 ? controls[c.container].element : formElement;
        c.firstLook = parent.querySelector(':scope > [data-control="' + name + '"]');
        var control = kind(c, c.handle);
        control.tabIndex = c.tabIndex;
        control.parent = parent;
        control.element.hidden = !c.visible;
        control.element.dataset.control = name;
        control.element.dataset.handle = String(c.handle);
        controls[c.handle] = control;
        if (!c.firstLook) parent.appendChild(control.element);
        if (control.bar && !control.bar.element.parentNode) parent.appendChild(control.bar.element);
        if (control.layout) control.layout();
    }
    function at(handle) { return controls[handle]; }
    function each(action) {
        Object.keys(controls).forEach(function (h) { action(controls[h]); });
    }

    // A polite status region, unseen: emptied first, so that the same words said again
    // (the same letter looked up twice) are a change a screen reader hears.
    // One message after another: the next waits until the last has been put there.
    var announced = Promise.resolve();
    function announce(message) {
        var status = document.getElementById('status');
        announced = announced.then(function () {
            status.textContent = '';
            return new Promise(function (resolve) {
                setTimeout(function () { status.textContent = message; resolve(); }, 50);
            });
        });
    }

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
        var byTabIndex = function (a, b) { return a.tabIndex - b.tabIndex; };
        var children = new Map();
        each(function (c) {
            if (!children.has(c.parent)) children.set(c.parent, []);
            children.get(c.parent).push(c);
        });
        children.forEach(function (list, parent) {
            list.sort(byTabIndex).forEach(function (c) {
                parent.appendChild(c.element);
                if (c.bar) parent.appendChild(c.bar.element);  // drawn over its box
            });
        });
        // The form shows with its texts from its first frame: a browser fetches a font only
        // when some text asks for it, so the embedded one is decoded before the form shows.
        KestramoFirstLook.fontReady.then(reveal, reveal);
    }
    // The live form is the first look, come alive; a page with none shows its own at once.
    function reveal() {
        started = true;
        // Scaled before it shows: on a phone an unscaled form would widen the layout
        // viewport, and the scale would be taken from that.
        fit();
        if (!formElement.isConnected) document.getElementById('form').replaceWith(formElement);
        ['data-first-look', 'inert', 'aria-hidden'].forEach(function (attribute) {
            formElement.removeAttribute(attribute);
        });
        formElement.hidden = false;
        KestramoFirstLook.evenAdvances(formElement);
        each(function (c) { if (c.layout) c.layout(); });
        var first = Object.keys(controls).map(function (h) { return controls[h]; })
            .filter(function (c) { return c.focusable && c.focusable(); })
            .sort(function (a, b) { return a.tabIndex - b.tabIndex; })[0];
        // The first control takes the focus as the program opens, but not inside another
        // site's page (a learning platform's frame): there it waits for the user.
        if (first && window.self === window.top) first.focus();
    }

    function formScale() { return KestramoFirstLook.scale(formSize.width, formSize.height); }
    function fit() {
        if (started) KestramoFirstLook.fit(formElement, formSize.width, formSize.height);
    }
    // Zoom and a move to a screen of another density change the device-pixel ratio.
    function ratioChanged() {
        fit();
        each(function (c) { if (c.layout) c.layout(); });
        watchRatio();
    }
    function watchRatio() {
        var query = window.matchMedia('(resolution: ' + ratio() + 'dppx)');
        query.addEventListener('change', ratioChanged, { once: true });
    }
    window.addEventListener('resize', fit);
    watchRatio();

    return { kinds: kinds, px: px, ratio: ratio, devicePx: devicePx, colour: colour,
             place: place, describe: describe, part: part, element: element,
             formScale: formScale, shown: function () { return started; }, text: text,
             makeForm: makeForm, make: make, at: at, show: show, report: report,
             announce: announce };
})();
