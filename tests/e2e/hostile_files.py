"""Hostile input files for the end-to-end tests, and a model of what the program makes
of them: the table in memory after each load, the texts of the high-score dialog, the
insertion of a game into a garbled table, and 8-bit text as Wine turns it into Unicode."""

import decimal
import math
import random
import struct

from harness import ENTRY_BYTES, TABLE_BYTES

NAME_BYTES = 16
SCORE_OFFSET = 16
DATE_OFFSET = 24
DATE_BYTES = 24
SCORE_TEXT_CHARS = 51
STORED_DATE_CHARS = 20
# What Wine puts for a double-byte code it cannot map (KATAKANA MIDDLE DOT).
UNMAPPED_CHAR = "\u30fb"

SENTENCE_BYTES = 79
# rand15 gives 0 to 32767, so later lines of a sentence file are never drawn.
DRAWABLE_LINES = 32768


def is_lead_byte(byte):
    return 0x81 <= byte <= 0x9F or 0xE0 <= byte <= 0xFC


def decode_system_text(data):
    """8-bit text of code page 932 as Wine's MultiByteToWideChar gives it: a lead byte
    takes the next byte with it, and a pair with no character becomes one dot."""
    out = []
    i = 0
    while i < len(data):
        if is_lead_byte(data[i]):
            pair = data[i:i + 2]
            try:
                out.append(pair.decode("cp932") if len(pair) == 2 else UNMAPPED_CHAR)
            except UnicodeDecodeError:
                out.append(UNMAPPED_CHAR)
            i += 2
        else:
            out.append(data[i:i + 1].decode("cp932"))
            i += 1
    return "".join(out)


def system_text_bytes(text):
    """How many bytes text takes in code page 932."""
    return len(text.encode("cp932"))


def cut_to_whole_characters(data):
    """The longest prefix that does not end in the middle of a double-byte character."""
    i = 0
    while i < len(data):
        step = 2 if is_lead_byte(data[i]) else 1
        if i + step > len(data):
            return data[:i]
        i += step
    return data


def field_text(field):
    """A text field's bytes up to its zero byte, or the whole field when it has none."""
    return field.split(b"\0", 1)[0]


def entry(table, index):
    return table[index * ENTRY_BYTES:(index + 1) * ENTRY_BYTES]


def entry_score(table, index):
    start = index * ENTRY_BYTES + SCORE_OFFSET
    return struct.unpack("<d", table[start:start + 8])[0]


def fixed2(value):
    """A score with two decimals as the program prints it: the exact binary value rounded
    half away from zero, "nan" whatever its sign, "inf" and "-inf"."""
    if math.isnan(value):
        return "nan"
    negative = math.copysign(1.0, value) < 0
    if math.isinf(value):
        return "-inf" if negative else "inf"
    context = decimal.Context(prec=800, rounding=decimal.ROUND_HALF_UP)
    text = format(decimal.Decimal(abs(value)).quantize(decimal.Decimal("0.01"), context=context), "f")
    return "-" + text if negative else text


def shown_name(table, index):
    """What the name field of a rank shows: the field's text, never a half character."""
    name = field_text(entry(table, index)[:NAME_BYTES])
    return decode_system_text(cut_to_whole_characters(name))


def score_text_bytes(table, index):
    """The score field's text as 8-bit text: "%5.2f  %s" of score and date, cut to 51."""
    fields = entry(table, index)
    date = field_text(fields[DATE_OFFSET:DATE_OFFSET + DATE_BYTES])
    text = fixed2(entry_score(table, index)).rjust(5).encode("ascii") + b"  " + date
    return whole_characters(text[:SCORE_TEXT_CHARS])


def whole_characters(text):
    """text without a lead byte of code page 932 left alone at its end."""
    i = 0
    while i < len(text):
        if is_lead_byte(text[i]):
            if i + 1 == len(text):
                return text[:i]
            i += 2
        else:
            i += 1
    return text


def shown_score(table, index):
    return decode_system_text(score_text_bytes(table, index))


def load_over(table, data):
    """The table in memory after a load of a file holding data."""
    table = bytearray(table)
    count = min(len(data), TABLE_BYTES)
    table[:count] = data[:count]
    return bytes(table)


def set_defaults(table):
    """The table in memory after a load that failed: each entry's three texts set to the
    default entry's, the bytes after their zero bytes left as they were."""
    out = bytearray(table)
    for i in range(10):
        start = i * ENTRY_BYTES
        out[start:start + 6] = b"(non)\0"
        out[start + SCORE_OFFSET:start + SCORE_OFFSET + 8] = bytes(8)
        out[start + DATE_OFFSET:start + DATE_OFFSET + 6] = b"-----\0"
    return bytes(out)


