#!/usr/bin/env python3
"""Checks the compiled resources against the layout the program relies on.

Usage: check_resources.py FILE
FILE is a compiled resource file (.res), the COFF object that windres makes
for the build (CMake names it quorvane.rc.res as well), or the linked .exe.

Prints "ok" and exits 0 when everything matches; otherwise prints each
mismatch and exits 1. Python 3 standard library only.
"""

import struct
import sys
import xml.etree.ElementTree as ET

RT_ICON, RT_DIALOG, RT_GROUP_ICON, RT_VERSION, RT_MANIFEST = 3, 5, 14, 16, 24

WS_POPUP, WS_CHILD, WS_VISIBLE = 0x80000000, 0x40000000, 0x10000000
WS_CAPTION, WS_BORDER, WS_SYSMENU = 0x00C00000, 0x00800000, 0x00080000
WS_GROUP, WS_TABSTOP = 0x00020000, 0x00010000
DS_FIXEDSYS, DS_SETFONT, DS_MODALFRAME = 0x0008, 0x0040, 0x0080
DS_SETFOREGROUND, DS_CENTER, DS_CENTERMOUSE = 0x0200, 0x0800, 0x1000
ES_AUTOHSCROLL, ES_READONLY = 0x0080, 0x0800

CAPTION = 'Quorvane v3.1'
FONT = (8, 400, 0, 1, 'MS Shell Dlg')   # points, weight, italic, charset, face

# Control kinds: (predefined class ordinal, kind style bits). The classes
# are 0x80 Button, 0x81 Edit, 0x82 Static.
KINDS = {
    'push':  (0x80, 0x0),                                   # BS_PUSHBUTTON
    'check': (0x80, 0x3),                                   # BS_AUTOCHECKBOX
    'radio': (0x80, 0x9),                                   # BS_AUTORADIOBUTTON
    'box':   (0x80, 0x7),                                   # BS_GROUPBOX
    'edit':  (0x81, ES_AUTOHSCROLL | WS_BORDER),            # ES_LEFT
    'ro':    (0x81, ES_AUTOHSCROLL | ES_READONLY | WS_BORDER),
    'text':  (0x82, 0x0),                                   # SS_LEFT
}
G, T = WS_GROUP, WS_TABSTOP

# Template 9, in template order: id, kind, text, x, y, cx, cy, flags.
MAIN_CONTROLS = [
    (2, 'push', 'Cancel', 251, 331, 50, 14, T),
    (1017, 'text', 'ADT Bundle root folder:', 51, 81, 77, 12, G),
    (1001, 'edit', '', 146, 239, 242, 14, T),
    (1002, 'ro', '', 146, 81, 242, 14, T),
    (1003, 'push', 'Browse ...', 391, 239, 50, 14, T),
    (1004, 'check', 'Clean previously integrated Android development '
     'environment.', 35, 303, 217, 16, T),
    (1005, 'push', 'Integrate', 168, 331, 50, 14, T),
    (1006, 'radio', 'Android Developer Tools (ADT) Bundle:',
     28, 227, 141, 10, 0),
    (1007, 'radio', 'Standalone Eclipse and Android SDK:', 28, 257, 133, 10, 0),
    (1029, 'box', 'Choose the new Android development environment which you '
     'want to integrate with Parvex for Android:', 14, 151, 441, 174, G),
    (1008, 'edit', '', 146, 269, 242, 14, T),
    (1009, 'edit', '', 146, 284, 242, 14, T),
    (1010, 'push', 'Browse ...', 391, 269, 50, 14, T),
    (1011, 'push', 'Browse ...', 391, 284, 50, 14, T),
    (1012, 'ro', '', 146, 110, 242, 14, T),
    (1013, 'ro', '', 146, 125, 242, 14, T),
    (1019, 'text', 'Android SDK root folder:', 51, 125, 81, 12, G),
    (1018, 'text', 'Eclipse root folder:', 51, 110, 62, 12, G),
    (-1, 'box', 'The following Android development environment has been '
     'integrated already with Parvex for Android:\t', 14, 11, 441, 135, 0),
    (1016, 'text', 'Android SDK root folder:', 51, 284, 87, 15, G),
    (1015, 'text', 'Eclipse root folder:', 51, 269, 87, 12, G),
    (1014, 'text', 'ADT Bundle root folder:', 51, 239, 78, 12, G),
    (1032, 'text', 'Android Developer Tools (ADT) Bundle:', 28, 68, 149, 10, G),
    (1031, 'text', 'Standalone Eclipse and Android SDK:', 28, 98, 149, 8, G),
    (-1, 'text', 'IMPORTANT: All the Android Studio/ Android Developer Tools '
     '(ADT)/ Eclipse sessions must be closed prior to integrate!',
     35, 166, 398, 8, G),
    (1020, 'radio', 'Android Studio:', 28, 181, 65, 10, G),
    (1021, 'text', 'Android Studio path:', 53, 35, 77, 12, G),
    (1022, 'ro', '', 146, 35, 242, 14, T),
    (1030, 'text', 'Android Studio:', 29, 23, 149, 8, G),
    (1023, 'text', 'Android SDK path:', 53, 50, 77, 12, G),
    (1024, 'ro', '', 146, 50, 242, 14, T),
    (1025, 'text', 'Android Studio path:', 53, 194, 77, 12, G),
    (1026, 'ro', '', 146, 194, 242, 14, T),
    (1027, 'text', 'Android SDK path:', 53, 209, 77, 12, G),
    (1028, 'ro', '', 146, 209, 242, 14, T),
]

