// Runs the program (quorvane.js) in the page: the URL's settings become the
// stand-in's QUORVANE_* variables, the message box is the page's dialog, and
// window.quorvane tells how the program is doing:
//   state    "starting", "running" (a frame has been shown), "ended" or "failed"
//   frames   frames presented so far
//   frameMs  the program's own time per frame (a moving average), waits excluded
//   exitCode once the program has returned
'use strict';

const quorvane = window.quorvane = {state: 'starting', frames: 0, frameMs: 0};

// URL parameter -> the variable it sets; trace=1 writes the call trace to
// the console.
const settings = new Map([['seed', 'QUORVANE_CLOCK'], ['frames', 'QUORVANE_FRAMES'], ['fail', 'QUORVANE_FAIL'],
                          ['modes', 'QUORVANE_MODES']]);
const traceFiles = new Map([['0', null], ['1', '/dev/stdout']]);

const $ = id => document.getElementById(id);

function readSettings() {
    const environment = {QUORVANE_DISPLAY: 'browser'};
    for (const [name, value] of new URLSearchParams(location.search)) {
        if (name === 'trace') {
            if (!traceFiles.has(value)) throw new Error(`trace: '${value}' must be 0 or 1`);
            if (traceFiles.get(value)) environment.QUORVANE_TRACE = traceFiles.get(value);
        } else if (settings.has(name)) {
            environment[settings.get(name)] = value;
        } else {
            throw new Error(`unknown setting '${name}' (known: ${[...settings.keys()].join(', ')}, trace)`);
        }
    }
    return environment;
}

// The stand-in names its variables; the page's reader knows them as URL
// parameters.
function inPageTerms(message) {
    for (const [name, variable] of settings) message = message.split(variable).join(name);
    return message;
}

function finish(state, text) {
    quorvane.state = state;
    $('status-text').textContent = text;
    $('restart').hidden = false;
    $('status').hidden = false;
}

let lastError = '';
let environment;
try {
    environment = readSettings();
} catch (error) {
    quorvane.exitCode = 2;
    finish('failed', `The demo could not start: ${error.message}.`);
}

var Module = {
    canvas: $('screen'),
    noInitialRun: true,
    print: line => console.log(line),
    printErr: line => {
        lastError = line;
        console.warn(line);
    },
    preRun: [() => Object.assign(Module.ENV, environment)],
    onRuntimeInitialized: () => {
        if (!environment) return;
        $('status').hidden = true;
        Module.ccall('main', 'number', ['number', 'number'], [0, 0], {async: true}).then(code => {
            quorvane.exitCode = code;
            const reason = inPageTerms(lastError.replace(/^quorvane: /, ''));
            if (code === 0) finish('ended', 'The demo has ended.');
            else if (code === 1) finish('failed', 'The demo could not start.');
            else if (code === 2) finish('failed', `The demo could not start: ${reason}`);
            else finish('failed', `The demo stopped: ${reason}`);
        });
    },
    onAbort: what => finish('failed', `The demo could not run: ${what}`),
    onFramePresented: ms => {
        quorvane.frames += 1;
        quorvane.frameMs = quorvane.frames === 1 ? ms : quorvane.frameMs * 0.9 + ms * 0.1;
        quorvane.state = 'running';
    },
    showMessageBox: (text, caption) => new Promise(answered => {
        const box = $('message-box');
        $('message-caption').textContent = caption;
        $('message-text').textContent = text;
        box.addEventListener('close', answered, {once: true});
        box.showModal();
    }),
};

$('restart').addEventListener('click', () => location.reload());
