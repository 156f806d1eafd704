// A scroll bar the page draws itself, the same in every engine: the slider, and the bar
// beside a box that scrolls. Two arrows, a track and a thumb, along `axis` ('x' or 'y');
// the owner says what a step, a page and a thumb's move do. Each pointer (a mouse, a pen,
// every finger on a touch screen) holds a press of its own: a second finger on the other
// arrow neither ends nor takes over the first one's repeat, and lifting one ends only its own.
KestramoPage.drawnBar = (function (P) {
    'use strict';

    // A held arrow or track repeats as on the desktop: after half a second, 20 a second.
    var REPEAT_DELAY = 500, REPEAT_EVERY = 50;

    // owner: { enabled(), press(event) -> false to ignore it, step(sign), page(sign),
    //          dragFrom() -> the thumb's offset, or null when it may not be dragged now,
    //          dragTo(offset), dragEnd(offset, or null when cancelled) }
    return function (root, axis, owner) {
        var vertical = axis === 'y';
        var less = P.part(root, 'div', vertical ? 'arrow up' : 'arrow left');
        var track = P.part(root, 'div', 'track');
        var more = P.part(root, 'div', vertical ? 'arrow down' : 'arrow right');
        var thumb = P.part(track, 'div', 'thumb');
        root.classList.add('bar', vertical ? 'vertical' : 'horizontal');
        [less, track, more].forEach(function (p) { p.setAttribute('aria-hidden', 'true'); });

        var along = function (event) { return vertical ? event.clientY : event.clientX; };
        var presses = {};   // pointerId -> { at, repeat, drag }; ending one clears its timer
        function endPress(id) {
            var held = presses[id];
            if (!held) return null;
            clearTimeout(held.repeat);
            delete presses[id];
            if (held.drag) thumb.classList.remove('held');
            return held;
        }
        // Whether the pointer is still beyond the thumb, on the side it pressed.
        function beyond(held, sign) {
            var box = thumb.getBoundingClientRect();
            return sign > 0 ? held.at > (vertical ? box.bottom : box.right)
                            : held.at < (vertical ? box.top : box.left);
        }
        // One step now and, while held, more after a pause.
        function repeat(held, act, stillWanted) {
            act();
            var again = function (wait) {
                held.repeat = setTimeout(function () {
                    if (stillWanted()) act();
                    again(REPEAT_EVERY);
                }, wait);
            };
            again(REPEAT_DELAY);
        }
        function dragged(held, event) {
            return held.drag.from + (along(event) - held.drag.start) / held.drag.scale;
        }

        root.addEventListener('pointerdown', function (event) {
            if (!owner.press(event) || !owner.enabled()) return;
            endPress(event.pointerId);
            var held = { at: along(event), repeat: 0, drag: null };
            if (event.target === thumb) {
                var from = owner.dragFrom(event);
                if (from === null) return;
                held.drag = { start: along(event), from: from, scale: P.formScale() };
                thumb.classList.add('held');
            }
            presses[event.pointerId] = held;
            root.setPointerCapture(event.pointerId);
            if (held.drag) return;
            if (event.target === less || event.target === more) {
                var sign = event.target === less ? -1 : 1;
                repeat(held, function () { owner.step(sign); }, function () { return true; });
            } else {
                // The track: a page towards the pointer, repeated while it is beyond the thumb.
                var box = thumb.getBoundingClientRect();
                var towards = along(event) > (vertical ? box.top : box.left) ? 1 : -1;
                repeat(held, function () { owner.page(towards); },
                       function () { return beyond(held, towards); });
            }
        });
        root.addEventListener('pointermove', function (event) {
            var held = presses[event.pointerId];
            if (!held) return;
            held.at = along(event);
            if (held.drag) owner.dragTo(dragged(held, event));
        });
        root.addEventListener('pointerup', function (event) {
            var held = endPress(event.pointerId);
            if (held && held.drag) owner.dragEnd(dragged(held, event));
        });
        // A cancelled pointer, or one whose capture went without a pointerup, is not a
        // release: its repeat ends and its drag is dropped.
        ['pointercancel', 'lostpointercapture'].forEach(function (type) {
            root.addEventListener(type, function (event) {
                var held = endPress(event.pointerId);
                if (held && held.drag) owner.dragEnd(null);
            });
        });

        // The room the thumb moves in, and the thumb placed at an offset along the track.
        function room() {
            return vertical ? track.clientHeight - thumb.offsetHeight
                            : track.clientWidth - thumb.offsetWidth;
        }
        return {
            element: root, track: track, thumb: thumb, room: room,
            length: function () { return vertical ? track.clientHeight : track.clientWidth; },
            placeThumb: function (offset) {
                thumb.style[vertical ? 'top' : 'left'] = offset + 'px';
            },
        };
    };
})(KestramoPage);

// A vertical bar beside a box that scrolls (the description, a list), inside its border
// along its right edge: Firefox draws none or a thin overlay one, Safari on iPads none. The
// box scrolls as before by wheel, touch and keys; the bar follows it, and its arrows,
// track and thumb scroll it as on the desktop. `line` is what an arrow scrolls.
KestramoPage.boxBar = (function (P) {
    'use strict';

    var BAR_TWIPS = 255;  // 17 pixels
    return function (box, c, line, enabled) {
        var root = c.firstLook && c.firstLook.nextElementSibling &&
                   c.firstLook.nextElementSibling.classList.contains('vertical')
            ? c.firstLook.nextElementSibling : document.createElement('div');
        root.setAttribute('aria-hidden', 'true');
        P.place(root, { left: c.left + c.width - BAR_TWIPS - 15, top: c.top + 15,
                        width: BAR_TWIPS, height: c.height - 30, stack: c.stack, back: -1,
                        points: c.points });
        var overflow = function () { return box.scrollHeight - box.clientHeight; };
        var bar = P.drawnBar(root, 'y', {
            enabled: function () { return enabled() && !root.classList.contains('idle'); },
            press: function (event) {
                event.preventDefault();  // the focus stays where it is, as on the desktop
                return event.button === 0;
            },
            step: function (sign) { box.scrollTop += sign * line(); },
            page: function (sign) { box.scrollTop += sign * box.clientHeight; },
            dragFrom: function () { return bar.room() * box.scrollTop / overflow(); },
            dragTo: function (offset) {
                if (bar.room() > 0) box.scrollTop = offset * overflow() / bar.room();
            },
            dragEnd: function () {},
        });
        // Rows come and go by the dozen (a run fills two lists of 26): the bar is brought up
        // to date once, before the next frame, not measured again for every row.
        var pending = 0;
        function update() {
            if (!pending) pending = requestAnimationFrame(layout);
        }
        function layout() {
            pending = 0;
            var over = overflow(), text = box.tagName === 'TEXTAREA';
            root.classList.toggle('idle', over <= 0 || !enabled());
            box.classList.toggle('scrolls', over > 0 || text);
            root.hidden = box.hidden || (over <= 0 && !text);
            if (over <= 0) return;
            var track = bar.length();
            bar.thumb.style.height = Math.max(13, track * box.clientHeight / box.scrollHeight) + 'px';
            bar.placeThumb(bar.room() * box.scrollTop / over);
        }
        box.addEventListener('scroll', update);
        return { element: root, update: update, layout: layout };
    };
})(KestramoPage);
