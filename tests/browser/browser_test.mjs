// The browser edition in headless Chromium: the page served from build/web
// on 127.0.0.1, driven through playwright-core. QUORVANE_WEB_DIR and
// QUORVANE_CAPTURE name other builds; CHROMIUM another browser.
import {after, afterEach, before, test} from 'node:test';
import assert from 'node:assert/strict';
import {execFileSync} from 'node:child_process';
import {mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {tmpdir} from 'node:os';
import {dirname, join, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';
import {chromium} from 'playwright-core';

import {serve} from '../../web/serve.mjs';
import {decodePng} from './png.mjs';

const root = resolve(dirname(fileURLToPath(import.meta.url)), '../..');
const webDir = process.env.QUORVANE_WEB_DIR || join(root, 'build/web');
const capture = process.env.QUORVANE_CAPTURE || join(root, 'build/release/tools/capture/quorvane-capture');

let server, browser;

before(async () => {
    server = await serve(webDir);
    browser = await chromium.launch({
        executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
        args: ['--no-sandbox', '--headless', '--disable-gpu', '--disable-background-networking',
               '--disable-component-update', '--disable-sync', '--no-first-run'],
    });
});

afterEach(async () => {
    for (const context of browser.contexts()) await context.close();
});

after(async () => {
    await browser?.close();
    await server?.close();
});

// Opens the page with the query; collects what the page logs and every error.
// webgl: 'gpu' as the browser has it (headless Chromium's WebGL2 runs on
// the processor, which the page declines), 'any' taken as if a GPU drew
// it, 'none' not given at all.
async function open(query = '', {webgl = 'gpu'} = {}) {
    const page = await browser.newPage({viewport: {width: 1024, height: 768}});
    if (webgl !== 'gpu') {
        await page.addInitScript(webgl => {
            const getContext = HTMLCanvasElement.prototype.getContext;
            HTMLCanvasElement.prototype.getContext = function(type, options) {
                return type === 'webgl2' && webgl === 'none' ? null : getContext.call(this, type, options);
            };
            const getParameter = WebGL2RenderingContext.prototype.getParameter;
            const unmaskedRenderer = 0x9246;
            WebGL2RenderingContext.prototype.getParameter = function(name) {
                return name === unmaskedRenderer ? 'a GPU' : getParameter.call(this, name);
            };
        }, webgl);
    }
    const logged = [], errors = [];
    page.on('console', message => (message.type() === 'error' ? errors : logged).push(message.text()));
    page.on('pageerror', error => errors.push(error.message));
    await page.goto(server.url + query);
    return {page, logged, errors};
}

const state = page => page.evaluate(() => ({...window.quorvane}));
const waitForState = (page, wanted) =>
    page.waitForFunction(wanted => window.quorvane.state === wanted, wanted, {timeout: 20000});

// The canvas's picture, RGBA bytes, whichever context draws it (copied
// onto a 2D canvas of the same size).
async function canvasPixels(page) {
    const base64 = await page.evaluate(() => {
        const canvas = document.getElementById('screen');
        const copy = document.createElement('canvas');
        [copy.width, copy.height] = [canvas.width, canvas.height];
        const context = copy.getContext('2d');
        context.drawImage(canvas, 0, 0);
        const bytes = context.getImageData(0, 0, canvas.width, canvas.height).data;
        let text = '';
        for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
        return {width: canvas.width, height: canvas.height, data: btoa(text)};
    });
    return {...base64, data: Buffer.from(base64.data, 'base64')};
}

// Counts the page's animation frames while the program's frames are counted.
const framesOverAnimationFrames = (page, count) => page.evaluate(count => new Promise(done => {
    const first = window.quorvane.frames;
    let seen = 0;
    const step = () => (++seen < count ? requestAnimationFrame(step) : done(window.quorvane.frames - first));
    requestAnimationFrame(step);
}), count);

// Hides or shows the page as the browser does for a background tab (headless
// Chromium keeps its pages visible): the page's own view of it, and the event.
const setHidden = (page, hidden) => page.evaluate(hidden => {
    for (const [name, value] of [['hidden', hidden], ['visibilityState', hidden ? 'hidden' : 'visible']])
        Object.defineProperty(document, name, {configurable: true, get: () => value});
    document.dispatchEvent(new Event('visibilitychange'));
}, hidden);

// The four materials lit by white light: yellow (no blue), red (no green),
// near white, and blue over a dim red and green.
const families = {
    yellow: (r, g, b) => b < 8 && r > 40 && g > 40,
    red: (r, g, b) => g < 8 && r > 40,
    white: (r, g, b) => r > 60 && g > 60 && b > 60,
    blue: (r, g, b) => r < 40 && g < 40 && b > 60,
};

test('runs at the display rate with the four tori, ignores other keys and ends on Escape', async t => {
    const {page, errors} = await open('?seed=1');
    await waitForState(page, 'running');
    t.diagnostic(`first frame ${Math.round(await page.evaluate(() => performance.now()))} ms after navigation began`);

    const {data} = await canvasPixels(page);
    for (const [name, inFamily] of Object.entries(families)) {
        let count = 0;
        for (let i = 0; i < data.length; i += 4) count += inFamily(data[i], data[i + 1], data[i + 2]);
        assert.ok(count > 1000, `${name} torus: ${count} pixels`);
    }

    // One frame per animation frame, allowing for a busy machine.
    const animationFrames = 60, frames = await framesOverAnimationFrames(page, animationFrames);
    const {frameMs} = await state(page);
    t.diagnostic(`${frames} frames in ${animationFrames} animation frames; frameMs ${frameMs.toFixed(2)}`);
    assert.ok(frames >= animationFrames / 2 && frames <= animationFrames + 1, `${frames} frames`);

    // A key takes the page full screen, as the program asked.
    for (const key of ['a', 'Space', 'Enter', 'F1']) await page.keyboard.press(key);
    await page.waitForFunction(() => document.fullscreenElement !== null);
    assert.ok((await framesOverAnimationFrames(page, 10)) > 0, 'frames stopped after other keys');
    assert.equal((await state(page)).state, 'running');

    await page.keyboard.press('Escape');
    await waitForState(page, 'ended');
    const ended = await state(page);
    assert.equal(ended.exitCode, 0);
    assert.equal(await framesOverAnimationFrames(page, 10), 0, 'frames went on after the end');
    await page.waitForFunction(() => document.fullscreenElement === null);
    assert.ok(await page.isVisible('text=The demo has ended.'));
    assert.deepEqual(errors, []);
});

test('a hidden page pauses the demo until it is shown again', async () => {
    const {page, errors} = await open('?seed=1');
    await waitForState(page, 'running');
    await setHidden(page, true);
    await framesOverAnimationFrames(page, 2);  // the frame under way when the page was hidden
    assert.equal(await framesOverAnimationFrames(page, 20), 0, 'frames went on while hidden');
    await setHidden(page, false);
    assert.ok((await framesOverAnimationFrames(page, 20)) > 0, 'frames did not resume');
    assert.equal((await state(page)).state, 'running');
    assert.deepEqual(errors, []);
});

test('a lost WebGL2 context drops the frames until it is restored, then the picture comes back', async () => {
    const {page, errors} = await open('?seed=1', {webgl: 'any'});
    await waitForState(page, 'running');
    await page.evaluate(() => {
        window.loseContext = document.getElementById('screen').getContext('webgl2').getExtension('WEBGL_lose_context');
        window.loseContext.loseContext();
    });
    assert.ok((await framesOverAnimationFrames(page, 10)) > 0, 'frames stopped while the context was lost');
    await page.evaluate(() => window.loseContext.restoreContext());
    await page.waitForFunction(() => !document.getElementById('screen').getContext('webgl2').isContextLost());
    await framesOverAnimationFrames(page, 2);
    const {data} = await canvasPixels(page);
    let lit = 0;
    for (let i = 0; i < data.length; i += 4) lit += data[i] + data[i + 1] + data[i + 2] > 0;
    assert.ok(lit > 4000, `${lit} lit pixels after the context came back`);
    assert.deepEqual(errors, []);
});

test('a failed start shows the message box once, draws nothing and fails after OK', async () => {
    const {page, logged, errors} = await open('?fail=IDirectDraw::SetDisplayMode');
    await page.waitForSelector('dialog[open]');
    assert.equal(await page.textContent('#message-caption'), 'My Quorvane application');
    assert.equal(await page.textContent('#message-text'), 'Direct3D init failed!');
    assert.equal((await state(page)).state, 'starting');

    await page.keyboard.press('Enter');  // the box's OK, which has the focus
    await waitForState(page, 'failed');
    assert.equal(await page.evaluate(() => document.fullscreenElement), null, 'answering the box took full screen');
    const failed = await state(page);
    assert.equal(failed.exitCode, 1);
    assert.equal(failed.frames, 0);
    assert.ok((await canvasPixels(page)).data.every(byte => byte === 0), 'the canvas was drawn on');
    assert.equal(logged.filter(line => line.includes('Direct3D init failed!')).length, 1);
    assert.ok(await page.isVisible('text=The demo could not start.'));
    assert.deepEqual(errors, []);
});

test('a seeded run ends on its own with the same last frame as the native program, whichever way it is shown', async () => {
    const scratch = mkdtempSync(join(tmpdir(), 'quorvane-web-'));
    try {
        const png = join(scratch, 'native.png');
        // QUORVANE_CAPTURE may name the tool here; the tool refuses it as the program's setting.
        const {QUORVANE_CAPTURE: _, ...environment} = process.env;
        execFileSync(capture, ['--seed', '1', '--frames', '120', '--png', png], {env: environment});
        const native = decodePng(readFileSync(png));

        await Promise.all(['gpu', 'any', 'none'].map(async webgl => {
            const {page, errors} = await open('?seed=1&frames=120', {webgl});
            await waitForState(page, 'ended');
            assert.equal((await state(page)).frames, 120);
            const web = await canvasPixels(page);
            assert.deepEqual([web.width, web.height], [native.width, native.height]);
            assert.ok(web.data.equals(native.rgba), `the last frames differ (WebGL2: ${webgl})`);
            assert.deepEqual(errors, []);
        }));
    } finally {
        rmSync(scratch, {recursive: true, force: true});
    }
});

test('trace=1 writes the call trace to the console; a bad setting is refused with the reason', async () => {
    const traced = await open('?trace=1&frames=2');
    await waitForState(traced.page, 'ended');
    assert.ok(traced.logged.some(line => line.startsWith('DirectDrawCreate(')), 'no trace in the console');

    const refused = [['?frames=many', /frames: 'many' is not a frame count/], ['?fail=NoSuchCall', /fail: .*NoSuchCall/],
                     ['?speed=2', /unknown setting 'speed'/], ['?toString=1', /unknown setting 'toString'/]];
    await Promise.all(refused.map(async ([query, reason]) => {
        const {page} = await open(query);
        await waitForState(page, 'failed');
        assert.equal((await state(page)).exitCode, 2, query);
        assert.match(await page.textContent('#status-text'), reason);
    }));
});

test('the server answers a malformed or escaping address with an error and goes on serving', async () => {
    for (const [path, status] of [['%E0%A4%A', 400], ['..%2f..%2fetc%2fpasswd', 403], ['index.html', 200]])
        assert.equal((await fetch(server.url + path)).status, status, path);
});
