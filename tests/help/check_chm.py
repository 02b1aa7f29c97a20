#!/usr/bin/env python3
"""Lists each compiled help file with 7z: it must hold every page, picture
and shared file of its language, and its contents and index files, which
must read in the language's code page and name every page.

    check_chm.py HELP_DIR BIN_DIR
"""
import os
import subprocess
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "help"))
from guide import LANGUAGES, Guide  # noqa: E402


def listing(chm):
    out = subprocess.run(["7z", "l", "-slt", chm], stdout=subprocess.PIPE, stderr=subprocess.PIPE,
                         check=True).stdout.decode("utf-8", "replace")
    return {line[len("Path = "):].replace("\\", "/") for line in out.splitlines()
            if line.startswith("Path = ")}


def member(chm, name):
    return subprocess.run(["7z", "x", "-so", chm, name], stdout=subprocess.PIPE,
                          stderr=subprocess.PIPE, check=True).stdout


def main(argv):
    if len(argv) != 3:
        sys.stderr.write(__doc__)
        return 2
    help_dir, bin_dir = argv[1:]
    problems = []
    for lang, language in LANGUAGES.items():
        chm = os.path.join(bin_dir, language.chm)
        if not os.path.isfile(chm):
            problems.append("%s is missing" % chm)
            continue
        guide = Guide(help_dir, lang)
        inside = listing(chm)
        for name in guide.files() + ["lumora.hhc", "lumora.hhk"]:
            if name not in inside:
                problems.append("%s lacks %s" % (language.chm, name))
        for name in ("lumora.hhc", "lumora.hhk"):
            try:
                text = member(chm, name).decode(language.encoding)
            except (UnicodeDecodeError, subprocess.CalledProcessError) as e:
                problems.append("%s: %s does not read as %s: %s" % (language.chm, name, language.encoding, e))
                continue
            for page in guide.pages():
                if '"%s"' % page not in text:
                    problems.append("%s: %s does not name %s" % (language.chm, name, page))
            if name == "lumora.hhc":
                for page in guide.pages():
                    if guide.title(page) not in text:
                        problems.append("%s: the contents lack the title of %s" % (language.chm, page))
    for p in problems:
        print(p)
    print("%d help files checked, %d problems" % (len(LANGUAGES), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
