// Reads an 8-bit RGB or RGBA PNG (not interlaced) into RGBA bytes.
import {inflateSync} from 'node:zlib';

const channelsOf = {2: 3, 6: 4};

export function decodePng(file) {
    let width = 0, height = 0, channels = 0;
    const compressed = [];
    for (let at = 8; at < file.length;) {
        const length = file.readUInt32BE(at), type = file.toString('latin1', at + 4, at + 8);
        const data = file.subarray(at + 8, at + 8 + length);
        if (type === 'IHDR') {
            width = data.readUInt32BE(0);
            height = data.readUInt32BE(4);
            channels = channelsOf[data[9]];
            if (data[8] !== 8 || !channels || data[12] !== 0) throw new Error('not an 8-bit RGB(A) PNG');
        } else if (type === 'IDAT') {
            compressed.push(data);
        }
        at += 12 + length;
    }
    const raw = inflateSync(Buffer.concat(compressed));
    const stride = width * channels, rows = Buffer.alloc(stride * height);
    for (let y = 0; y < height; ++y) {
        const filter = raw[y * (stride + 1)], line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
        for (let x = 0; x < stride; ++x) {
            const left = x >= channels ? rows[y * stride + x - channels] : 0;
            const up = y > 0 ? rows[(y - 1) * stride + x] : 0;
            const upLeft = x >= channels && y > 0 ? rows[(y - 1) * stride + x - channels] : 0;
            rows[y * stride + x] = line[x] + [0, left, up, (left + up) >> 1, paeth(left, up, upLeft)][filter];
        }
    }
    const rgba = Buffer.alloc(width * height * 4, 255);
    for (let i = 0; i < width * height; ++i) rows.copy(rgba, i * 4, i * channels, i * channels + 3);
    return {width, height, rgba};
}

function paeth(a, b, c) {
    const p = a + b - c, pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
    return pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
}
