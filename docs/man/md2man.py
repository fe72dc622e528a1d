#!/usr/bin/env python3
"""Turns a manual page written in a small Markdown-like format into man(7) source.

    % NAME(SECTION) | one-line summary          first line: the page's NAME line
    # HEADING                                   section (.SH); ## Heading: subsection (.SS)
    text lines                                  paragraphs, separated by blank lines
        indented by 4 spaces                    literal block (examples, synopsis lines)
    term                                        a definition list entry (.TP): the term line,
    : description, continued on lines           then its description after ": ",
      indented by two spaces                    continued on lines indented by two spaces
    @include FILE                               the lines of FILE (relative to this one)

Inline: `code` is set in bold, *words* in italics. Sources are ASCII only, so that the
page reads the same under any locale.

usage: md2man.py SOURCE OUTPUT VERSION [--gzip OUTPUT.gz]
"""

import gzip
import os
import re
import sys


def escape(text):
    text = text.replace("\\", "\\e")
    return re.sub(r"^([.'])", r"\\&\1", text)


def inline(text):
    def code(match):
        return "\\fB" + match.group(1).replace("-", "\\-") + "\\fR"

    parts = re.split(r"(`[^`]*`)", text)
    out = []
    for part in parts:
        if part.startswith("`") and part.endswith("`") and len(part) > 1:
            out.append(code(re.match(r"`(.*)`", escape(part))))
        else:
            out.append(re.sub(r"\*([^*]+)\*", r"\\fI\1\\fR", escape(part)))
    return "".join(out)


def read_lines(path, seen=()):
    lines = []
    with open(path, encoding="ascii") as source:
        for number, line in enumerate(source, 1):
            line = line.rstrip("\n")
            if line.startswith("@include "):
                target = os.path.join(os.path.dirname(path), line.split(None, 1)[1].strip())
                if target in seen:
                    sys.exit("%s:%d: include loop" % (path, number))
                lines += read_lines(target, seen + (target,))
            else:
                lines.append(line)
    return lines


def header(first, version):
    match = re.match(r"^% ([a-z0-9-]+)\((\d)\) \| (.+)$", first)
    if not match:
        sys.exit("first line must read: % name(section) | summary")
    name, section, summary = match.groups()
    return [
        '.TH %s %s "" "Veltaro %s" "User Commands"' % (name.upper(), section, version),
        ".SH NAME",
        "%s \\- %s" % (name.replace("-", "\\-"), escape(summary)),
    ]


def body(lines):
    out, state = [], "start"
    for line in lines:
        if not line.strip():
            if state == "literal":
                out += [".fi", ".RE"]
            state = "gap" if state != "start" else state
            continue
        if line.startswith("    ") and state in ("gap", "start", "literal"):
            if state != "literal":
                out += ([".PP"] if state == "gap" else []) + [".RS 4", ".nf"]
            out.append(escape(line[4:]).replace("-", "\\-") if line[4:] else ".sp")
            state = "literal"
        elif line.startswith("#"):
            level, title = re.match(r"^(#+) (.+)$", line).groups()
            out.append((".SH " if len(level) == 1 else ".SS ") + '"%s"' % title)
            state = "start"
        elif line.startswith(": "):
            term = out.pop()
            if out and out[-1] == ".PP":
                out.pop()
            out += [".TP", term, inline(line[2:])]
            state = "text"
        else:
            if state == "gap":
                out.append(".PP")
            out.append(inline(line.strip()))
            state = "text"
    if state == "literal":
        out += [".fi", ".RE"]
    return out


def main(argv):
    if len(argv) not in (4, 6) or (len(argv) == 6 and argv[4] != "--gzip"):
        sys.exit(__doc__.split("usage: ")[1])
    lines = read_lines(argv[1])
    page = "\n".join(header(lines[0], argv[3]) + body(lines[1:])) + "\n"
    with open(argv[2], "w", encoding="ascii") as out:
        out.write(page)
    if len(argv) == 6:
        # mtime 0 and no file name: the same source gives the same bytes.
        with open(argv[5], "wb") as raw, gzip.GzipFile(
            filename="", mode="wb", fileobj=raw, compresslevel=9, mtime=0
        ) as packed:
            packed.write(page.encode("ascii"))


if __name__ == "__main__":
    main(sys.argv)
