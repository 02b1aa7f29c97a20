#!/usr/bin/env python3
"""Walks the HTML sources of the three guides: every page is in the
contents and every listed page exists, the three languages have the same
pages and pictures, every link and picture resolves (anchors included),
every picture is used, and every page has a title, index keywords and
alternative texts for its pictures.

    check_links.py HELP_DIR
"""
import os
import sys
from urllib.parse import unquote

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "help"))
from guide import LANGUAGES, Guide  # noqa: E402


def check_language(guide, problems):
    lang = guide.lang
    listed = guide.pages()
    for page in sorted(set(listed)):
        if listed.count(page) > 1:
            problems.append("%s: %s is listed %d times in contents.txt" % (lang, page, listed.count(page)))
    for page in listed:
        if not os.path.isfile(os.path.join(guide.folder, page)):
            problems.append("%s: contents.txt lists %s, which does not exist" % (lang, page))
    for page in guide.page_files():
        if page not in listed:
            problems.append("%s: %s is not in contents.txt" % (lang, page))
    if not guide.book_title:
        problems.append("%s: contents.txt has no title line" % lang)

    used_images = set()
    for page in listed:
        if not os.path.isfile(os.path.join(guide.folder, page)):
            continue
        parsed = guide.parsed(page)
        if not guide.title(page):
            problems.append("%s/%s: no <title>" % (lang, page))
        if not parsed.keywords:
            problems.append("%s/%s: no index keywords" % (lang, page))
        for src in parsed.images_without_alt:
            problems.append("%s/%s: picture %s has no alt text" % (lang, page, src))
        for attr, value in parsed.links:
            if value.startswith(("http:", "https:", "mailto:")):
                continue
            target, _, anchor = unquote(value).partition("#")
            if not target:
                target = page
            if "\\" in target or target.startswith("/"):
                problems.append("%s/%s: link %s is not a relative path with /" % (lang, page, value))
                continue
            source = guide.source_of(target)
            if not os.path.isfile(source):
                problems.append("%s/%s: %s leads nowhere" % (lang, page, value))
                continue
            if target.startswith("images/"):
                used_images.add(target)
            if anchor:
                if not target.endswith(".html") or anchor not in guide.parsed(target).anchors:
                    problems.append("%s/%s: %s names no anchor of %s" % (lang, page, value, target))
    for image in guide.images():
        if image not in used_images:
            problems.append("%s: %s is used by no page" % (lang, image))


def main(argv):
    if len(argv) != 2:
        sys.stderr.write(__doc__)
        return 2
    help_dir = argv[1]
    problems = []
    guides = [Guide(help_dir, lang) for lang in LANGUAGES]
    for guide in guides:
        check_language(guide, problems)
    first = guides[0]
    for other in guides[1:]:
        if other.pages() != first.pages():
            problems.append("%s: pages or their order differ from %s" % (other.lang, first.lang))
        if [c.book is None for c in other.contents] != [c.book is None for c in first.contents]:
            problems.append("%s: the contents tree differs from %s" % (other.lang, first.lang))
        missing = sorted(set(first.images()) ^ set(other.images()))
        if missing:
            problems.append("%s and %s differ in pictures: %s" % (first.lang, other.lang, ", ".join(missing)))
    for p in problems:
        print(p)
    print("%d pages in %d languages checked, %d problems" % (len(first.pages()), len(guides), len(problems)))
    return 1 if problems else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