PROGRESS_CONTROLS = [
    (1021, 'text', 'Please wait!', 91, 18, 65, 13, G),
    (1022, 'text', 'Configuring the selected Android development environment '
     '...  This process can take up to several minutes.', 17, 39, 212, 24, G),
]

DIALOG_BASE = (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT
               | DS_FIXEDSYS | DS_CENTER | DS_SETFOREGROUND)
DIALOGS = {
    9: (DIALOG_BASE | DS_CENTERMOUSE, 470, 354, MAIN_CONTROLS),
    103: (DIALOG_BASE, 247, 93, PROGRESS_CONTROLS),
}

VERSION = (3, 1, 0, 3)
VERSION_STRINGS = {
    'CompanyName': 'Quorvane developers',
    'FileDescription': 'Quorvane',
    'FileVersion': '3, 1, 0, 3',
    'InternalName': 'Quorvane',
    'LegalCopyright': 'Copyright (C) 2026 Quorvane developers',
    'OriginalFilename': 'Quorvane.exe',
    'ProductName': 'Quorvane',
    'ProductVersion': '3, 1, 0, 3',
}


class Failure(Exception):
    pass


# ---- Reading the three container formats --------------------------------

def read_id(data, pos):
    """Reads a resource name or type (ordinal or NUL-ended UTF-16 string).
    Returns (value, position after it)."""
    first, = struct.unpack_from('<H', data, pos)
    if first == 0xFFFF:
        return struct.unpack_from('<H', data, pos + 2)[0], pos + 4
    end = pos
    while struct.unpack_from('<H', data, end)[0] != 0:
        end += 2
    return data[pos:end].decode('utf-16-le'), end + 2


def align4(pos):
    return (pos + 3) & ~3


def load_res(data):
    found = {}
    pos = 0
    while pos + 8 <= len(data):
        size, header = struct.unpack_from('<II', data, pos)
        rtype, p = read_id(data, pos + 8)
        name, p = read_id(data, p)
        p = align4(p)
        lang, = struct.unpack_from('<H', data, p + 6)
        body = data[pos + header:pos + header + size]
        if not (rtype == 0 and name == 0 and size == 0):
            found[(rtype, name)] = (lang, body)
        pos = align4(pos + header + size)
    return found


def load_rsrc(section, base):
    """Walks a .rsrc directory tree; base is what data offsets are
    relative to (the section's RVA in an image, 0 in an object)."""
    found = {}

    def entries(offset):
        named, numbered = struct.unpack_from('<HH', section, offset + 12)
        for i in range(named + numbered):
            key, target = struct.unpack_from('<II', section,
                                             offset + 16 + 8 * i)
            if key & 0x80000000:
                length, = struct.unpack_from('<H', section, key & 0x7FFFFFFF)
                start = (key & 0x7FFFFFFF) + 2
                key = section[start:start + 2 * length].decode('utf-16-le')
            yield key, target

    for rtype, t1 in entries(0):
        for name, t2 in entries(t1 & 0x7FFFFFFF):
            for lang, t3 in entries(t2 & 0x7FFFFFFF):
                rva, size = struct.unpack_from('<II', section, t3)
                found[(rtype, name)] = (lang, section[rva - base:rva - base + size])
    return found


