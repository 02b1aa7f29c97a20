#!/usr/bin/env python3
"""Every program message that a guide quotes (marked class="msg") must be
one of the program's own texts in the guide's language: a string-table
entry of that language's resources (the program's and the plug-ins'), or
a text of the English-only driver remover. %d, %u and %s in a program
text stand for any number or text; a line break is any white space.

    check_messages.py HELP_DIR SOURCE_DIR
"""
import glob
import os
import re
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "help"))
from guide import LANGUAGES, Guide  # noqa: E402

RESOURCE_LANGUAGE = {"en": "1033", "zh-TW": "1028", "zh-CN": "2052"}
ENTRY = re.compile(r'^\s*\w+\s*,?\s*"((?:[^"]|"")*)"\s*$')
LITERAL = re.compile(r'"((?:[^"\\]|\\.)*)"')


def unescape_rc(text):
    text = text.replace('""', '"')
    return re.sub(r"\\(.)", lambda m: {"n": "\n", "t": "\t", "r": ""}.get(m.group(1), m.group(1)), text)


def string_tables(source_dir, lcid):
    """The string-table texts of every resource file of one language."""
    texts = []
    files = glob.glob(os.path.join(source_dir, "**", "*_%s.rc" % lcid), recursive=True)
    for path in files:
        in_table = depth = 0
        with open(path, encoding="utf-8") as f:
            for line in f:
                word = line.strip()
                if word == "STRINGTABLE":
                    in_table, depth = 1, 0
                elif in_table and word in ("BEGIN", "{"):
                    depth += 1
                elif in_table and word in ("END", "}"):
                    depth -= 1
                    in_table = depth > 0
                elif in_table and depth:
                    m = ENTRY.match(line)
                    if m:
                        texts.append(unescape_rc(m.group(1)))
    return files, texts


def remover_texts(source_dir):
    texts = []
    for path in glob.glob(os.path.join(source_dir, "remover", "*.cpp")):
        with open(path, encoding="utf-8") as f:
            for m in LITERAL.finditer(f.read()):
                texts.append(unescape_rc(m.group(1)))
    return texts


def normal(text):
    return re.sub(r"\s+", " ", text).strip()


def pattern_of(program_text):
    parts = re.split(r"(%[dus]|%%)", normal(program_text))
    out = []
    for part in parts:
        if part in ("%d", "%u"):
            out.append(r"-?\d+")
        elif part == "%s":
            out.append(r".+?")
        elif part == "%%":
            out.append("%")
        else:
            out.append(re.escape(part))
    return re.compile("^" + "".join(out) + "$")


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    help_dir, source_dir = argv[1:]
    problems = []
    quoted = 0
    remover = [pattern_of(t) for t in remover_texts(source_dir)]
    for lang in LANGUAGES:
        files, texts = string_tables(source_dir, RESOURCE_LANGUAGE[lang])
        if not texts:
            problems.append("%s: no string tables found under %s" % (lang, source_dir))
            continue
        patterns = [pattern_of(t) for t in texts if t.strip()] + remover
        guide = Guide(help_dir, lang)
        for page in guide.pages():
            for message in guide.parsed(page).messages:
                quoted += 1
                text = normal(message)
                if not any(p.match(text) for p in patterns):
                    problems.append("%s/%s: \"%s\" is not a text of the program" % (lang, page, text))
    for p in problems:
        print(p)
    print("%d quoted messages checked, %d problems" % (quoted, len(problems)))
    return 1 if problems or not quoted else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
