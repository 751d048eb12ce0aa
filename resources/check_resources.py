#!/usr/bin/env python3
"""Checks the resources compiled into Quorvane.exe: both dialog templates control by control,
the icon group, the version block and the manifest; and the image's defences: ASLR, DEP and
terminal-server awareness (and high-entropy ASLR when 64-bit), no section both writable and
executable, only known DLLs imported. Usage: check_resources.py Quorvane.exe; needs
python3-pefile."""
import re, struct, sys, xml.etree.ElementTree as ET

import pefile

G, T = 0x20000, 0x10000  # WS_GROUP, WS_TABSTOP
# Control kinds: predefined class (Button, Edit, Static) and style bits past WS_CHILD|WS_VISIBLE;
# edits have WS_BORDER|ES_AUTOHSCROLL, read-only ones (ro) also ES_READONLY.
KINDS = {'push': (0x80, T), 'check': (0x80, 3 | T), 'radio': (0x80, 9), 'box': (0x80, 7),
         'radio+group': (0x80, 9 | G), 'box+group': (0x80, 7 | G), 'label': (0x82, G),
         'edit': (0x81, 0x800080 | T), 'ro': (0x81, 0x800880 | T)}
# Per dialog: style, size, then the controls in template (tab) order, split by ';' or a line's
# end: id, kind, x, y, cx, cy, text. Styles: WS_POPUP|WS_CAPTION|WS_SYSMENU, DS_SETFONT|
# DS_FIXEDSYS|DS_MODALFRAME, DS_CENTER|DS_SETFOREGROUND; the main dialog also DS_CENTERMOUSE.
DIALOGS = {9: (0x80C81AC8, 470, 354, '''\
2 push 251 331 50 14 Cancel; 1017 label 51 81 77 12 ADT Bundle root folder:
1001 edit 146 239 242 14; 1002 ro 146 81 242 14; 1003 push 391 239 50 14 Browse ...
1004 check 35 303 217 16 Clean previously integrated Android development environment.
1005 push 168 331 50 14 Integrate; 1006 radio 28 227 141 10 Android Developer Tools (ADT) Bundle:
1007 radio 28 257 133 10 Standalone Eclipse and Android SDK:; 1029 box+group 14 151 441 174 Choose \
the new Android development environment which you want to integrate with Parvex for Android:
1008 edit 146 269 242 14; 1009 edit 146 284 242 14; 1010 push 391 269 50 14 Browse ...
1011 push 391 284 50 14 Browse ...; 1012 ro 146 110 242 14; 1013 ro 146 125 242 14
1019 label 51 125 81 12 Android SDK root folder:; 1018 label 51 110 62 12 Eclipse root folder:
-1 box 14 11 441 135 The following Android development environment has been integrated already \
with Parvex for Android:\t; 1016 label 51 284 87 15 Android SDK root folder:
1015 label 51 269 87 12 Eclipse root folder:; 1014 label 51 239 78 12 ADT Bundle root folder:
1032 label 28 68 149 10 Android Developer Tools (ADT) Bundle:; 1031 label 28 98 149 8 Standalone \
Eclipse and Android SDK:; -1 label 35 166 398 8 IMPORTANT: All the Android Studio/ Android \
Developer Tools (ADT)/ Eclipse sessions must be closed prior to integrate!
1020 radio+group 28 181 65 10 Android Studio:; 1021 label 53 35 77 12 Android Studio path:
1022 ro 146 35 242 14; 1030 label 29 23 149 8 Android Studio:; 1023 label 53 50 77 12 Android SDK \
path:; 1024 ro 146 50 242 14; 1025 label 53 194 77 12 Android Studio path:
1026 ro 146 194 242 14; 1027 label 53 209 77 12 Android SDK path:; 1028 ro 146 209 242 14'''),
           103: (0x80C80AC8, 247, 93, '''1021 label 91 18 65 13 Please wait!
1022 label 17 39 212 24 Configuring the selected Android development environment ...  This process \
can take up to several minutes.''')}
VERSION = {b'040904b0': dict(  # US English, Unicode
    CompanyName='Quorvane developers', FileDescription='Quorvane', InternalName='Quorvane',
    FileVersion='3, 1, 0, 3', ProductVersion='3, 1, 0, 3', ProductName='Quorvane',
    LegalCopyright='Copyright (C) 2026 Quorvane developers', OriginalFilename='Quorvane.exe')}
# The manifest's elements that carry attributes or text, in order, with the namespaces of those
# outside the assembly's own; last the supported systems, Windows Vista to 10 and 11.
MANIFEST = re.split(r'; |\n', '''assembly manifestVersion=1.0
assemblyIdentity name=Quorvane processorArchitecture=* type=win32 version=3.1.0.3
description Quorvane; {asm.v3}requestedExecutionLevel level=requireAdministrator uiAccess=false
assemblyIdentity language=* name=Microsoft.Windows.Common-Controls processorArchitecture=* \
publicKeyToken=6595b64144ccf1df type=win32 version=6.0.0.0
{2005/WindowsSettings}dpiAware true; {2016/WindowsSettings}dpiAwareness system''') + [
    '{compatibility.v1}supportedOS Id={%s}' % g for g in '''e2011457-1546-43c5-a5fe-008deee3d3f0
35138b9a-5d96-4fbd-8e2d-a2440225f93a 4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38
1f676c76-80e1-4239-95bb-83d0f6d0da78 8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a'''.split()]
NAMESPACES = r'{urn:schemas-microsoft-com:asm\.v1}|urn:schemas-microsoft-com:|http://[\w.]+/SMI/'
# Windows' KnownDLLs that a program like this imports: always loaded from System32, never from the
# program's folder. A DLL of the toolchain's runtime would be searched for there first.
KNOWN_DLLS = 'advapi32 comdlg32 gdi32 kernel32 msvcrt ole32 oleaut32 shell32 shlwapi user32'.split()


