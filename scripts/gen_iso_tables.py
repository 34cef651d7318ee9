#!/usr/bin/env python3
"""Turns the standard's tables (ISO/IEC 11172-3 and 13818-3, kept as data in
../shared/iso-tables/) into C++ data for the decoder.

    python3 scripts/gen_iso_tables.py [ISO_TABLES_DIR] [OUT_DIR]

Writes decoder/iso_tables.cpp. Run it again only when the table layout
changes; the output is committed.
"""
import csv
import os
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
SRC = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "..", "shared", "iso-tables")
OUT = sys.argv[2] if len(sys.argv) > 2 else os.path.join(ROOT, "decoder")

ROOT_BITS = 8   # first lookup of a Huffman table
SUB_BITS = 5    # later lookups

# MPEG-2.5 band edges (not in the standard): 11025 and 12000 Hz use the MPEG-2
# 16000 Hz tables; 8000 Hz has its own.
M25_8K_LONG = [0, 12, 24, 36, 48, 60, 72, 88, 108, 132, 160, 192, 232, 280, 336, 400, 476,
               566, 568, 570, 572, 574, 576]
M25_8K_SHORT = [0, 8, 16, 24, 36, 52, 72, 96, 124, 160, 162, 164, 166, 192]


def read_huffcode(path):
    """{table: (xlen, ylen, linbits, reference or None, [(code, x, y)])}"""
    tables = {}
    cur = None
    with open(path) as fh:
        for line in fh:
            s = line.strip()
            if not s or s.startswith("#"):
                continue
            parts = s.split()
            if parts[0] == ".table":
                n, xlen, ylen, lin = map(int, parts[1:5])
                cur = [xlen, ylen, lin, None, []]
                tables[n] = cur
            elif parts[0] in (".reference", ".referenz"):
                cur[3] = int(parts[1])
            elif parts[0] == ".end":
                break
            elif len(parts) == 4:
                x, y, hlen, code = int(parts[0]), int(parts[1]), int(parts[2]), parts[3]
                assert len(code) == hlen
                cur[4].append((code, x, y))
            elif len(parts) == 3:
                val, hlen, code = int(parts[0]), int(parts[1]), parts[2]
                assert len(code) == hlen
                cur[4].append((code, val >> 4, val & 15))
    return tables


def build_lookup(codes, out):
    """Appends a lookup table for `codes` to out; returns its start index.
    Entry >= 0: leaf (bits << 8 | x << 4 | y). Entry < 0: -(offset << 4 | bits)
    of a subtable, offset relative to the Huffman table's first entry."""
    maxlen = max(len(c) for c, _, _ in codes)
    return _build(codes, min(maxlen, ROOT_BITS), out)


def _build(codes, bits, out):
    start = len(out)
    out.extend([None] * (1 << bits))
    longer = {}
    for code, x, y in codes:
        if len(code) <= bits:
            pad = bits - len(code)
            base = int(code, 2) << pad if code else 0
            for k in range(1 << pad):
                assert out[start + base + k] is None
                out[start + base + k] = (len(code) << 8) | (x << 4) | y
        else:
            longer.setdefault(code[:bits], []).append((code[bits:], x, y))
    for prefix, rest in sorted(longer.items()):
        maxlen = max(len(c) for c, _, _ in rest)
        sub = _build(rest, min(maxlen, SUB_BITS), out)
        sb = min(maxlen, SUB_BITS)
        out[start + int(prefix, 2)] = ("sub", sub, sb)
    return start


def huffman_data(tables):
    entries = []  # global flat list
    info = []
    built = {}
    for n in range(34):
        xlen, ylen, lin, ref, codes = tables[n]
        src = ref if ref is not None else n
        if src not in built:
            _, _, _, _, scodes = tables[src]
            if not scodes:
                built[src] = (0, 0)
            else:
                local = []
                _build_root = build_lookup(scodes, local)
                assert _build_root == 0
                base = len(entries)
                for e in local:
                    assert e is not None, "incomplete code table %d" % src
                    if isinstance(e, tuple):
                        v = (e[1] << 4) | e[2]
                        assert v < 32768
                        entries.append(-v)
                    else:
                        entries.append(e)
                maxlen = max(len(c) for c, _, _ in scodes)
                built[src] = (base, min(maxlen, ROOT_BITS))
        base, root = built[src]
        info.append((base, root, lin, xlen))
    return entries, info


