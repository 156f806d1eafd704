// The clock's side on the page: woken by setTimeout a little before its deadline, it waits
// out the rest on performance.now(), so the tick comes at the deadline and never before it.
var KestramoClock = (function () {
    'use strict';

    // setTimeout counts whole milliseconds and may come late: the clock asks to be woken
    // this much before a deadline and waits out the rest of it here.
    var WAKE_EARLY = 1.5;
    var wakes = {};      // handle -> {deadline, timer}

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
        _kestramo_expired(handle);
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

    return { wakeAt: wakeAt, cancelWake: cancelWake };
})();