def load_pe(data):
    pe, = struct.unpack_from('<I', data, 0x3C)
    sections, opt_size = struct.unpack_from('<H12xH', data, pe + 6)
    opt = pe + 24
    magic, = struct.unpack_from('<H', data, opt)
    dirs = opt + (96 if magic == 0x10B else 112)
    rsrc_rva, = struct.unpack_from('<I', data, dirs + 2 * 8)
    table = opt + opt_size
    for i in range(sections):
        _, vsize, va, rawsize, rawptr = struct.unpack_from(
            '<8sIIII', data, table + 40 * i)
        if va <= rsrc_rva < va + max(vsize, rawsize):
            section = data[rawptr:rawptr + rawsize]
            return load_rsrc(section[rsrc_rva - va:], rsrc_rva)
    raise Failure('no resource section in the image')


def load_coff(data):
    sections, = struct.unpack_from('<H', data, 2)
    opt_size, = struct.unpack_from('<H', data, 16)
    table = 20 + opt_size
    for i in range(sections):
        name, _, _, rawsize, rawptr = struct.unpack_from(
            '<8sIIII', data, table + 40 * i)
        if name.rstrip(b'\0') == b'.rsrc':
            return load_rsrc(data[rawptr:rawptr + rawsize], 0)
    raise Failure('no .rsrc section in the object')


def load(path):
    with open(path, 'rb') as f:
        data = f.read()
    if data[:2] == b'MZ':
        return load_pe(data)
    if data[:8] == b'\0\0\0\0\x20\0\0\0':
        return load_res(data)
    return load_coff(data)


# ---- Checks ---------------------------------------------------------------

