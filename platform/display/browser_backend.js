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
        gl: undefined,     // the canvas's WebGL2 context, taken at the first frame (null: none to be had)
        drawing: null,     // what draws the frames on it: made on the first frame after taking or losing it
        context: null,     // the canvas's 2D context where there is no WebGL2, taken at the first frame
        image: null,       // the 2D context's pixels as the memory holds them, kept from frame to frame
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
        // Whether the browser draws WebGL2 on a GPU, asked of a canvas of
        // its own (a canvas with a WebGL2 context can have no other). A
        // WebGL2 drawn on the processor, the browser's fallback where there
        // is no GPU, costs the page several times what the 2D canvas does.
        gpuDraws: function() {
            var gl = document.createElement('canvas').getContext('webgl2', {failIfMajorPerformanceCaveat: true});
            if (!gl) return false;
            var info = gl.getExtension('WEBGL_debug_renderer_info');
            var renderer = info ? String(gl.getParameter(info.UNMASKED_RENDERER_WEBGL)) : '';
            var lose = gl.getExtension('WEBGL_lose_context');
            if (lose) lose.loseContext();
            return !/SwiftShader|llvmpipe|softpipe|Software|Basic Render/i.test(renderer);
        },
        presented: function() {
            if (Module.onFramePresented) Module.onFramePresented(performance.now() - QvDisplay.resumedAt);
        },
        // The browser may take the GPU back (a reset, too many pages); the
        // context comes back when asked for, and the frame's drawing is then
        // made anew. Frames shown meanwhile are dropped.
        onContextLost: function(event) {
            event.preventDefault();
            QvDisplay.drawing = null;
        },
        // The frame as a texture of the same size holding its bytes as they
        // are (B, G, R, X, which the texture reads as red, green, blue and
        // alpha), drawn texel for pixel by one triangle covering the canvas
        // that puts the colours in order.
        makeDrawing: function(gl) {
            var program = gl.createProgram();
            function attach(type, source) {
                var shader = gl.createShader(type);
                gl.shaderSource(shader, '#version 300 es\n' + source);
                gl.compileShader(shader);
                gl.attachShader(program, shader);
                gl.deleteShader(shader);  // freed with the program
            }
            attach(gl.VERTEX_SHADER,
                   'void main() { gl_Position = vec4(float((gl_VertexID & 1) << 2) - 1.0, float((gl_VertexID & 2) << 1) - 1.0, 0, 1); }');
            // The frame's rows go top down, the canvas's bottom up.
            attach(gl.FRAGMENT_SHADER, 'precision highp float; uniform highp sampler2D frame; out vec4 color;\n' +
                   'void main() { ivec2 at = ivec2(gl_FragCoord.xy); at.y = textureSize(frame, 0).y - 1 - at.y;\n' +
                   '              color = vec4(texelFetch(frame, at, 0).bgr, 1); }');
            gl.linkProgram(program);
            if (!gl.getProgramParameter(program, gl.LINK_STATUS) && !gl.isContextLost())
                throw new Error('the frame\'s WebGL2 program: ' + gl.getProgramInfoLog(program));
            gl.useProgram(program);
            var texture = gl.createTexture();
            gl.bindTexture(gl.TEXTURE_2D, texture);
            gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MIN_FILTER, gl.NEAREST);
            gl.texParameteri(gl.TEXTURE_2D, gl.TEXTURE_MAG_FILTER, gl.NEAREST);
            return {program: program, texture: texture, width: 0, height: 0};
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
        var drawing = QvDisplay.drawing;
        if (drawing) {
            QvDisplay.gl.deleteTexture(drawing.texture);
            QvDisplay.gl.deleteProgram(drawing.program);
            QvDisplay.drawing = null;
        }
        for (var type of ['keydown', 'keyup']) window.removeEventListener(type, QvDisplay.onKey);
        for (var gesture of ['click', 'keydown']) window.removeEventListener(gesture, QvDisplay.onGesture);
        if (document.fullscreenElement) document.exitFullscreen().catch(function() {});
    },

    qv_browser_set_mode: function(width, height) {
        Module.canvas.width = width;
        Module.canvas.height = height;
    },

    // Shows the frame (XRGB, pitch in pixels) through WebGL2 as its bytes
    // are; false where the canvas has no WebGL2 on a GPU (qv_browser_show_rgba
    // then).
    qv_browser_show_frame__deps: ['$QvDisplay'],
    qv_browser_show_frame: function(pixels, width, height, pitch) {
        if (QvDisplay.gl === undefined) {
            QvDisplay.gl = QvDisplay.gpuDraws() ? Module.canvas.getContext('webgl2', {
                alpha: false, antialias: false, depth: false, stencil: false, preserveDrawingBuffer: true}) : null;
            if (QvDisplay.gl) Module.canvas.addEventListener('webglcontextlost', QvDisplay.onContextLost);
        }
        var gl = QvDisplay.gl;
        if (!gl) return false;
        if (!gl.isContextLost()) {
            var drawing = QvDisplay.drawing = QvDisplay.drawing || QvDisplay.makeDrawing(gl);
            if (drawing.width !== width || drawing.height !== height) {
                gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA8, width, height, 0, gl.RGBA, gl.UNSIGNED_BYTE, null);
                gl.viewport(0, 0, width, height);
                drawing.width = width;
                drawing.height = height;
            }
            gl.pixelStorei(gl.UNPACK_ROW_LENGTH, pitch);
            gl.texSubImage2D(gl.TEXTURE_2D, 0, 0, 0, width, height, gl.RGBA, gl.UNSIGNED_BYTE, HEAPU8, pixels);
            gl.drawArrays(gl.TRIANGLES, 0, 3);
        }
        QvDisplay.presented();
        return true;
    },

    // Shows the frame as the 2D context's RGBA bytes.
    qv_browser_show_rgba__deps: ['$QvDisplay'],
    qv_browser_show_rgba: function(rgba, width, height) {
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
        QvDisplay.presented();
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
