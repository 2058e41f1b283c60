#!/usr/bin/python3
"""The site's font: the glyphs the game can show, cut from IPAPGothic with fontTools' subsetter
and renamed, as the IPA Font License asks of a changed font.

    subset-font.py FONT OUT SOURCE_DIR...

The glyphs are every printable ASCII letter (captions, the banner, the ending's messages, the
score's digits and the letters of its code, the menu) and every other character in a string
literal of the sources under the SOURCE_DIRs (the title's full-width date and name, the
ending's half-width katakana). Hinting, layout tables and metrics are kept, so the game's text comes out
pixel for pixel as with the whole font.
"""
import pathlib
import re
import sys

from fontTools import subset
from fontTools.ttLib import TTFont

NEW_NAME = "Hopla Gothic Subset"
LITERAL = re.compile(r'"((?:[^"\\\n]|\\.)*)"')


def game_text(dirs):
    chars = {chr(c) for c in range(0x20, 0x7F)}
    for d in dirs:
        for path in sorted(pathlib.Path(d).glob("*.[ch]*")):
            for line in path.read_text(encoding="utf-8").splitlines():
                if line.lstrip().startswith("#include"):
                    continue
                for literal in LITERAL.findall(line):
                    chars.update(c for c in literal if ord(c) > 0x7E)
    return "".join(sorted(chars))


def main():
    if len(sys.argv) < 4:
        sys.exit("usage: subset-font.py FONT OUT SOURCE_DIR...")
    font_path, out, dirs = sys.argv[1], sys.argv[2], sys.argv[3:]
    options = subset.Options()
    options.layout_features = ["*"]
    options.name_IDs = ["*"]
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.hinting = True
    options.legacy_kern = True
    font = TTFont(font_path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text=game_text(dirs))
    subsetter.subset(font)
    # A changed font may not keep the original's names (IPA Font License, 3.1.1).
    names = font["name"]
    for record in names.names:
        if record.nameID in (1, 4, 16, 18, 21):
            record.string = NEW_NAME
        elif record.nameID == 3:
            record.string = NEW_NAME + " (from IPAPGothic 003.03)"
        elif record.nameID == 6:
            record.string = NEW_NAME.replace(" ", "")
    font.save(out)


if __name__ == "__main__":
    main()