def template(style, cx, cy, table):
    """A DLGTEMPLATEEX as it should be, in parts: the header, then each control of the table
    ('id kind x y cx cy text', split by ';' or a line's end) with no help id, extended style or
    creation data. Each part starts on a 4-byte boundary."""
    rows = [line.split(' ', 6) + [''] for line in re.split(r'; |\n', table)]
    yield 'header', struct.pack('<HHIIIHhhhh', 1, 0xFFFF, 0, 0, style, len(rows), 0, 0, cx, cy) + (
        '\0\0Quorvane v3.1\0'.encode('utf-16-le')  # no menu, no class, the caption
        + struct.pack('<HHBB', 8, 400, 0, 1) + 'MS Shell Dlg\0'.encode('utf-16-le'))
    for cid, kind, x, y, w, h, text, *_ in rows:
        yield ' '.join([cid, kind, x, y, w, h, text]).strip(), struct.pack(
            '<IIIhhhhiHH', 0, 0, 0x50000000 | KINDS[kind][1], *map(int, (x, y, w, h, cid)), 0xFFFF,
            KINDS[kind][0]) + (text + '\0\0').encode('utf-16-le')  # the text, no creation data


def checks(pe):
    found = [((t.id, n.id), l.data) for t in pe.DIRECTORY_ENTRY_RESOURCE.entries
             for n in t.directory.entries for l in n.directory.entries]
    yield 'resources in US English', [(key, d.lang, d.sublang) for key, d in found], [
        (key, 9, 1) for key in [(3, 1), (3, 2), (5, 9), (5, 103), (14, 102), (16, 1), (24, 1)]]
    res = {key: pe.get_data(d.struct.OffsetToData, d.struct.Size) for key, d in found}
    for number, dialog in DIALOGS.items():
        data = res[5, number]
        for name, part in template(*dialog):
            yield 'dialog %d: %s' % (number, name), data[:len(part)], part
            data = data[(len(part) + 3) & ~3:]  # the next part's start, 4-byte aligned
    yield 'icon group and images', struct.unpack_from('<3H' + '4B2H4xH' * 2, res[14, 102]) + sum(
        (struct.unpack_from('<4xiiHH', res[3, i]) for i in (1, 2)), ()), (
        0, 1, 2, 32, 32, 0, 0, 1, 8, 1, 16, 16, 0, 0, 1, 8, 2, 32, 64, 1, 8, 16, 32, 1, 8)
    yield 'fixed version', struct.unpack_from('<13I', res[16, 1], 40), (  # VS_FIXEDFILEINFO
        0xFEEF04BD, 0x10000, 0x30001, 3, 0x30001, 3, 0x3F, 0, 0x40004, 1, 0, 0, 0)
    yield 'version strings', {t.LangID: {k.decode(): v.decode() for k, v in t.entries.items()}
                              for t in pe.FileInfo[0][0].StringTable}, VERSION
    yield 'translation', pe.FileInfo[0][1].Var[0].entry, {b'Translation': '0x0409 0x04b0'}
    flat = [re.sub(NAMESPACES, '', ' '.join(filter(None, [e.tag, *sorted(map('='.join, e.items())),
                                                           (e.text or '').strip()])))
            for e in ET.fromstring(res[24, 1]).iter()]
    yield 'manifest', [f for f in flat if ' ' in f], MANIFEST
    header = pe.OPTIONAL_HEADER  # Magic 0x20B: a 64-bit image
    flags = 'DYNAMIC_BASE NX_COMPAT TERMINAL_SERVER_AWARE'.split() + ['HIGH_ENTROPY_VA'] * (
        header.Magic == 0x20B)
    yield 'DllCharacteristics missing', [
        f for f in flags if not getattr(header, 'IMAGE_DLLCHARACTERISTICS_' + f)], []
    wx = 0xA0000000  # IMAGE_SCN_MEM_WRITE | IMAGE_SCN_MEM_EXECUTE
    yield 'sections writable and executable', [
        s.Name.rstrip(b'\0') for s in pe.sections if s.Characteristics & wx == wx], []
    yield 'imports not known DLLs', [i.dll for i in pe.DIRECTORY_ENTRY_IMPORT
                                     if i.dll.decode().lower()[:-4] not in KNOWN_DLLS], []


failures = ['%s: got %r, expected %r' % c for c in checks(pefile.PE(sys.argv[1])) if c[1] != c[2]]
print('\n'.join(failures) or 'ok')
sys.exit(1 if failures else 0)
