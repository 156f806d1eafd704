// The page's own inflate against Node's zlib: every kind of block zlib writes, and streams
// that are broken, which must fail rather than give wrong bytes.
'use strict';
const assert = require('assert');
const fs = require('fs');
const zlib = require('zlib');
const inflate = require('../../ui/web/inflate.js');

function random(size, seed) {
    const bytes = new Uint8Array(size);
    for (let i = 0, x = seed; i < size; i++) {
        x = (Math.imul(x, 1103515245) + 12345) >>> 0;
        bytes[i] = x >>> 24;
    }
    return bytes;
}
const text = Buffer.from('Който рано рани, две сърца носи. '.repeat(400));
const given = process.argv[2] ? [['the page\'s program', fs.readFileSync(process.argv[2])]] : [];
const inputs = [
    ['nothing', new Uint8Array(0)],
    ['one byte', Uint8Array.of(42)],
    ['random bytes', random(200000, 7)],
    ['a repeated text', text],
    ['runs of one byte', new Uint8Array(70000).fill(9)],
    ...given,
];
const settings = [
    ['stored blocks', { level: 0 }],
    ['fixed codes', { level: 9, strategy: zlib.constants.Z_FIXED }],
    ['dynamic codes', { level: 9 }],
    ['Huffman codes alone', { strategy: zlib.constants.Z_HUFFMAN_ONLY }],
    ['runs alone', { strategy: zlib.constants.Z_RLE }],
    ['small blocks', { level: 6, memLevel: 1 }],
];
let count = 0;
for (const [what, input] of inputs) {
    for (const [how, options] of settings) {
        const packed = zlib.deflateSync(input, options);
        const unpacked = inflate(new Uint8Array(packed));
        assert.ok(Buffer.from(unpacked).equals(Buffer.from(input)), `${what}, ${how}`);
        count++;
    }
}

const good = new Uint8Array(zlib.deflateSync(text));
const broken = [
    ['an empty stream', new Uint8Array(0)],
    ['a gzip header', new Uint8Array(zlib.gzipSync(text))],
    ['a cut stream', good.subarray(0, good.length >> 1)],
    ['a stored block with a wrong length check',
     Uint8Array.of(0x78, 0x01, 0x01, 0x05, 0x00, 0x00, 0x00, 1, 2, 3, 4, 5)],
    ['a block of type 3', Uint8Array.of(0x78, 0x01, 0x07, 0x00)],
    // A fixed block whose first symbol copies from before the start: length 3, distance 1.
    ['a copy from before the start', Uint8Array.of(0x78, 0x01, 0x03, 0x02, 0x00)],
];
for (const [what, stream] of broken) {
    assert.throws(() => inflate(stream), Error, what);
    count++;
}
console.log(`inflate: ${count} cases passed`);
