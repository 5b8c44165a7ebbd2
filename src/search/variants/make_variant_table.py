#!/usr/bin/python3
"""Writes the table of variant characters that the variant search reads.

    make_variant_table.py UNIHAN_VARIANTS OPENCC_DICT OPENCC_DATA_DIR OUTFILE

UNIHAN_VARIANTS is Unicode's Unihan_Variants.txt (plain or .bz2), OPENCC_DICT
the opencc_dict program (it turns OpenCC's binary .ocd2 dictionaries into
text) and OPENCC_DATA_DIR the folder of those dictionaries.

Output, UTF-8, one entry a line, anything after the first blank a comment:
  "ab"   a group: a and b find each other (not transitively: a group never
         joins what two groups share a member with);
  "s>t"  s, a form that code page 950 cannot hold (simplified, Japanese or
         an unencoded variant), finds t and whatever t finds; t finds s.
Folding rules, because over-folding is a wrong result:
  - two characters that code page 950 both holds are grouped only by a
    variant relation (Unihan kZVariant, a kSemanticVariant that both
    characters list, OpenCC's Taiwan and Hong Kong variant tables), never by
    a simplified/traditional or Japanese mapping: 后 and 後, 干 and 乾, 云
    and 雲 are different characters in a traditional text;
  - a form outside code page 950 is linked to the forms inside it that any
    source relates it to (黄>黃, 头>頭, 发>發髮);
  - pairs of which neither is in code page 950 are left out: no page can
    print either.
Only the standard library is used.
"""

import bz2
import collections
import pathlib
import subprocess
import sys
import tempfile

VARIANT_FIELDS = {"kZVariant"}
MAPPING_FIELDS = {"kSimplifiedVariant", "kTraditionalVariant"}
# OpenCC dictionaries and whether a pair in them is a variant of one
# character (True) or a mapping between scripts (False).
OPENCC_TABLES = {
    "STCharacters": False, "TSCharacters": False,
    "TWVariants": True, "TWVariantsRev": True,
    "HKVariants": True, "HKVariantsRev": True,
    "JPVariants": False, "JPVariantsRev": False,
}


def in_cp950(character):
    try:
        character.encode("cp950")
        return True
    except UnicodeEncodeError:
        return False


def code_point(field):
    """U+XXXX, possibly followed by <sources, as one character."""
    return chr(int(field.split("<")[0][2:], 16))


def read_unihan(path):
    opener = bz2.open if str(path).endswith(".bz2") else open
    version = ""
    notices = []  # the data files' copyright lines, carried into the table
    pairs = []  # (a, b, is_variant, source)
    semantic = collections.defaultdict(set)
    with opener(path, "rt", encoding="utf-8") as lines:
        for line in lines:
            if line.startswith("# Unicode version:"):
                version = line.split(":", 1)[1].strip()
            if line.startswith("# \u00a9"):
                notices.append(line[2:].strip())
            if line.startswith("#") or not line.strip():
                continue
            cp, field, values = line.rstrip("\n").split("\t")
            a = code_point(cp)
            for value in values.split():
                b = code_point(value)
                if a == b:
                    continue
                if field == "kSemanticVariant":
                    semantic[a].add(b)
                elif field in VARIANT_FIELDS:
                    pairs.append((a, b, True, field))
                elif field in MAPPING_FIELDS:
                    pairs.append((a, b, False, field))
    for a, others in semantic.items():
        for b in others:
            if a in semantic.get(b, ()):
                pairs.append((a, b, True, "kSemanticVariant"))
    return version, notices, pairs


def read_opencc(opencc_dict, data_dir):
    pairs = []
    with tempfile.TemporaryDirectory() as scratch:
        for name, is_variant in OPENCC_TABLES.items():
            source = pathlib.Path(data_dir) / f"{name}.ocd2"
            target = pathlib.Path(scratch) / f"{name}.txt"
            subprocess.run([opencc_dict, "-i", str(source), "-o", str(target), "-f", "ocd2", "-t", "text"],
                           check=True, stdout=subprocess.DEVNULL)
            for line in target.read_text(encoding="utf-8").splitlines():
                key, _, values = line.partition("\t")
                if len(key) != 1:
                    continue
                for value in values.split():
                    if len(value) == 1 and value != key:
                        pairs.append((key, value, is_variant, "OpenCC " + name))
    return pairs


def fold(pairs):
    """Groups and links by the rules of the module comment, with sources."""
    groups = collections.defaultdict(set)
    links = collections.defaultdict(set)
    for a, b, is_variant, source in pairs:
        inside_a, inside_b = in_cp950(a), in_cp950(b)
        if inside_a and inside_b:
            if is_variant:
                groups[tuple(sorted((a, b)))].add(source)
        elif inside_a != inside_b:
            outside, inside = (b, a) if inside_a else (a, b)
            links[(outside, inside)].add(source)
    return groups, links


def main(argv):
    if len(argv) != 5:
        print(__doc__, file=sys.stderr)
        return 2
    unihan, opencc_dict, data_dir, outfile = argv[1:]
    version, notices, pairs = read_unihan(unihan)
    pairs += read_opencc(opencc_dict, data_dir)
    groups, links = fold(pairs)
    lines = [
        "# Variant characters of the variant search, made at build time by make_variant_table.py.",
        f"# Sources: Unicode's Unihan_Variants.txt of Unicode {version}, "
        + " ".join(notices) + " Distributed under the Terms of Use in https://www.unicode.org/copyright.html",
        "# (UNICODE, INC. LICENSE AGREEMENT - DATA FILES AND SOFTWARE);",
        "# OpenCC's character and variant dictionaries, Copyright 2010-2022 BYVoid, Apache License 2.0.",
        "# \"ab\": a and b find each other; \"s>t\": s (outside code page 950) finds t and what t finds.",
    ]
    for (a, b), sources in sorted(groups.items()):
        lines.append(f"{a}{b} # {', '.join(sorted(sources))}")
    by_outside = collections.defaultdict(dict)
    for (outside, inside), sources in links.items():
        by_outside[outside][inside] = sources
    for outside in sorted(by_outside):
        insides = by_outside[outside]
        sources = sorted(set().union(*insides.values()))
        lines.append(f"{outside}>{''.join(sorted(insides))} # {', '.join(sources)}")
    out = pathlib.Path(outfile)
    out.parent.mkdir(parents=True, exist_ok=True)
    scratch = out.with_name(out.name + ".part")
    scratch.write_text("\n".join(lines) + "\n", encoding="utf-8")
    scratch.replace(out)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