def _copy_text(to, start, source, size):
    text = field_text(source[start:start + size])
    count = len(text) + 1 if len(text) < size else size
    to[start:start + count] = source[start:start + count]


def insert_score(table, name, score_bytes, date_text):
    """The table after a game of the given score (its eight stored bytes) entered it at
    the place the ranking rule gives, or None when it does not enter."""
    speed = struct.unpack("<d", score_bytes)[0]
    place = 0
    for i in range(9, -1, -1):
        if speed < entry_score(table, i):
            place = i + 1
            break
    if place == 10:
        return None
    out = bytearray(table)
    for i in range(8, place - 1, -1):
        below = bytearray(entry(out, i + 1))
        above = entry(out, i)
        _copy_text(below, 0, above, NAME_BYTES)
        below[SCORE_OFFSET:SCORE_OFFSET + 8] = above[SCORE_OFFSET:SCORE_OFFSET + 8]
        _copy_text(below, DATE_OFFSET, above, DATE_BYTES)
        out[(i + 1) * ENTRY_BYTES:(i + 2) * ENTRY_BYTES] = below
    start = place * ENTRY_BYTES
    out[start:start + len(name) + 1] = name + b"\0"
    out[start + SCORE_OFFSET:start + SCORE_OFFSET + 8] = score_bytes
    date = date_text[:STORED_DATE_CHARS]
    out[start + DATE_OFFSET:start + DATE_OFFSET + len(date) + 1] = date + b"\0"
    return bytes(out)


def sentence_lines(data):
    """The lines that the program's line reader yields from a sentence file: text up to
    a 0x1A, CR LF read as LF, lines of at most 79 bytes, a longer one in pieces."""
    text = data.split(b"\x1a", 1)[0].replace(b"\r\n", b"\n")
    lines = []
    pos = 0
    while pos < len(text):
        end = text.find(b"\n", pos, pos + SENTENCE_BYTES)
        if end < 0:
            lines.append(text[pos:pos + SENTENCE_BYTES])
            pos += SENTENCE_BYTES
        else:
            lines.append(text[pos:end])
            pos = end + 1
    return lines


def shown_sentences(data):
    """The texts that field 1004 can show for a sentence file: a drawable line up to its
    first zero byte."""
    return {field_text(line) for line in sentence_lines(data)[:DRAWABLE_LINES]}


def random_bytes(seed, count, low=0):
    rng = random.Random(seed)
    return bytes(rng.randrange(low, 256) for _ in range(count))


def make_entry(name, score, date):
    """One 48-byte entry; name and date are padded with zero bytes only when shorter
    than their fields, so a full-length text has no zero byte."""
    assert len(name) <= NAME_BYTES and len(date) <= DATE_BYTES
    return (name.ljust(NAME_BYTES, b"\0") + struct.pack("<d", score)
            + date.ljust(DATE_BYTES, b"\0"))


def special_scores_table():
    """Ten hand-made entries: scores that print oddly and texts that fill their fields."""
    negative_nan = struct.unpack("<d", struct.pack("<Q", 0xFFF8000000000001))[0]
    kanji = "日本語テキスト".encode("cp932")  # 14 bytes
    return b"".join([
        make_entry(b"nan", math.nan, b"Aug 04 07:04:32 1999"),
        make_entry(b"-nan", negative_nan, b"-----"),
        make_entry(b"ABCDEFGHIJKLMNOP", math.inf, b"Aug 04 07:04:32 1999ABCD"),
        make_entry(kanji + "ア".encode("cp932"), -math.inf, b"-----"),
        make_entry(kanji + b"X" + "ア".encode("cp932")[:1], 1e300, b"Dec 31 23:59:59 9999"),
        make_entry(b"half", 0.125, b"x" * DATE_BYTES),
        make_entry(b"under half", 2.675, b""),
        make_entry(b"minus zero", -0.0, b"-----"),
        # 1e24 prints 27 characters, so the cut at 51 falls inside the date's kanji.
        make_entry(b"long", 1e24, b"A" * 21 + "漢字".encode("cp932")[:3]),
        make_entry(b"wide", 1234.5, "０１２３４５６７８９０１".encode("cp932")),
    ])


def with_score(data, index, score):
    """data with the score of entry index replaced."""
    out = bytearray(data)
    start = index * ENTRY_BYTES + SCORE_OFFSET
    out[start:start + 8] = struct.pack("<d", score)
    return bytes(out)
