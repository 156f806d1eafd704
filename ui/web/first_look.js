// The form's first look comes with the page as plain HTML, taken from the program's own
// form when the page was built, so a browser shows the form as soon as it is parsed, while
// it still compiles and starts the program; the program then takes over these same
// elements. Until then the form is inert and hidden from screen readers: nothing in it
// answers yet. This script runs from the page's head, so the font starts to decode before
// the form is even parsed; the program's script uses its helpers too.
var KestramoFirstLook = (function () {
    'use strict';

    // The first look shows from the markup, as soon as it is parsed, where the program can
    // run; where it cannot (no WebAssembly, or no script at all), the page says why instead.
    var canRun = typeof WebAssembly === 'object';
    if (canRun) document.documentElement.classList.add('can-run');

    var FONT = '16px "Kestramo Serif"';  // the family page.css embeds
    // A browser decodes a font only when a text asks for it: asked now, the font decodes
    // while the page goes on loading, and the form can show with its texts at once.
    var fontReady = document.fonts && document.fonts.load ? document.fonts.load(FONT)
                                                          : Promise.resolve();

    // The form keeps its size and layout; a viewport smaller than it scales it down whole.
    // The layout viewport's size, which a form wider than a phone's screen does not change.
    function scale(width, height) {
        var root = document.documentElement;
        var by = Math.min(1, root.clientWidth / width, root.clientHeight / height);
        return by > 0 ? by : 1;
    }
    function fit(form, width, height) {
        var by = scale(width, height);
        var ratio = window.devicePixelRatio || 1;
        var viewport = document.documentElement;
        var holder = document.getElementById('holder');
        // In the middle, on whole device pixels, so that no edge is blurred across two.
        var snap = function (free) { return Math.max(0, Math.floor(free / 2 * ratio) / ratio); };
        holder.style.left = snap(viewport.clientWidth - width * by) + 'px';
        holder.style.top = snap(viewport.clientHeight - height * by) + 'px';
        holder.style.width = width * by + 'px';
        holder.style.height = height * by + 'px';
        // The unscaled size, for print.
        holder.style.setProperty('--form-width', width + 'px');
        holder.style.setProperty('--form-height', height + 'px');
        form.style.transform = by < 1 ? 'scale(' + by + ')' : '';
    }

    // Some engines (WebKitGTK) place each glyph on a whole pixel, which makes small text
    // some 4 % wider than the font's own advances, and the description would wrap its lines
    // elsewhere than the desktop does. Measured against the same text at ten times the
    // size, where whole pixels hardly matter, the difference is taken back by a letter
    // spacing, for each size of text on the form. It differs from glyph to glyph, so it is
    // measured on all the form's text of that size; a short piece tells first whether the
    // engine places glyphs exactly and needs none. The first look and the live form get
    // the same spacing, measured once.
    var spacings = {};
    function evenAdvances(form) {
        var elements = Array.prototype.filter.call(form.querySelectorAll('[data-handle]'),
            function (element) { return !!element.style.fontSize; });
        var texts = {};
        elements.forEach(function (element) {
            var size = element.style.fontSize;
            if (element.hidden) return;  // only what shows is measured
            var text = element.tagName === 'TEXTAREA' ? element.value : element.textContent;
            texts[size] = (texts[size] || '') + text.replace(/\s+/g, ' ') + ' ';
        });
        var context = null;
        var offset = function (sample, pixels) {
            context = context || document.createElement('canvas').getContext('2d');
            if (!context || !sample.trim()) return 0;
            var measure = function (px) {
                context.font = px + 'px "Kestramo Serif"';
                return context.measureText(sample).width;
            };
            return (measure(pixels * 10) / 10 - measure(pixels)) / sample.length;
        };
        var all = Object.keys(texts).map(function (size) { return texts[size]; }).join('');
        Object.keys(texts).forEach(function (size) {
            if (size in spacings) return;
            // A size with a few letters only (the counter) is measured on all the text.
            var sample = texts[size].length >= 80 ? texts[size] : all;
            var pixels = parseFloat(size), off = offset(sample.slice(0, 80), pixels);
            if (Math.abs(off) > 0.01) off = offset(sample, pixels);
            spacings[size] = Math.abs(off) > 0.01 ? off.toFixed(3) + 'px' : '';
        });
        elements.forEach(function (element) {
            element.style.letterSpacing = spacings[element.style.fontSize];
        });
    }

    // `painted` is settled once the first look has been drawn with its texts, or at once
    // without one: the program starts its heavy work only then, so that it does not hold
    // back that frame.
    var painted = null;
    function showFirstLook() {
        var first = document.getElementById('form');
        if (!first || !first.hasAttribute('data-first-look') || !canRun) {
            painted = Promise.resolve();
            return;
        }
        var place = function () {
            if (first.hasAttribute('data-first-look'))
                fit(first, parseFloat(first.style.width), parseFloat(first.style.height));
            else
                window.removeEventListener('resize', place);
        };
        // Placed from the first frame's callbacks, not while the page is parsed: the size
        // read here lays the page out, and done mid-parse it would be laid out twice (the
        // second time with the font decoded), which held the first paint back.
        requestAnimationFrame(place);
        window.addEventListener('resize', place);
        // The texts show once the font is decoded: the program waits for that frame.
        painted = fontReady.then(function () {
            evenAdvances(first);
            // A frame's callbacks come just before it is drawn; a task queued from them runs
            // once it is. A hidden page draws no frame, and waits for nothing.
            if (document.hidden) return;
            return new Promise(function (resolve) {
                requestAnimationFrame(function () { setTimeout(resolve, 0); });
            });
        }).catch(function () {});
    }
    function whenPainted() { return painted || Promise.resolve(); }

    // The program's own script, some 50 KB, would hold back that frame while it compiles
    // and runs: it is carried as text at the end of the page, and run from here once the
    // first look is drawn and the page read to its end.
    function start() {
        showFirstLook();
        var read = document.readyState !== 'loading' ? Promise.resolve() : new Promise(
            function (resolve) { document.addEventListener('DOMContentLoaded', resolve); });
        Promise.all([whenPainted(), read]).then(function () {
            var script = document.createElement('script');
            script.textContent = document.getElementById('program-script').textContent;
            document.body.appendChild(script);
        });
    }

    return { fontReady: fontReady, scale: scale, fit: fit, evenAdvances: evenAdvances,
             start: start, whenPainted: whenPainted };
})();
