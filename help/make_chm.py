#!/usr/bin/env python3
"""Compiles one language of the user guide into an HTML Help file.

    make_chm.py HELP_DIR LANG OUTPUT.chm STAGE_DIR

HELP_DIR/LANG holds the pages (UTF-8 HTML), their pictures (images/) and
contents.txt, the order of the contents tree; HELP_DIR/shared holds what
every language uses (the style sheet). The project, contents and index
files are made here: the titles come from each page's <title>, the index
entries from its <meta name="keywords">. HTML Help reads the contents and
index files in the language's ANSI code page, so they are written in it;
the pages stay UTF-8 and say so in their <meta charset>.
"""
import os
import shutil
import subprocess
import sys

from guide import LANGUAGES, Guide

WINDOW = "main"


def sitemap_text(value):
    return value.replace("&", "&amp;").replace('"', "&quot;").replace("<", "&lt;")


def entry(name, local=None, indent=""):
    lines = [indent + '<LI> <OBJECT type="text/sitemap">',
             indent + '\t<param name="Name" value="%s">' % sitemap_text(name)]
    if local:
        lines.append(indent + '\t<param name="Local" value="%s">' % local)
    lines.append(indent + "\t</OBJECT>")
    return lines


def contents_file(guide):
    lines = ["<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
             "</HEAD>", "<BODY>", '<OBJECT type="text/site properties">',
             '\t<param name="ImageType" value="Folder">', "</OBJECT>", "<UL>"]
    for node in guide.contents:
        if node.book:
            lines += entry(node.book)
            lines.append("<UL>")
            for page in node.pages:
                lines += entry(guide.title(page), page, "\t")
            lines.append("</UL>")
        else:
            lines += entry(guide.title(node.pages[0]), node.pages[0])
    lines += ["</UL>", "</BODY>", "</HTML>", ""]
    return "\r\n".join(lines)


def index_file(guide, encoding):
    keywords = {}
    for page in guide.pages():
        for word in guide.keywords(page):
            keywords.setdefault(word, []).append(page)
    # Sorted as the reader's code page orders them: alphabetically for
    # English, by stroke (Big5) or by pinyin (GBK) for the Chinese guides.
    order = sorted(keywords, key=lambda w: w.lower().encode(encoding))
    lines = ["<!DOCTYPE HTML PUBLIC \"-//IETF//DTD HTML//EN\">", "<HTML>", "<HEAD>",
             "</HEAD>", "<BODY>", "<UL>"]
    for word in order:
        lines.append('<LI> <OBJECT type="text/sitemap">')
        lines.append('\t<param name="Name" value="%s">' % sitemap_text(word))
        for page in keywords[word]:
            lines.append('\t<param name="Name" value="%s">' % sitemap_text(guide.title(page)))
            lines.append('\t<param name="Local" value="%s">' % page)
        lines.append("\t</OBJECT>")
    lines += ["</UL>", "</BODY>", "</HTML>", ""]
    return "\r\n".join(lines)


def project_file(guide, chm_name, language):
    start = guide.contents[0].pages[0]
    title = guide.book_title
    # Window: contents and index tabs, a search tab, Back/Forward/Home/Print.
    window = '%s="%s","lumora.hhc","lumora.hhk","%s","%s",,,,,0x63520,220,0x304E,[40,40,900,680],,,,,,,0' % (
        WINDOW, title, start, start)
    lines = ["[OPTIONS]",
             "Compatibility=1.1 or later",
             "Compiled file=%s" % chm_name,
             "Contents file=lumora.hhc",
             "Index file=lumora.hhk",
             "Default topic=%s" % start,
             "Default Window=%s" % WINDOW,
             "Display compile progress=No",
             "Full-text search=Yes",
             "Language=%s" % language.lcid_text,
             "Title=%s" % title,
             "",
             "[WINDOWS]",
             window,
             "",
             "[FILES]"]
    lines += guide.files()
    lines.append("")
    return "\r\n".join(lines)


def main(argv):
    if len(argv) != 5:
        sys.stderr.write(__doc__)
        return 2
    help_dir, lang, output, stage = argv[1:]
    language = LANGUAGES[lang]
    guide = Guide(help_dir, lang)

    shutil.rmtree(stage, ignore_errors=True)
    os.makedirs(os.path.join(stage, "images"))
    for name in guide.files():
        shutil.copyfile(guide.source_of(name), os.path.join(stage, name))
    chm_name = os.path.basename(output)
    for name, text in (("lumora.hhc", contents_file(guide)),
                       ("lumora.hhk", index_file(guide, language.encoding)),
                       ("lumora.hhp", project_file(guide, chm_name, language))):
        with open(os.path.join(stage, name), "wb") as f:
            f.write(text.encode(language.encoding))

    result = subprocess.run(["chmcmd", "--no-html-scan", "lumora.hhp"], cwd=stage,
                            stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
                            errors="replace")
    built = os.path.join(stage, chm_name)
    if result.returncode != 0 or not os.path.isfile(built):
        sys.stderr.write(result.stdout)
        sys.stderr.write("make_chm: chmcmd failed for %s\n" % lang)
        return 1
    os.makedirs(os.path.dirname(os.path.abspath(output)), exist_ok=True)
    shutil.move(built, output)
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
