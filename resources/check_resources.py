#!/usr/bin/env python3
"""Checks the resources compiled into Quorvane.exe: both dialog templates control by control,
the icon group, the version block and the manifest. Usage: check_resources.py Quorvane.exe;
needs python3-pefile."""
import struct, sys, xml.etree.ElementTree as ET

import pefile

# Control kinds: predefined class ordinal (Button, Edit, Static) and style bits.
PUSH, CHECK, RADIO, BOX = (0x80, 0x0), (0x80, 0x3), (0x80, 0x9), (0x80, 0x7)
EDIT, RO, TEXT = (0x81, 0x800080), (0x81, 0x800880), (0x82, 0x0)  # WS_BORDER|ES_AUTOHSCROLL
G, T = 0x20000, 0x10000  # WS_GROUP, WS_TABSTOP
# WS_POPUP|WS_CAPTION|WS_SYSMENU, DS_SETFONT|DS_FIXEDSYS|DS_MODALFRAME, DS_CENTER|DS_SETFOREGROUND
DIALOG = 0x80C80000 | 0x00C8 | 0x0A00
BROWSE = 'Browse ...'
# Per template: style, size, then the controls in template (tab) order:
# id, kind, text, x, y, cx, cy, extra style bits.
TEMPLATES = {9: (DIALOG | 0x1000, 470, 354, [  # DS_CENTERMOUSE
    (2, PUSH, 'Cancel', 251, 331, 50, 14, T),
    (1017, TEXT, 'ADT Bundle root folder:', 51, 81, 77, 12, G),
    (1001, EDIT, '', 146, 239, 242, 14, T), (1002, RO, '', 146, 81, 242, 14, T),
    (1003, PUSH, BROWSE, 391, 239, 50, 14, T),
    (1004, CHECK, 'Clean previously integrated Android '
     'development environment.', 35, 303, 217, 16, T),
    (1005, PUSH, 'Integrate', 168, 331, 50, 14, T),
    (1006, RADIO, 'Android Developer Tools (ADT) Bundle:', 28, 227, 141, 10, 0),
    (1007, RADIO, 'Standalone Eclipse and Android SDK:', 28, 257, 133, 10, 0),
    (1029, BOX, 'Choose the new Android development environment which you '
     'want to integrate with Parvex for Android:', 14, 151, 441, 174, G),
    (1008, EDIT, '', 146, 269, 242, 14, T), (1009, EDIT, '', 146, 284, 242, 14, T),
    (1010, PUSH, BROWSE, 391, 269, 50, 14, T), (1011, PUSH, BROWSE, 391, 284, 50, 14, T),
    (1012, RO, '', 146, 110, 242, 14, T), (1013, RO, '', 146, 125, 242, 14, T),
    (1019, TEXT, 'Android SDK root folder:', 51, 125, 81, 12, G),
    (1018, TEXT, 'Eclipse root folder:', 51, 110, 62, 12, G),
    (-1, BOX, 'The following Android development environment has been '
     'integrated already with Parvex for Android:\t', 14, 11, 441, 135, 0),
    (1016, TEXT, 'Android SDK root folder:', 51, 284, 87, 15, G),
    (1015, TEXT, 'Eclipse root folder:', 51, 269, 87, 12, G),
    (1014, TEXT, 'ADT Bundle root folder:', 51, 239, 78, 12, G),
    (1032, TEXT, 'Android Developer Tools (ADT) Bundle:', 28, 68, 149, 10, G),
    (1031, TEXT, 'Standalone Eclipse and Android SDK:', 28, 98, 149, 8, G),
    (-1, TEXT, 'IMPORTANT: All the Android Studio/ Android Developer Tools (ADT)/ '
     'Eclipse sessions must be closed prior to integrate!', 35, 166, 398, 8, G),
    (1020, RADIO, 'Android Studio:', 28, 181, 65, 10, G),
    (1021, TEXT, 'Android Studio path:', 53, 35, 77, 12, G), (1022, RO, '', 146, 35, 242, 14, T),
    (1030, TEXT, 'Android Studio:', 29, 23, 149, 8, G),
    (1023, TEXT, 'Android SDK path:', 53, 50, 77, 12, G), (1024, RO, '', 146, 50, 242, 14, T),
    (1025, TEXT, 'Android Studio path:', 53, 194, 77, 12, G), (1026, RO, '', 146, 194, 242, 14, T),
    (1027, TEXT, 'Android SDK path:', 53, 209, 77, 12, G), (1028, RO, '', 146, 209, 242, 14, T)]),
    103: (DIALOG, 247, 93, [
        (1021, TEXT, 'Please wait!', 91, 18, 65, 13, G),
        (1022, TEXT, 'Configuring the selected Android development environment ...  '
         'This process can take up to several minutes.', 17, 39, 212, 24, G)])}
VERSION = {'CompanyName': 'Quorvane developers', 'FileDescription': 'Quorvane',
           'FileVersion': '3, 1, 0, 3', 'InternalName': 'Quorvane', 'ProductName': 'Quorvane',
           'LegalCopyright': 'Copyright (C) 2026 Quorvane developers',
           'ProductVersion': '3, 1, 0, 3', 'OriginalFilename': 'Quorvane.exe'}
# The manifest's elements that carry attributes or text, in order, with their namespaces.
NS = {'urn:schemas-microsoft-com:asm.v1': '', 'urn:schemas-microsoft-com:asm.v3': 'v3:',
      'urn:schemas-microsoft-com:compatibility.v1': 'c:',
      'http://schemas.microsoft.com/SMI/2005/WindowsSettings': 'w5:',
      'http://schemas.microsoft.com/SMI/2016/WindowsSettings': 'w16:'}
