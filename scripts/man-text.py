#!/usr/bin/env python3
"""The manual page as the one source of the game's key, option and settings lists.

  man-text.py man PLATFORM PAGE.scd OUT.scd
      the page for scdoc, with only PLATFORM's words
  man-text.py text PLATFORM PAGE.scd TEMPLATE OUT [NAME=VALUE...]
      TEMPLATE with each @SECTION:TITLE@ replaced by that section of the page as plain text
      (markup gone, wrapped at 78 columns) and each @NAME@ by VALUE

In the page, {linux:TEXT} is said on Linux only and {windows:TEXT} on Windows only; TEXT may
span lines but holds no braces. Lines starting with ";" are scdoc's comments.
"""
import re
import sys
import textwrap

PLATFORMS = ("linux", "windows")
WIDTH = 78


def for_platform(page, platform):
    def pick(match):
        return match.group(2) if match.group(1) == platform else ""

    return re.sub(r"\{(%s):([^{}]*)\}" % "|".join(PLATFORMS), pick, page)


def plain(text):
    """scdoc's inline markup taken away: *bold*, _underlined_, backslash escapes."""
    text = re.sub(r"(?<!\\)\*(.+?)(?<!\\)\*", r"\1", text)
    text = re.sub(r"(?<![\w\\])_(.+?)(?<!\\)_(?!\w)", r"\1", text)
    return re.sub(r"\\(.)", r"\1", text)


def sections(page):
    found, title, lines = {}, None, []
    for line in page.split("\n"):
        if line.startswith("# "):
            if title:
                found[title] = lines
            title, lines = line[2:].strip(), []
        elif title and not line.startswith(";"):
            lines.append(line)
    if title:
        found[title] = lines
    return found


def as_text(lines):
    """A section's lines as plain text: a term (a line followed by tab-indented lines) at two
    spaces, its description wrapped at six, other paragraphs at none, ``` blocks as they are."""
    out, paragraph, indent, literal = [], [], "", False

    def flush():
        nonlocal paragraph
        if paragraph:
            out.extend(textwrap.wrap(plain(" ".join(paragraph)), WIDTH, initial_indent=indent,
                                     subsequent_indent=indent, break_on_hyphens=False))
            paragraph = []

    for i, line in enumerate(lines):
        if line.startswith("```"):
            flush()
            literal = not literal
            continue
        if literal:
            out.append(("    " + line).rstrip())
            continue
        if not line.strip():
            flush()
            if out and out[-1]:
                out.append("")
            continue
        if line.startswith("\t"):
            if indent != "      ":
                flush()
                indent = "      "
            paragraph.append(line.strip())
            continue
        following = lines[i + 1] if i + 1 < len(lines) else ""
        if following.startswith("\t"):  # a term
            flush()
            out.append("  " + plain(line.strip()))
            indent = "      "
            continue
        if indent:
            flush()
            indent = ""
        paragraph.append(line.strip())
    flush()
    while out and not out[-1]:
        out.pop()
    return "\n".join(out)


def main(argv):
    if len(argv) < 5 or argv[1] not in ("man", "text") or argv[2] not in PLATFORMS:
        sys.exit(__doc__)
    mode, platform, source = argv[1], argv[2], argv[3]
    with open(source, encoding="utf-8") as f:
        page = for_platform(f.read(), platform)
    if mode == "man":
        with open(argv[4], "w", encoding="utf-8") as f:
            f.write(page)
        return
    if len(argv) < 6:
        sys.exit(__doc__)
    with open(argv[4], encoding="utf-8") as f:
        text = f.read()
    found = sections(page)

    def section(match):
        if match.group(1) not in found:
            sys.exit(f"man-text.py: {source} has no section {match.group(1)}")
        return as_text(found[match.group(1)])

    text = re.sub(r"@SECTION:([A-Z ]+)@", section, text)
    for pair in argv[6:]:
        name, _, value = pair.partition("=")
        text = text.replace(f"@{name}@", value)
    if re.search(r"@[A-Z_:]+@", text):
        sys.exit(f"man-text.py: {argv[4]} names a value that was not given")
    with open(argv[5], "w", encoding="utf-8") as f:
        f.write(text)


if __name__ == "__main__":
    main(sys.argv)
