#!/usr/bin/env python3
# Recompresses the tool's stored-deflate PNGs with zlib (level 9), in place.
import sys, zlib, struct
for path in sys.argv[1:]:
    data = open(path, 'rb').read()
    pos, chunks = 8, []
    while pos < len(data):
        n, = struct.unpack('>I', data[pos:pos+4]); typ = data[pos+4:pos+8]
        chunks.append((typ, data[pos+8:pos+8+n])); pos += 12 + n
    idat = b''.join(c for t, c in chunks if t == b'IDAT')
    raw = zlib.decompress(idat)
    out = data[:8]
    def chunk(t, c): return struct.pack('>I', len(c)) + t + c + struct.pack('>I', zlib.crc32(t + c) & 0xffffffff)
    for t, c in chunks:
        if t == b'IHDR': out += chunk(t, c)
    out += chunk(b'IDAT', zlib.compress(raw, 9)) + chunk(b'IEND', b'')
    open(path, 'wb').write(out)