MANIFEST = [
    'assembly manifestVersion=1.0',
    'assemblyIdentity name=Quorvane processorArchitecture=* type=win32 version=3.1.0.3',
    'description Quorvane', 'v3:requestedExecutionLevel level=requireAdministrator uiAccess=false',
    'assemblyIdentity language=* name=Microsoft.Windows.Common-Controls processorArchitecture=* '
    'publicKeyToken=6595b64144ccf1df type=win32 version=6.0.0.0', 'w5:dpiAware true',
    'w16:dpiAwareness system'] + ['c:supportedOS Id={%s}' % guid for guid in (  # Vista to 10 and 11
        'e2011457-1546-43c5-a5fe-008deee3d3f0', '35138b9a-5d96-4fbd-8e2d-a2440225f93a',
        '4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38', '1f676c76-80e1-4239-95bb-83d0f6d0da78',
        '8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a')]


def template(data):
    """A DLGTEMPLATEEX: its header, then one tuple per control."""
    def strings(pos, count):  # ordinals or NUL-ended strings from pos, and the position after
        found = []
        for _ in range(count):
            ordinal = data[pos:pos + 2] == b'\xff\xff'
            found.append(struct.unpack_from('<H', data, pos + 2)[0] if ordinal else
                         data[pos:].decode('utf-16-le', 'ignore').split('\0')[0])
            pos += 4 if ordinal else 2 * len(found[-1]) + 2
        return found, pos
    *header, style, count, x, y, cx, cy = struct.unpack_from('<HHIIIHhhhh', data)
    names, pos = strings(26, 3)  # menu, class, caption
    (face,), end = strings(pos + 6, 1)
    font = struct.unpack_from('<HHBB', data, pos)  # size, weight, italic, charset
    items = [(*header, hex(style), x, y, cx, cy, *names, *font, face)]
    for _ in range(count):
        pos = (end + 3) & ~3
        help_id, ex_style, style, x, y, cx, cy, cid = struct.unpack_from('<IIIhhhhi', data, pos)
        (cls, text), pos = strings(pos + 24, 2)
        end = pos + 2 + struct.unpack_from('<H', data, pos)[0]  # past the creation data
        items.append((cid, cls, text, x, y, cx, cy, hex(style), ex_style, help_id))
    return items


def checks(pe):
    res = {(t.id, n.id): (l.data.lang, l.data.sublang, pe.get_data(l.data.struct.OffsetToData,
                                                                   l.data.struct.Size))
           for t in pe.DIRECTORY_ENTRY_RESOURCE.entries for n in t.directory.entries
           for l in n.directory.entries}
    yield 'resources', sorted(res), [(3, 1), (3, 2), (5, 9), (5, 103), (14, 102), (16, 1), (24, 1)]
    yield 'languages', {r[:2] for r in res.values()}, {(9, 1)}  # English (US)
    for number, (style, cx, cy, controls) in TEMPLATES.items():
        got = template(res[5, number][2])
        want = [(1, 0xFFFF, 0, 0, hex(style), 0, 0, cx, cy, '', '', 'Quorvane v3.1', 8, 400, 0, 1,
                 'MS Shell Dlg')] + [  # controls: WS_CHILD|WS_VISIBLE, no extended style or help
            (cid, kind[0], text, x, y, w, h, hex(0x50000000 | kind[1] | bits), 0, 0)
            for cid, kind, text, x, y, w, h, bits in controls]
        yield 'dialog %d items' % number, len(got), len(want)
        for i, (g, w) in enumerate(zip(got, want)):
            yield 'dialog %d item %d' % (number, i), g, w
    group = res[14, 102][2]
    yield 'icon group', struct.unpack_from('<HHH', group), (0, 1, 2)
    for i, side in enumerate((32, 16)):
        w, h, _, _, planes, bits, size, icon = struct.unpack_from('<BBBBHHIH', group, 6 + 14 * i)
        image = res[3, icon][2]
        yield 'icon %d' % i, (w, h, planes, bits, size), (side, side, 1, 8, len(image))
        yield 'icon %d bitmap' % i, struct.unpack_from('<4xiiHH', image), (w, 2 * h, 1, 8)
    fixed = pe.VS_FIXEDFILEINFO[0]
    yield 'fixed version', (fixed.Signature, fixed.FileVersionMS, fixed.FileVersionLS,
                            fixed.ProductVersionMS, fixed.ProductVersionLS, fixed.FileType), \
        (0xFEEF04BD, 0x30001, 3, 0x30001, 3, 1)
    info = {i.Key: i for i in pe.FileInfo[0]}
    yield 'version strings', {t.LangID: {k.decode(): v.decode() for k, v in t.entries.items()}
                              for t in info[b'StringFileInfo'].StringTable}, {b'040904b0': VERSION}
    yield 'translation', info[b'VarFileInfo'].Var[0].entry, {b'Translation': '0x0409 0x04b0'}
    flat = [' '.join([NS[e.tag[1:].split('}')[0]] + e.tag.split('}')[1]] + sorted(
        '%s=%s' % a for a in e.attrib.items()) + [(e.text or '').strip()]).strip()
        for e in ET.fromstring(res[24, 1][2]).iter()]
    yield 'manifest', [f for f in flat if ' ' in f], MANIFEST


def main(path):
    try:
        failures = ['%s: got %r, expected %r' % c for c in checks(pefile.PE(path)) if c[1] != c[2]]
    except Exception as error:  # a missing or malformed part
        failures = ['%s: %r' % (path, error)]
    print('\n'.join(failures) or 'ok')
    return 1 if failures else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1]))
