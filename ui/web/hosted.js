// The page served from a school's server: its service worker keeps it for visits with no
// network, and installed as an app its window opens at the form's size. Where a browser
// cannot do either (no HTTPS, no service workers), the page runs as it does from a file,
// and says nothing of it.
(function () {
    'use strict';
    // The folder opened from a disk is the one-file page: it asks for nothing beside it.
    if (!/^https?:$/.test(location.protocol)) return;
    var manifest = document.createElement('link');
    manifest.rel = 'manifest';
    manifest.href = 'manifest.webmanifest';
    document.head.appendChild(manifest);
    if ('serviceWorker' in navigator && window.isSecureContext) {
        window.addEventListener('load', function () {
            navigator.serviceWorker.register('service-worker.js').catch(function () {});
        });
    }
    // An app's own window has no browser around the form: it is made the form's size, as
    // a program's window is, each time the app starts. Its frame is known only once it
    // shows, and may change as it does (a bar that comes and goes), so the size is asked
    // again at each change until the form fits; then the user's own changes are his.
    var form = document.getElementById('form');
    var app = window.matchMedia && window.matchMedia('(display-mode: standalone)').matches;
    if (app && form && window.resizeTo) {
        var width = parseFloat(form.style.width), height = parseFloat(form.style.height);
        var tries = 5;
        var fitWindow = function () {
            if (window.innerWidth === width && window.innerHeight === height || !tries--) {
                window.removeEventListener('resize', fitWindow);
                return;
            }
            // The same size however often it is asked, from sizes read at any moment.
            window.resizeTo(Math.ceil(width + window.outerWidth - window.innerWidth),
                            Math.ceil(height + window.outerHeight - window.innerHeight));
        };
        window.addEventListener('load', function () {
            window.addEventListener('resize', fitWindow);
            fitWindow();
        });
    }
})();
