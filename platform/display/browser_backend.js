// The page's side of the browser display (display/browser_backend.cpp).
// The page gives the canvas (Module.canvas) and may give
// Module.showMessageBox(text, caption), a promise answered by OK, and
// Module.onFramePresented(ms), told the time the program took for each frame
// since it last resumed.
mergeInto(LibraryManager.library, {
    $QvDisplay: {
        keys: [],          // key events not yet taken by the program
        wakeOnInput: null, // resumes a program waiting for input
        resumedAt: 0,      // when the program last resumed
        taken: false,      // the program holds the display (exclusive mode)
        context: null,     // the canvas's 2D context, taken at the first frame
        image: null,       // the canvas's pixels as the memory holds them, kept from frame to frame
        onKey: function(event) {
            // Typing with Ctrl or Meta (the browser's shortcuts) is the
            // browser's, and typing into the page's message box is the box's.
            if (event.ctrlKey && !event.altKey || event.metaKey) return;
            if (event.target instanceof Element && event.target.closest('dialog')) return;
            event.preventDefault();
            // The Latin letter the layout puts on the key, if any.
            var letter = /^[A-Za-z]$/.test(event.key) ? event.key.charCodeAt(0) : 0;
            QvDisplay.keys.push({code: event.code, flags: (event.type === 'keyup' ? 1 : 0) |
                (event.repeat ? 2 : 0) | (event.altKey ? 4 : 0) | (event.ctrlKey ? 8 : 0) | letter << 8});
            QvDisplay.wake();
        },
        // The program asked for exclusive full screen: a click or key (the
        // browser allows it only on one) takes the page full screen (the
        // canvas fills it), with Escape kept for the program where the
        // browser can. Answering the page's message box is not such a gesture.
        onGesture: function(event) {
            var page = document.documentElement;
            if (!QvDisplay.taken || document.fullscreenElement || !page.requestFullscreen) return;
            if (event.target instanceof Element && event.target.closest('dialog')) return;
            page.requestFullscreen().then(function() {
                // The display may have been given back while the browser asked.
                if (!QvDisplay.taken) return document.exitFullscreen();
                if (navigator.keyboard && navigator.keyboard.lock) return navigator.keyboard.lock(['Escape']);
            }).catch(function() {});
        },
        wake: function() {
            var wake = QvDisplay.wakeOnInput;
            QvDisplay.wakeOnInput = null;
            if (wake) wake();
        },
        // Calls then at the next animation frame of a visible page: a hidden
        // page pauses the demo, and the frame waits, without polling, until
        // the page is shown again (whether or not the browser goes on with
        // its animation frames meanwhile).
        nextFrame: function(then) {
            requestAnimationFrame(function() {
                if (!document.hidden) return then();
                document.addEventListener('visibilitychange', function shown() {
                    if (document.hidden) return;
                    document.removeEventListener('visibilitychange', shown);
                    QvDisplay.nextFrame(then);
                });
            });
        },
        resume: function(wakeUp) {
            QvDisplay.resumedAt = performance.now();
            wakeUp();
        },
    },

    qv_browser_open__deps: ['$QvDisplay'],
    qv_browser_open: function() {
        QvDisplay.taken = true;
        QvDisplay.resumedAt = performance.now();
        for (var type of ['keydown', 'keyup']) window.addEventListener(type, QvDisplay.onKey);
        for (var gesture of ['click', 'keydown']) window.addEventListener(gesture, QvDisplay.onGesture);
    },

    qv_browser_close__deps: ['$QvDisplay'],
    qv_browser_close: function() {
        QvDisplay.taken = false;
        QvDisplay.image = null;
        for (var type of ['keydown', 'keyup']) window.removeEventListener(type, QvDisplay.onKey);
        for (var gesture of ['click', 'keydown']) window.removeEventListener(gesture, QvDisplay.onGesture);
        if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    },

    qv_browser_set_mode: function(width, height) {
        Module.canvas.width = width;
        Module.canvas.height = height;
    },

    qv_browser_present__deps: ['$QvDisplay'],
    qv_browser_present: function(rgba, width, height) {
        // One view of the pixels serves every frame, until they move or the
        // memory grows (which gives it a new buffer).
        var image = QvDisplay.image;
        if (!image || image.data.buffer !== HEAPU8.buffer || image.data.byteOffset !== rgba ||
            image.width !== width || image.height !== height) {
            image = QvDisplay.image = new ImageData(new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4),
                                                    width, height);
        }
        QvDisplay.context = QvDisplay.context || Module.canvas.getContext('2d');
        QvDisplay.context.putImageData(image, 0, 0);
        if (Module.onFramePresented) Module.onFramePresented(performance.now() - QvDisplay.resumedAt);
    },

    qv_browser_wait_frame__deps: ['$QvDisplay'],
    qv_browser_wait_frame: function() {
        Asyncify.handleSleep(function(wakeUp) {
            QvDisplay.nextFrame(function() { QvDisplay.resume(wakeUp); });
        });
    },

    qv_browser_wait_input__deps: ['$QvDisplay'],
    qv_browser_wait_input: function(timeoutMs) {
        Asyncify.handleSleep(function(wakeUp) {
            var timer = timeoutMs >= 0 ? setTimeout(QvDisplay.wake, timeoutMs) : null;
            QvDisplay.wakeOnInput = function() {
                clearTimeout(timer);
                QvDisplay.resume(wakeUp);
            };
        });
    },

    qv_browser_next_key__deps: ['$QvDisplay'],
    qv_browser_next_key: function(code, codeSize) {
        var key = QvDisplay.keys.shift();
        if (!key) return -1;
        stringToUTF8(key.code, code, codeSize);
        return key.flags;
    },

    qv_browser_message_box__deps: ['$QvDisplay'],
    qv_browser_message_box: function(text, caption) {
        Asyncify.handleSleep(function(wakeUp) {
            var shown = Module.showMessageBox && Module.showMessageBox(UTF8ToString(text), UTF8ToString(caption));
            Promise.resolve(shown).then(function() { QvDisplay.resume(wakeUp); });
        });
    },
});
