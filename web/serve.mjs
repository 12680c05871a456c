// Serves a folder (default: build/web) on 127.0.0.1 at a free port and prints
// its address; as a module, serve(folder) does the same for a test.
import {createServer} from 'node:http';
import {readFile} from 'node:fs/promises';
import {extname, join, normalize, resolve} from 'node:path';
import {fileURLToPath} from 'node:url';

const types = {
    '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.mjs': 'text/javascript',
    '.wasm': 'application/wasm', '.ico': 'image/x-icon', '.png': 'image/png',
};

export function serve(folder) {
    const root = resolve(folder);
    const server = createServer(async (request, response) => {
        let path;
        try {
            path = decodeURIComponent(new URL(request.url, 'http://localhost').pathname);
        } catch {
            response.writeHead(400).end();  // a malformed address; the server goes on
            return;
        }
        const file = normalize(join(root, path.endsWith('/') ? path + 'index.html' : path));
        if (!file.startsWith(root + '/')) {
            response.writeHead(403).end();
            return;
        }
        try {
            const body = await readFile(file);
            response.writeHead(200, {'Content-Type': types[extname(file)] || 'application/octet-stream'}).end(body);
        } catch {
            response.writeHead(404).end();
        }
    });
    return new Promise((started, failed) => {
        server.once('error', failed);
        server.listen(0, '127.0.0.1', () => started({
            url: `http://127.0.0.1:${server.address().port}/`,
            close: () => new Promise(closed => server.close(closed)),
        }));
    });
}

if (process.argv[1] === fileURLToPath(import.meta.url)) {
    const {url} = await serve(process.argv[2] || 'build/web');
    console.log(`Quorvane is served at ${url} (Ctrl+C stops the server)`);
}
