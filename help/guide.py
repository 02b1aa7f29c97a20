"""The sources of one language of the user guide, as the build and the
checks read them: the contents order, the pages with their titles,
keywords, links, anchors and quoted program messages, and the pictures."""
import os
import re
from collections import namedtuple
from html.parser import HTMLParser

Language = namedtuple("Language", "chm lcid_text encoding")

# Folder name -> help file, HTML Help language and the ANSI code page that
# the contents and index files are read in.
LANGUAGES = {
    "en": Language("LumoraHelp.chm", "0x409 English (United States)", "cp1252"),
    "zh-TW": Language("LumoraHelpTC.chm", "0x404 Chinese (Taiwan)", "cp950"),
    "zh-CN": Language("LumoraHelpSC.chm", "0x804 Chinese (PRC)", "gbk"),
}

SHARED = "shared"
IMAGES = "images"

Node = namedtuple("Node", "book pages")


class PageParser(HTMLParser):
    """Title, keywords, links, anchors and the texts marked class="msg"."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.title = ""
        self.keywords = []
        self.links = []      # (attribute, value)
        self.anchors = set()
        self.messages = []
        self.images_without_alt = []
        self._in_title = False
        self._msg_depth = 0
        self._msg_text = []
        self._depth = 0

    def handle_starttag(self, tag, attrs):
        a = dict(attrs)
        if tag not in ("br", "img", "meta", "link", "hr", "input"):
            self._depth += 1
        if tag == "title":
            self._in_title = True
        if tag == "meta" and a.get("name", "").lower() == "keywords":
            self.keywords = [w.strip() for w in a.get("content", "").split(";") if w.strip()]
        for attr in ("href", "src"):
            if a.get(attr):
                self.links.append((attr, a[attr]))
        if a.get("id"):
            self.anchors.add(a["id"])
        if tag == "a" and a.get("name"):
            self.anchors.add(a["name"])
        if tag == "img" and not a.get("alt"):
            self.images_without_alt.append(a.get("src", ""))
        if tag == "br" and self._msg_depth:
            self._msg_text.append("\n")
        if "msg" in a.get("class", "").split() and not self._msg_depth:
            self._msg_depth = self._depth
            self._msg_text = []

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)

    def handle_endtag(self, tag):
        if tag == "title":
            self._in_title = False
        if self._msg_depth and self._depth == self._msg_depth:
            self.messages.append("".join(self._msg_text))
            self._msg_depth = 0
        if tag not in ("br", "img", "meta", "link", "hr", "input"):
            self._depth -= 1

    def handle_data(self, data):
        if self._in_title:
            self.title += data
        if self._msg_depth:
            self._msg_text.append(data)


class Guide:
    def __init__(self, help_dir, lang):
        self.help_dir = help_dir
        self.lang = lang
        self.folder = os.path.join(help_dir, lang)
        self.book_title = ""
        self.contents = []
        self._parsed = {}
        self._read_contents()

    def _read_contents(self):
        with open(os.path.join(self.folder, "contents.txt"), encoding="utf-8") as f:
            for raw in f:
                line = raw.rstrip()
                if not line.strip():
                    continue
                if line.startswith("title:"):
                    self.book_title = line[len("title:"):].strip()
                elif line.startswith("# "):
                    self.contents.append(Node(line[2:].strip(), []))
                elif line.startswith((" ", "\t")):
                    if not self.contents or not self.contents[-1].book:
                        raise ValueError("%s: indented page outside a book: %s" % (self.lang, line))
                    self.contents[-1].pages.append(line.strip())
                else:
                    self.contents.append(Node(None, [line.strip()]))

    def pages(self):
        return [p for node in self.contents for p in node.pages]

    def page_files(self):
        """Every .html file of the language folder, listed or not."""
        return sorted(n for n in os.listdir(self.folder) if n.endswith(".html"))

    def images(self):
        folder = os.path.join(self.folder, IMAGES)
        if not os.path.isdir(folder):
            return []
        return sorted(IMAGES + "/" + n for n in os.listdir(folder) if not n.startswith("."))

    def shared(self):
        return sorted(os.listdir(os.path.join(self.help_dir, SHARED)))

    def files(self):
        """What goes into the help file, as paths inside it."""
        return self.pages() + self.images() + self.shared()

    def source_of(self, name):
        own = os.path.join(self.folder, name)
        if os.path.exists(own):
            return own
        return os.path.join(self.help_dir, SHARED, name)

    def parsed(self, page):
        if page not in self._parsed:
            parser = PageParser()
            with open(os.path.join(self.folder, page), encoding="utf-8") as f:
                parser.feed(f.read())
            parser.close()
            self._parsed[page] = parser
        return self._parsed[page]

    def title(self, page):
        return re.sub(r"\s+", " ", self.parsed(page).title).strip()

    def keywords(self, page):
        return self.parsed(page).keywords
