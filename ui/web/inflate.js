// Unpacks a zlib stream (RFC 1950 around RFC 1951's deflate), for a browser that has no
// DecompressionStream: the page carries its WebAssembly packed, and iPads that stay on an
// older system still open it. A browser with DecompressionStream never calls this.
var KestramoInflate = (function () {
    'use strict';

    // Lengths and distances: their base values and extra bits (RFC 1951, 3.2.5).
    var LENGTH_BASE = [3, 4, 5, 6, 7, 8, 9, 10, 11, 13, 15, 17, 19, 23, 27, 31, 35, 43, 51, 59,
                       67, 83, 99, 115, 131, 163, 195, 227, 258];
    var LENGTH_EXTRA = [0, 0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 2, 2, 2, 2, 3, 3, 3, 3, 4, 4, 4, 4,
                        5, 5, 5, 5, 0];
    var DISTANCE_BASE = [1, 2, 3, 4, 5, 7, 9, 13, 17, 25, 33, 49, 65, 97, 129, 193, 257, 385,
                         513, 769, 1025, 1537, 2049, 3073, 4097, 6145, 8193, 12289, 16385, 24577];
    var DISTANCE_EXTRA = [0, 0, 0, 0, 1, 1, 2, 2, 3, 3, 4, 4, 5, 5, 6, 6, 7, 7, 8, 8, 9, 9, 10, 10,
                          11, 11, 12, 12, 13, 13];
    // The order in which a dynamic block gives the lengths of its code-length code.
    var ORDER = [16, 17, 18, 0, 8, 7, 9, 6, 10, 5, 11, 4, 12, 3, 13, 2, 14, 1, 15];

    // A canonical Huffman code from its code lengths: how many codes of each length, and
    // the symbols in the order of their codes.
    function code(lengths) {
        var counts = new Uint16Array(16), next = new Uint16Array(16);
        var symbols = new Uint16Array(lengths.length);
        for (var i = 0; i < lengths.length; i++) counts[lengths[i]]++;
        counts[0] = 0;
        for (var n = 1; n < 16; n++) next[n] = next[n - 1] + counts[n - 1];
        for (i = 0; i < lengths.length; i++) if (lengths[i]) symbols[next[lengths[i]]++] = i;
        return { counts: counts, symbols: symbols };
    }
    function repeated(length, times) {
        var lengths = [];
        for (var i = 0; i < times; i++) lengths.push(length);
        return lengths;
    }
    var FIXED_LITERALS = code([].concat(repeated(8, 144), repeated(9, 112), repeated(7, 24),
                                        repeated(8, 8)));
    var FIXED_DISTANCES = code(repeated(5, 30));

    function inflate(input) {
        if (input.length < 2 || (input[0] & 15) !== 8 || ((input[0] << 8) | input[1]) % 31)
            throw new Error('not a zlib stream');
        if (input[1] & 32) throw new Error('a preset dictionary is not supported');
        var at = 2, buffer = 0, held = 0;
        var out = new Uint8Array(Math.max(1024, input.length * 4)), size = 0;

        function bits(count) {
            while (held < count) {
                if (at >= input.length) throw new Error('the stream ends early');
                buffer |= input[at++] << held;
                held += 8;
            }
            var value = buffer & ((1 << count) - 1);
            buffer >>>= count;
            held -= count;
            return value;
        }
        function decode(huffman) {
            var first = 0, index = 0, value = 0;
            for (var length = 1; length < 16; length++) {
                value |= bits(1);
                var count = huffman.counts[length];
                if (value - first < count) return huffman.symbols[index + value - first];
                index += count;
                first = (first + count) << 1;
                value <<= 1;
            }
            throw new Error('a code that no table has');
        }
        function room(more) {
            if (size + more <= out.length) return;
            var bigger = new Uint8Array(Math.max(out.length * 2, size + more));
            bigger.set(out.subarray(0, size));
            out = bigger;
        }
        function stored() {
            buffer = 0;
            held = 0;
            if (at + 4 > input.length) throw new Error('the stream ends early');
            var length = input[at] | (input[at + 1] << 8);
            if ((length ^ (input[at + 2] | (input[at + 3] << 8))) !== 0xffff)
                throw new Error('a stored block with a broken length');
            at += 4;
            if (at + length > input.length) throw new Error('the stream ends early');
            room(length);
            out.set(input.subarray(at, at + length), size);
            size += length;
            at += length;
        }
        function dynamic() {
            var literalCount = bits(5) + 257, distanceCount = bits(5) + 1, lengthCount = bits(4) + 4;
            var lengthLengths = new Uint8Array(19);
            for (var i = 0; i < lengthCount; i++) lengthLengths[ORDER[i]] = bits(3);
            var lengthCode = code(lengthLengths);
            var lengths = new Uint8Array(literalCount + distanceCount);
            for (i = 0; i < lengths.length;) {
                var symbol = decode(lengthCode), times = 1, value = symbol;
                if (symbol === 16) {
                    if (i === 0) throw new Error('a repeat with nothing before it');
                    value = lengths[i - 1];
                    times = 3 + bits(2);
                } else if (symbol === 17) {
                    value = 0;
                    times = 3 + bits(3);
                } else if (symbol === 18) {
                    value = 0;
                    times = 11 + bits(7);
                }
                if (i + times > lengths.length) throw new Error('too many code lengths');
                while (times--) lengths[i++] = value;
            }
            return [code(lengths.subarray(0, literalCount)), code(lengths.subarray(literalCount))];
        }
        function compressed(literals, distances) {
            for (;;) {
                var symbol = decode(literals);
                if (symbol < 256) {
                    room(1);
                    out[size++] = symbol;
                    continue;
                }
                if (symbol === 256) return;
                symbol -= 257;
                if (symbol >= 29) throw new Error('a length that no table has');
                var length = LENGTH_BASE[symbol] + bits(LENGTH_EXTRA[symbol]);
                var which = decode(distances);
                if (which >= 30) throw new Error('a distance that no table has');
                var distance = DISTANCE_BASE[which] + bits(DISTANCE_EXTRA[which]);
                if (distance > size) throw new Error('a distance before the start');
                room(length);
                for (var i = 0; i < length; i++, size++) out[size] = out[size - distance];
            }
        }

        var last;
        do {
            last = bits(1);
            var type = bits(2);
            if (type === 0) {
                stored();
            } else if (type === 1) {
                compressed(FIXED_LITERALS, FIXED_DISTANCES);
            } else if (type === 2) {
                var codes = dynamic();
                compressed(codes[0], codes[1]);
            } else {
                throw new Error('a block of an unknown type');
            }
        } while (!last);
        return out.slice(0, size);
    }

    return inflate;
})();
if (typeof module === 'object' && module.exports) module.exports = KestramoInflate;
