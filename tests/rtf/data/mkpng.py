# Small helpers for making picture samples (used by hand when the samples were made).
import zlib, struct

def png(w, h):
    rows = []
    for y in range(h):
        row = bytearray(b'\x00')
        for x in range(w):
            row += bytes([(x * 40) % 256, (y * 60) % 256, 128])
        rows.append(bytes(row))
    def chunk(t, d):
        return struct.pack('>I', len(d)) + t + d + struct.pack('>I', zlib.crc32(t + d) & 0xffffffff)
    return (b'\x89PNG\r\n\x1a\n' + chunk(b'IHDR', struct.pack('>IIBBBBB', w, h, 8, 2, 0, 0, 0)) +
            chunk(b'IDAT', zlib.compress(b''.join(rows))) + chunk(b'IEND', b''))

def emf(frame_w, frame_h):
    # ENHMETAHEADER (88 bytes): bounds, frame in 0.01 mm, signature, version ... then EOF record
    head = struct.pack('<II4i4i4sIIIHH', 1, 88, 0, 0, 10, 10, 0, 0, frame_w, frame_h, b' EMF',
                       0x10000, 88 + 20, 2, 0, 0)
    head += bytes(88 - len(head))
    eof = struct.pack('<IIIII', 14, 20, 0, 16, 20)
    return head + eof