def read_dewindow(path):
    values = {}
    with open(path) as fh:
        text = fh.read()
    for chunk in text.split("D[")[1:]:
        idx, rest = chunk.split("]=")
        values[int(idx)] = float(rest.split()[0])
    assert sorted(values) == list(range(512))
    out = []
    for i in range(512):
        k = round(values[i] * 65536)
        assert abs(k / 65536 - values[i]) < 1e-8
        out.append(k)
    return out


def read_bands(path):
    bands = {}
    with open(path) as fh:
        for row in csv.DictReader(fh):
            key = (row["version"], int(row["sample_rate_hz"]), row["block"])
            bands.setdefault(key, []).append((int(row["band"]), int(row["start"]), int(row["end"])))
    edges = {}
    for key, rows in bands.items():
        rows.sort()
        e = [rows[0][1]] + [r[2] for r in rows]
        edges[key] = e
    return edges


def read_alloc(path):
    """Layer II allocation table as four groups of consecutive subbands whose
    allocation fields are 4, 4, 3 and 2 bits wide: [(count, [class per code])],
    class = quantisation class + 1 (1 = 3 levels .. 17 = 65535), 0 = none."""
    with open(path) as fh:
        rows = [list(map(int, l.split())) for l in fh if l.strip()]
    sblimit = rows[0][0]
    per_sb = {}
    for sb, idx, steps, bits, group, quant in rows[1:]:
        nbal, classes = per_sb.setdefault(sb, [None, []])
        if idx == 0:
            assert steps == 0
            per_sb[sb][0] = bits
            classes.append(0)
        else:
            # bits per granule of three samples as the class says
            assert bits * (3 if group == 3 else 1) == CLASS_BITS[quant], (sb, idx)
            classes.append(quant + 1)
    assert sorted(per_sb) == list(range(sblimit))
    groups = []
    for sb in range(sblimit):
        nbal, classes = per_sb[sb]
        assert len(classes) == 1 << nbal
        if groups and groups[-1][1] == classes:
            groups[-1][0] += 1
        else:
            groups.append([1, classes])
    widths = [4, 4, 3, 2]
    out = []
    for w in widths:
        if groups and len(groups[0][1]) == 1 << w:
            out.append(groups.pop(0))
        else:
            out.append([0, []])
    assert not groups, path
    assert sum(g[0] for g in out) == sblimit
    return out


# Bits of three samples per quantisation class (grouped 3, 5, 9 levels: one code).
CLASS_BITS = [5, 7, 9, 10, 12, 15, 18, 21, 24, 27, 30, 33, 36, 39, 42, 45, 48]


def fmt_ints(values, per_line=16, indent="    "):
    lines = []
    for i in range(0, len(values), per_line):
        lines.append(indent + ", ".join(str(v) for v in values[i:i + per_line]) + ",")
    return "\n".join(lines)