class Checker:
    def __init__(self, resources):
        self.resources = resources
        self.failures = []

    def expect(self, what, got, wanted):
        if got != wanted:
            self.failures.append('%s: got %r, expected %r' % (what, got, wanted))
            return False
        return True

    def get(self, rtype, name):
        if (rtype, name) not in self.resources:
            raise Failure('resource type %r name %r is missing' % (rtype, name))
        lang, body = self.resources[(rtype, name)]
        self.expect('language of %r/%r' % (rtype, name), lang, 0x409)
        return body

    def dialog(self, name):
        style, cx, cy, controls = DIALOGS[name]
        data = self.get(RT_DIALOG, name)
        ver, sig, help_id, ex_style, got_style, count = struct.unpack_from(
            '<HHIIIH', data, 0)
        where = 'dialog %d' % name
        self.expect(where + ' is extended', (ver, sig), (1, 0xFFFF))
        self.expect(where + ' help id', help_id, 0)
        self.expect(where + ' extended style', hex(ex_style), hex(0))
        self.expect(where + ' style', hex(got_style), hex(style))
        self.expect(where + ' size', struct.unpack_from('<hh', data, 22),
                    (cx, cy))
        menu, pos = read_id(data, 26)
        window_class, pos = read_id(data, pos)
        title, pos = read_id(data, pos)
        self.expect(where + ' menu', menu, '')
        self.expect(where + ' class', window_class, '')
        self.expect(where + ' caption', title, CAPTION)
        points, weight, italic, charset = struct.unpack_from('<HHBB', data, pos)
        face, pos = read_id(data, pos + 6)
        self.expect(where + ' font', (points, weight, italic, charset, face),
                    FONT)
        if not self.expect(where + ' control count', count, len(controls)):
            return
        for n, wanted in enumerate(controls):
            pos = self.control(data, align4(pos), '%s control %d' % (where, n),
                               wanted)

    def control(self, data, pos, where, wanted):
        cid, kind, text, x, y, cx, cy, flags = wanted
        ordinal, kind_style = KINDS[kind]
        help_id, ex_style, style, gx, gy, gcx, gcy, gid = struct.unpack_from(
            '<IIIhhhhi', data, pos)
        window_class, pos = read_id(data, pos + 24)
        title, pos = read_id(data, pos)
        extra, = struct.unpack_from('<H', data, pos)
        where += ' (id %d)' % cid
        self.expect(where + ' id', gid, cid)
        self.expect(where + ' class', window_class, ordinal)
        self.expect(where + ' text', title, text)
        self.expect(where + ' position', (gx, gy, gcx, gcy), (x, y, cx, cy))
        self.expect(where + ' style', hex(style),
                    hex(WS_CHILD | WS_VISIBLE | kind_style | flags))
        self.expect(where + ' extended style', ex_style, 0)
        self.expect(where + ' help id', help_id, 0)
        self.expect(where + ' creation data', extra, 0)
        return pos + 2 + extra

    def icon(self):
        data = self.get(RT_GROUP_ICON, 102)
        reserved, kind, count = struct.unpack_from('<HHH', data, 0)
        self.expect('icon group header', (reserved, kind), (0, 1))
        sizes = []
        for i in range(count):
            w, h, _, _, planes, bits, length, icon_id = struct.unpack_from(
                '<BBBBHHIH', data, 6 + 14 * i)
            sizes.append((w, h, bits))
            where = 'icon %dx%d' % (w, h)
            self.expect(where + ' planes', planes, 1)
            image = self.get(RT_ICON, icon_id)
            self.expect(where + ' length', len(image), length)
            _, bw, bh, bplanes, bbits = struct.unpack_from('<IiiHH', image, 0)
            self.expect(where + ' bitmap', (bw, bh, bplanes, bbits),
                        (w, 2 * h, 1, 8))
        self.expect('icon images', sorted(sizes), [(16, 16, 8), (32, 32, 8)])

    def version(self):
        data = self.get(RT_VERSION, 1)
        root = parse_version_block(data, 0)
        self.expect('version key', root['key'], 'VS_VERSION_INFO')
        fixed = struct.unpack('<13I', root['value'])
        file_ms, file_ls, product_ms, product_ls = fixed[2:6]
        wanted_ms = VERSION[0] << 16 | VERSION[1]
        wanted_ls = VERSION[2] << 16 | VERSION[3]
        self.expect('fixed info signature', hex(fixed[0]), hex(0xFEEF04BD))
        self.expect('file version', (file_ms, file_ls), (wanted_ms, wanted_ls))
        self.expect('product version', (product_ms, product_ls),
                    (wanted_ms, wanted_ls))
        self.expect('file type', fixed[9], 1)  # VFT_APP
        children = {c['key']: c for c in root['children']}
        strings = children.get('StringFileInfo', {'children': []})['children']
        self.expect('string tables', [t['key'] for t in strings], ['040904b0'])
        for table in strings:
            got = {s['key']: s['value'].decode('utf-16-le').split('\0')[0]
                   for s in table['children']}
            self.expect('version strings', got, VERSION_STRINGS)
        var = children.get('VarFileInfo', {'children': []})['children']
        translation = [v['value'] for v in var if v['key'] == 'Translation']
        self.expect('translation', translation,
                    [struct.pack('<HH', 0x409, 1200)])

    def manifest(self):
        data = self.get(RT_MANIFEST, 1)
        try:
            root = ET.fromstring(data)
        except ET.ParseError as error:
            raise Failure('manifest is not well-formed XML: %s' % error)
        level = root.find('.//{urn:schemas-microsoft-com:asm.v3}'
                          'requestedExecutionLevel')
        if level is None:
            raise Failure('manifest has no requestedExecutionLevel')
        self.expect('execution level',
                    (level.get('level'), level.get('uiAccess')),
                    ('requireAdministrator', 'false'))


def parse_version_block(data, pos):
    length, value_length, text = struct.unpack_from('<HHH', data, pos)
    key, p = read_id(data, pos + 6)
    p = align4(p)
    value_size = value_length * 2 if text else value_length
    block = {'key': key, 'value': data[p:p + value_size], 'children': []}
    p = align4(p + value_size)
    while p < pos + length:
        child = parse_version_block(data, p)
        block['children'].append(child)
        p = align4(p + struct.unpack_from('<H', data, p)[0])
    return block


def main(argv):
    if len(argv) != 2:
        print(__doc__.strip().splitlines()[2], file=sys.stderr)
        return 2
    try:
        checker = Checker(load(argv[1]))
        checker.dialog(9)
        checker.dialog(103)
        checker.icon()
        checker.version()
        checker.manifest()
    except (Failure, struct.error, OSError, KeyError) as error:
        print('%s: %s' % (argv[1], error))
        return 1
    if checker.failures:
        for failure in checker.failures:
            print(failure)
        return 1
    print('ok')
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
