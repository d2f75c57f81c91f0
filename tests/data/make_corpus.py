#!/usr/bin/env python3
"""Writes the bad-input corpus beside this script: damaged catalogues, saved
games of odd lengths and values, and hand-edited settings files. The outcome
each one must give is tested in tests/reliability/bad_input_test.cpp,
settings_garbage_test.cpp and fuzz_regression_test.cpp. Large or special files (a 1 MiB saved game, a pipe,
a directory in place of a file) are made by the tests themselves."""
import os

HERE = os.path.dirname(os.path.abspath(__file__))


def square(left=30, top=20):
    """Four 10 x 10 squares of two pieces each: a valid Quellon."""
    out = b''
    for dy in (0, 10):
        for dx in (0, 10):
            sx, sy = left + dx, top + dy
            out += bytes([sx + 7, sy + 7, 0, sx + 3, sy + 3, 8])
    return out


def put(folder, name, data):
    os.makedirs(os.path.join(HERE, folder), exist_ok=True)
    if isinstance(data, str):
        data = data.encode()
    with open(os.path.join(HERE, folder, name), 'wb') as f:
        f.write(data)


# Catalogues. Orientation 0 covers cell offsets -7..2 in both directions, so
# anchor (88, 58) touches column 90 and row 60, and (89, 58) leaves the board.
edge = bytes([7, 7, 0, 88, 58, 0, 88, 7, 0, 7, 58, 0, 45, 30, 0, 45, 30, 8, 20, 40, 4, 60, 20, 12])
put('catalogue', 'empty.dat', b'')
put('catalogue', 'partial_23.dat', square()[:23])
put('catalogue', 'one_record.dat', square())
put('catalogue', 'ten_and_5_bytes.dat', square() * 10 + b'\x01\x02\x03\x04\x05')
put('catalogue', 'off_board_third.dat', square() * 2 + bytes([2, 30, 0]) + square()[3:])
put('catalogue', 'orientation_16.dat', bytes([40, 30, 16]) + square()[3:])
put('catalogue', 'orientation_255.dat', square()[:21] + bytes([40, 30, 255]))
put('catalogue', 'all_ff.dat', b'\xff' * 48)
put('catalogue', 'text.dat', 'This is not a catalogue of Quellons.\n' * 3)
put('catalogue', 'board_edge.dat', edge)
put('catalogue', 'past_edge.dat', edge[:3] + bytes([89, 58, 0]) + edge[6:])

# Saved games.
put('games', 'empty.zql', b'')
put('games', 'one_byte.zql', bytes([3]))
put('games', 'short_100.zql', bytes([0, 1, 2, 3, 8, 9, 10, 11, 12, 7] * 10))
put('games', 'every_value.zql', bytes(k % 256 for k in range(950)))
put('games', 'long_1000.zql', bytes([12, 5, 6, 7, 0xff] * 200))
put('games', 'high_bits.zql', bytes([0xf0, 0xf3, 0xf8, 0xfc, 0x80, 0x7f] * 158 + [0x13, 0x14]))
put('games', 'text.zql', 'level 3, all solved\n')

# Settings files as a player might leave them after editing by hand.
def conf(name, *lines, raw=None):
    put('settings', name, raw if raw is not None else '\n'.join(lines) + '\n')

conf('only_section.conf', '[common]')
conf('other_section.conf', '[General]', 'tongue=1', 'level=5', '[uncommon]', 'sound=0')
conf('not_numbers.conf', '[common]', 'tongue=abc', 'sound=yes', 'back=x', 'music=', 'level=1.5',
     'patmode=0x2', 'pleft=left', 'ptop=12px')
conf('booleans.conf', '[common]', 'sound=0', 'music=7', 'tongue=1', 'level=4')
conf('blanks_and_signs.conf', '[common]', 'tongue=" 1 "', 'level=+3', 'back=" 2"', 'patmode=--1')
conf('out_of_range.conf', '[common]', 'tongue=7', 'back=99', 'level=2000', 'patmode=9', 'pleft=-30000', 'ptop=30000')
conf('negative.conf', '[common]', 'level=-5', 'back=-1', 'patmode=-7', 'tongue=-1')
conf('huge_numbers.conf', '[common]', 'level=99999999999999999999', 'tongue=-2147483649', 'back=2147483647',
     'patmode=-2147483648', 'pleft=999999999999', 'ptop=-2147483648')
conf('mainform_unquoted.conf', '[common]', 'MainForm=200,0,1,100,100,800,600')
conf('mainform_quoted.conf', '[common]', 'MainForm="200,0,1,100,100,800,600"')
conf('mainform_bad_mark.conf', '[common]', 'MainForm=100,0,1,100,100,800,600')
conf('mainform_six_parts.conf', '[common]', 'MainForm=200,0,1,100,100,800')
conf('mainform_eight_parts.conf', '[common]', 'MainForm=200,0,1,100,100,800,600,1')
conf('mainform_blank_part.conf', '[common]', 'MainForm=200,0,1,,100,800,600')
conf('mainform_off_desktop.conf', '[common]', 'MainForm="200,0,3,-5000,-5000,-4300,-4500"')
conf('mainform_bigger_than_desktop.conf', '[common]', 'MainForm=200,0,1,0,0,2000000000,2000000000')
conf('mainform_extreme.conf', '[common]', 'MainForm=200,0,1,-2147483648,-2147483648,2147483647,2147483647')
conf('mainform_qt_type.conf', '[common]', 'MainForm=@Rect(1 2 3 4)', 'level=@Size(5 6)')
conf('variant_garbage.conf', '[common]', 'level=@Variant(\\0\\0\\0\\x7f\\0\\0\\0\\x10garbage)',
     'game=@ByteArray(\\xff\\0\\x01)', 'tongue=@Variant(\\0\\0\\0\\n\\xff\\xff\\xff\\xff)')
# Lengths no reader could meet: Qt asks for the memory they claim (here 128
# GiB for a list, 6 GiB for a string list), gets none or never touches it,
# and reads on to an empty value.
conf('variant_huge_list.conf', '[common]', 'level=@Variant(\\0\\0\\0\\t\\0\\xff\\xff\\xff\\xf0)',
     'tongue=@Variant(\\0\\0\\0\\v\\0\\x10\\0\\0\\0)', 'sound=0')
conf('non_utf8.conf', raw=b'[common]\ntongue=\xff1\ngame=\xc3\x28\xa0\xa1gone\nlevel=\xe2\x82\n')
conf('game_escape.conf', '[common]', 'game=../../../etc/passwd')
conf('game_long.conf', '[common]', 'game=' + 'a' * 5000)
conf('game_exists.conf', '[common]', 'game=evening', 'level=7')
conf('game_unreadable.conf', '[common]', 'game=blocked', 'level=3')
conf('binary.conf', raw=bytes((k * 131 + 7) % 256 for k in range(4096)))
conf('unterminated.conf', raw=b'[common\ntongue=1\nlevel="3\n[common]\nsound=0')