def main():
    tables = read_huffcode(os.path.join(SRC, "huffcode"))
    entries, info = huffman_data(tables)
    window = read_dewindow(os.path.join(SRC, "dewindow"))
    edges = read_bands(os.path.join(SRC, "sfb_bands.csv"))
    with open(os.path.join(SRC, "pretab.csv")) as fh:
        pretab = [int(r["pretab"]) for r in csv.DictReader(fh)]
    with open(os.path.join(SRC, "alias_coefficients.csv")) as fh:
        ci = [r["ci"] for r in csv.DictReader(fh)]

    rates = {1: [("MPEG-1", 44100), ("MPEG-1", 48000), ("MPEG-1", 32000)],
             2: [("MPEG-2", 22050), ("MPEG-2", 24000), ("MPEG-2", 16000)],
             3: [("MPEG-2", 16000), ("MPEG-2", 16000), None]}
    long_rows, short_rows = [], []
    for v in (1, 2, 3):
        for r in rates[v]:
            if r is None:
                long_rows.append(M25_8K_LONG)
                short_rows.append(M25_8K_SHORT)
            else:
                long_rows.append(edges[r + ("long",)])
                short_rows.append(edges[r + ("short",)])
    assert all(len(x) == 23 for x in long_rows) and all(len(x) == 14 for x in short_rows)

    o = []
    o.append("// generated by scripts/gen_iso_tables.py from the standard's tables; do not edit.")
    o.append("// clang-format off")
    o.append('#include "decoder/iso_tables.h"')
    o.append("")
    o.append("namespace orva {")
    o.append("")
    o.append("// Layer III Huffman tables 0-31 and count1 tables A (32) and B (33),")
    o.append("// ISO/IEC 11172-3 Table B.7, as multi-level lookup tables (see iso_tables.h).")
    o.append("const int16_t kHuffmanEntries[%d] = {" % len(entries))
    o.append(fmt_ints(entries))
    o.append("};")
    o.append("")
    o.append("const HuffmanTable kHuffmanTables[34] = {")
    for n, (base, root, lin, xlen) in enumerate(info):
        o.append("    {%d, %d, %d, %d},  // table %d" % (base, root, lin, xlen, n))
    o.append("};")
    o.append("")
    o.append("// Synthesis window D[0..511], ISO/IEC 11172-3 Table 3-B.3; every value is k / 65536.")
    o.append("const float kSynthesisWindow[512] = {")
    wl = ["%d.0f / 65536" % k for k in window]
    for i in range(0, 512, 8):
        o.append("    " + ", ".join(wl[i:i + 8]) + ",")
    o.append("};")
    o.append("")
    o.append("// Layer III scale-factor band edges [version - 1][sampling-rate index]:")
    o.append("// ISO/IEC 11172-3 Table B.8, ISO/IEC 13818-3 Table B.2, and MPEG-2.5")
    o.append("// (11025 and 12000 Hz share the 16000 Hz table).")
    o.append("const int16_t kLongBandEdges[3][3][23] = {")
    for v in range(3):
        o.append("    {")
        for s in range(3):
            o.append("        {" + ", ".join(map(str, long_rows[v * 3 + s])) + "},")
        o.append("    },")
    o.append("};")
    o.append("const int16_t kShortBandEdges[3][3][14] = {")
    for v in range(3):
        o.append("    {")
        for s in range(3):
            o.append("        {" + ", ".join(map(str, short_rows[v * 3 + s])) + "},")
        o.append("    },")
    o.append("};")
    o.append("")
    o.append("// pretab, ISO/IEC 11172-3 Table B.6 (band 21 has none).")
    o.append("const uint8_t kPretab[22] = {" + ", ".join(map(str, pretab + [0])) + "};")
    o.append("")
    o.append("// Alias-reduction coefficients ci, ISO/IEC 11172-3 Table B.9.")
    o.append("const double kAliasCoefficients[8] = {" + ", ".join(ci) + "};")
    o.append("")
    o.append("// Layer II allocation tables: ISO/IEC 11172-3 Tables 3-B.2a-d and ISO/IEC")
    o.append("// 13818-3 Table B.1, as four groups of subbands with 4-, 4-, 3- and 2-bit")
    o.append("// allocation fields; per group the class of each allocation code")
    o.append("// (0 none, 1..17 = 3, 5, 7, 9, 15, 31 .. 65535 levels).")
    o.append("const Layer2AllocationTable kLayer2AllocationTables[5] = {")
    for n in range(5):
        groups = read_alloc(os.path.join(SRC, "alloc_%d" % n))
        counts = ", ".join(str(g[0]) for g in groups)
        o.append("    {%d, {%s}, {" % (sum(g[0] for g in groups), counts))
        for g in groups:
            o.append("        {" + ", ".join(map(str, g[1] + [0] * (16 - len(g[1])))) + "},")
        o.append("    }},")
    o.append("};")
    o.append("")
    o.append("}  // namespace orva")
    o.append("")
    with open(os.path.join(OUT, "iso_tables.cpp"), "w") as fh:
        fh.write("\n".join(o))
    print("%d Huffman entries" % len(entries))


if __name__ == "__main__":
    main()
