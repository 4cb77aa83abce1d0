#!/usr/bin/env python3
"""Checks the help as the build lays it out.

  check_help.py chm   PROJECT.hhp ORVELA.CHM
      The compiled help starts with the ITSF signature, and its directory
      holds every file of the project's [FILES] list at its full size.

  check_help.py pages PROJECT.hhp HTML_DIR PAGE...
      Every HTML page of HTML_DIR is well formed, self-contained and links
      back to index.html; every local link and anchor of the pages, the
      table of contents and the index resolves, and every picture a page
      shows is there; every page is listed both in the Contents of
      index.html (the list under <h2 id="contents">, what a browser and the
      program's own help window show) and in the table of contents of the
      compiled help; HTML_DIR holds exactly the files of the project; the
      PAGEs (the ones the program opens by name) are there.

  check_help.py docs TOP
      The README and docs/*.md of the source tree TOP: every picture they
      show and every file they link to exists, every anchor they link to
      is a heading of its page, and every picture of docs/ is shown by the
      README, a page of docs/ or a help page.

  check_help.py info  Info.txt
      The information text is UTF-8, without tabs, in lines under 80
      characters.

Exit status 0 when everything holds; otherwise every fault is listed on
standard error and the status is 1.
"""

import html.parser
import os
import re
import struct
import sys
import urllib.parse

faults = []


def fault(text):
    faults.append(text)


# --- The project file -------------------------------------------------------

def read_project(path):
    """Returns the project's sections as {name: [lines]}."""
    sections = {}
    current = None
    with open(path, encoding="utf-8") as f:
        for raw in f:
            line = raw.strip()
            if not line or line.startswith(";"):
                continue
            if line.startswith("[") and line.endswith("]"):
                current = sections.setdefault(line[1:-1].upper(), [])
            elif current is not None:
                current.append(line)
    return sections


def project_options(sections):
    options = {}
    for line in sections.get("OPTIONS", []):
        key, _, value = line.partition("=")
        options[key.strip().lower()] = value.strip()
    return options


# --- The CHM container ------------------------------------------------------

def read_encint(data, pos):
    """A CHM variable-length integer: 7 bits a byte, high bit set on all but
    the last byte, most significant first."""
    value = 0
    while True:
        byte = data[pos]
        pos += 1
        value = (value << 7) | (byte & 0x7F)
        if not byte & 0x80:
            return value, pos


def chm_directory(data):
    """Returns {name: (section, offset, length)} from the CHM's listing
    chunks (PMGL)."""
    if data[:4] != b"ITSF":
        raise ValueError("no ITSF signature")
    dir_offset, dir_length = struct.unpack_from("<QQ", data, 0x48)
    itsp = data[dir_offset:dir_offset + dir_length]
    if itsp[:4] != b"ITSP":
        raise ValueError("no ITSP directory header")
    header_length, = struct.unpack_from("<I", itsp, 0x08)
    chunk_size, = struct.unpack_from("<I", itsp, 0x10)
    chunk_count, = struct.unpack_from("<I", itsp, 0x2C)
    entries = {}
    for n in range(chunk_count):
        chunk = itsp[header_length + n * chunk_size:header_length + (n + 1) * chunk_size]
        if chunk[:4] != b"PMGL":
            continue  # an index chunk (PMGI) repeats names only
        free_space, = struct.unpack_from("<I", chunk, 0x04)
        pos, end = 0x14, chunk_size - free_space
        while pos < end:
            name_length, pos = read_encint(chunk, pos)
            name = chunk[pos:pos + name_length].decode("utf-8")
            pos += name_length
            section, pos = read_encint(chunk, pos)
            offset, pos = read_encint(chunk, pos)
            length, pos = read_encint(chunk, pos)
            entries[name] = (section, offset, length)
    return entries


def check_chm(project_path, chm_path):
    sections = read_project(project_path)
    source_dir = os.path.dirname(project_path)
    with open(chm_path, "rb") as f:
        data = f.read()
    try:
        entries = chm_directory(data)
    except (ValueError, struct.error, IndexError) as e:
        fault(f"{chm_path}: not a readable CHM: {e}")
        return
    for name in sections.get("FILES", []):
        inside = "/" + name
        if inside not in entries:
            fault(f"{chm_path}: {name} is missing")
            continue
        source = os.path.join(source_dir, name)
        if os.path.exists(source):
            size = os.path.getsize(source)
            if entries[inside][2] != size:
                fault(f"{chm_path}: {name} holds {entries[inside][2]} bytes, its source {size}")
    for name in ("/#SYSTEM", "/#TOPICS", "/#URLSTR", "/#STRINGS"):
        if name not in entries:
            fault(f"{chm_path}: the help viewer's table {name} is missing")
    options = project_options(sections)
    for key in ("contents file", "index file"):
        if key in options and "/" + options[key] not in entries:
            fault(f"{chm_path}: the {key} {options[key]} is missing")


# --- The HTML pages ---------------------------------------------------------

VOID = {"area", "base", "br", "col", "embed", "hr", "img", "input", "link",
        "meta", "source", "track", "wbr"}
# Elements whose end tag HTML lets one leave out, and the start tags that
# close them implicitly.
IMPLIED_END = {
    "p": {"p", "ul", "ol", "dl", "pre", "table", "h1", "h2", "h3", "h4",
          "figure", "nav", "div", "blockquote", "hr"},
    "li": {"li"},
    "dt": {"dt", "dd"},
    "dd": {"dt", "dd"},
    "tr": {"tr", "tbody"},
    "td": {"td", "th", "tr", "tbody"},
    "th": {"td", "th", "tr", "tbody"},
    "thead": {"tbody"},
}
NOT_ALLOWED = {"script", "iframe", "object", "embed", "applet", "frame", "frameset", "base"}


class PageParser(html.parser.HTMLParser):
    """Collects a page's faults of structure, its ids and its links."""

    def __init__(self, name):
        super().__init__(convert_charrefs=True)
        self.name = name
        self.stack = []
        self.ids = set()
        self.links = []  # (attribute value, element)
        self.doctype = None
        self.charset = None
        self.lang = None
        self.title = ""
        self.in_title = False
        self.problems = []
        self.section = None  # the id of the last <h2>
        self.contents_links = []  # the links under <h2 id="contents">

    def problem(self, text):
        self.problems.append(f"{self.name}, line {self.getpos()[0]}: {text}")

    def handle_decl(self, decl):
        self.doctype = decl

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        while self.stack and tag in IMPLIED_END.get(self.stack[-1], ()):
            self.stack.pop()
        if tag in NOT_ALLOWED:
            self.problem(f"<{tag}> is not allowed in the help")
        for key in attrs:
            if key.startswith("on"):
                self.problem(f"script attribute {key} on <{tag}>")
        if "id" in attrs:
            if attrs["id"] in self.ids:
                self.problem(f"id {attrs['id']} given twice")
            self.ids.add(attrs["id"])
        if tag == "a" and "name" in attrs:
            self.ids.add(attrs["name"])
        if tag == "html":
            self.lang = attrs.get("lang")
        if tag == "meta" and "charset" in attrs:
            self.charset = attrs["charset"]
        if tag == "title":
            self.in_title = True
        if tag == "h2":
            self.section = attrs.get("id")
        for key in ("href", "src"):
            if key in attrs:
                self.links.append((attrs[key], tag))
        if tag == "a" and "href" in attrs and self.section == "contents":
            self.contents_links.append(attrs["href"])
        if tag not in VOID:
            self.stack.append(tag)

    def handle_startendtag(self, tag, attrs):
        self.handle_starttag(tag, attrs)
        if tag not in VOID and self.stack and self.stack[-1] == tag:
            self.stack.pop()

    def handle_endtag(self, tag):
        if tag in VOID:
            self.problem(f"end tag </{tag}> of an empty element")
            return
        if tag == "title":
            self.in_title = False
        while self.stack and self.stack[-1] != tag and self.stack[-1] in IMPLIED_END:
            self.stack.pop()
        if not self.stack or self.stack[-1] != tag:
            open_tag = self.stack[-1] if self.stack else "nothing"
            self.problem(f"</{tag}> closes <{open_tag}>")
            if tag in self.stack:
                while self.stack.pop() != tag:
                    pass
            return
        self.stack.pop()

    def handle_data(self, data):
        if self.in_title:
            self.title += data

    def finish(self):
        self.close()
        left = [t for t in self.stack if t not in IMPLIED_END]
        if left:
            self.problem("never closed: " + ", ".join(f"<{t}>" for t in left))
        if not self.doctype or self.doctype.lower() != "doctype html":
            self.problem("the page does not begin with <!DOCTYPE html>")
        if (self.charset or "").lower() != "utf-8":
            self.problem("no <meta charset=\"utf-8\">")
        if not self.lang:
            self.problem("<html> has no lang")
        if not self.title.strip():
            self.problem("no title")


def read_utf8(path, label):
    """The file's text, or None when it is not UTF-8, which is a fault."""
    with open(path, "rb") as f:
        raw = f.read()
    try:
        return raw.decode("utf-8")
    except UnicodeDecodeError as e:
        fault(f"{label}: not UTF-8: {e}")
        return None


def parse_page(path):
    name = os.path.basename(path)
    text = read_utf8(path, name)
    if text is None:
        with open(path, "rb") as f:
            text = f.read().decode("utf-8", "replace")
    parser = PageParser(name)
    parser.feed(text)
    parser.finish()
    for p in parser.problems:
        fault(p)
    return parser


class SitemapParser(html.parser.HTMLParser):
    """Collects the Local values of a table of contents or an index."""

    def __init__(self):
        super().__init__(convert_charrefs=True)
        self.locals = []

    def handle_starttag(self, tag, attrs):
        attrs = dict(attrs)
        if tag == "param" and (attrs.get("name") or "").lower() == "local":
            self.locals.append(attrs.get("value") or "")


def is_external(url):
    return urllib.parse.urlsplit(url).scheme != ""


def check_link(origin, url, tag, pages, html_dir):
    """A local link must name a file of the help, and its anchor an id of
    that page; an external address is allowed only as a link to follow."""
    if is_external(url):
        if tag != "a":
            fault(f"{origin}: <{tag}> loads the outside resource {url}")
        elif urllib.parse.urlsplit(url).scheme not in ("http", "https", "mailto"):
            fault(f"{origin}: link {url} of an unexpected kind")
        return
    parts = urllib.parse.urlsplit(url)
    target = urllib.parse.unquote(parts.path)
    if target == "":
        target = origin
    if target.startswith("/") or ".." in target.split("/"):
        fault(f"{origin}: link {url} leaves the help's folder")
        return
    if not os.path.isfile(os.path.join(html_dir, target)):
        fault(f"{origin}: link {url}: no file {target}")
        return
    if parts.fragment:
        if target not in pages:
            fault(f"{origin}: link {url}: an anchor into a file that is not a page")
        elif parts.fragment not in pages[target].ids:
            fault(f"{origin}: link {url}: {target} has no id {parts.fragment}")


def check_contents(label, urls, pages):
    """Every page but the first is one a reader finds in the contents."""
    listed = {urllib.parse.unquote(urllib.parse.urlsplit(u).path) for u in urls if not is_external(u)}
    for name in sorted(pages):
        if name != "index.html" and name not in listed:
            fault(f"{name} is missing from {label}")


def check_pages(project_path, html_dir, required):
    sections = read_project(project_path)
    source_dir = os.path.dirname(project_path)
    listed = set(sections.get("FILES", []))
    present = set(os.listdir(html_dir))
    for name in sorted(listed - present):
        fault(f"{html_dir}: {name} of the project is missing")
    for name in sorted(present - listed):
        fault(f"{html_dir}: {name} is not in the project's [FILES]")
    for name in required:
        if name not in present:
            fault(f"{html_dir}: the program opens {name}, which is missing")

    pages = {}
    for name in sorted(present):
        if name.endswith(".html"):
            pages[name] = parse_page(os.path.join(html_dir, name))
    for name, page in pages.items():
        for url, tag in page.links:
            check_link(name, url, tag, pages, html_dir)
        if name != "index.html":
            back = [u for u, t in page.links
                    if t == "a" and urllib.parse.urlsplit(u).path == "index.html"]
            if not back:
                fault(f"{name}: no link back to index.html")

    options = project_options(sections)
    for key in ("contents file", "index file"):
        if key not in options:
            fault(f"{project_path}: no {key}")
            continue
        sitemap = SitemapParser()
        with open(os.path.join(source_dir, options[key]), encoding="utf-8") as f:
            sitemap.feed(f.read())
        if not sitemap.locals:
            fault(f"{options[key]}: no entries")
        for url in sitemap.locals:
            check_link(options[key], url, "a", pages, html_dir)
        if key == "contents file":
            check_contents(options[key], sitemap.locals, pages)
    if "index.html" in pages:
        check_contents("the Contents of index.html", pages["index.html"].contents_links, pages)
    if "default topic" in options:
        check_link(project_path, options["default topic"], "a", pages, html_dir)
    for line in sections.get("ALIAS", []):
        _, _, target = line.partition("=")
        check_link(project_path + " [ALIAS]", target.strip(), "a", pages, html_dir)


# --- The README and docs/ ---------------------------------------------------

PICTURE_SUFFIXES = (".png", ".jpg", ".jpeg", ".gif", ".svg")
MD_LINK = re.compile(r"(!?)\[(?:[^\]\\]|\\.)*\]\(\s*<?([^)\s>]+)>?(?:\s+\"[^\"]*\")?\s*\)")
HTML_SRC = re.compile(r"<img\b[^>]*\bsrc=\"([^\"]+)\"", re.IGNORECASE)


def markdown_text(path):
    """The file's lines outside fenced and indented code blocks, each with
    its number, inline code spans blanked out."""
    lines = []
    fenced = False
    with open(path, encoding="utf-8") as f:
        for number, line in enumerate(f, 1):
            if line.lstrip().startswith("```"):
                fenced = not fenced
                continue
            if fenced or line.startswith("    ") and not line.lstrip().startswith(("-", "*", "|")):
                continue
            lines.append((number, re.sub(r"`[^`]*`", lambda m: " " * len(m.group(0)), line)))
    return lines


def heading_anchors(path):
    """The anchors a Markdown renderer gives the file's headings: lower
    case, punctuation dropped, blanks made hyphens, a repeat numbered."""
    anchors = set()
    seen = {}
    for _, line in markdown_text(path):
        m = re.match(r"#{1,6}\s+(.*?)\s*#*\s*$", line)
        if not m:
            continue
        slug = re.sub(r"[^\w\- ]", "", m.group(1).strip().lower()).replace(" ", "-")
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        anchors.add(slug if count == 0 else f"{slug}-{count}")
    return anchors


def check_docs(top):
    documents = [os.path.join(top, "README.md")]
    docs_dir = os.path.join(top, "docs")
    documents += sorted(os.path.join(docs_dir, n) for n in os.listdir(docs_dir) if n.endswith(".md"))
    shown = set()
    for doc in documents:
        label = os.path.relpath(doc, top)
        for number, line in markdown_text(doc):
            targets = [(bang == "!", url) for bang, url in MD_LINK.findall(line)]
            targets += [(True, url) for url in HTML_SRC.findall(line)]
            for picture, url in targets:
                if is_external(url):
                    continue
                parts = urllib.parse.urlsplit(url)
                path = urllib.parse.unquote(parts.path)
                target = os.path.normpath(os.path.join(os.path.dirname(doc), path)) if path else doc
                where = f"{label}, line {number}"
                if not os.path.exists(target):
                    kind = "picture" if picture else "link"
                    fault(f"{where}: {kind} {url}: no file {os.path.relpath(target, top)}")
                    continue
                if picture or path.lower().endswith(PICTURE_SUFFIXES):
                    shown.add(os.path.realpath(target))
                if parts.fragment and target.endswith(".md") and parts.fragment not in heading_anchors(target):
                    fault(f"{where}: link {url}: {os.path.relpath(target, top)} has no heading {parts.fragment}")
    # The help's pages show the pictures of docs/ that its build copies.
    help_dir = os.path.join(top, "help")
    for name in os.listdir(help_dir):
        if name.endswith(".html"):
            with open(os.path.join(help_dir, name), encoding="utf-8") as f:
                for url in HTML_SRC.findall(f.read()):
                    shown.add(os.path.realpath(os.path.join(docs_dir, os.path.basename(url))))
    for name in sorted(os.listdir(docs_dir)):
        path = os.path.realpath(os.path.join(docs_dir, name))
        if name.lower().endswith(PICTURE_SUFFIXES) and path not in shown:
            fault(f"docs/{name}: shown by no page (README.md, docs/*.md, help/*.html)")


# --- Info.txt ---------------------------------------------------------------

def check_info(path):
    text = read_utf8(path, path)
    if text is None:
        return
    if not text.strip():
        fault(f"{path}: empty")
    for number, line in enumerate(text.splitlines(), 1):
        if "\t" in line:
            fault(f"{path}, line {number}: a tab")
        if len(line) >= 80:
            fault(f"{path}, line {number}: {len(line)} characters")
        if line != line.rstrip():
            fault(f"{path}, line {number}: trailing blanks")


def main(argv):
    if len(argv) >= 4 and argv[1] == "chm":
        check_chm(argv[2], argv[3])
    elif len(argv) >= 4 and argv[1] == "pages":
        check_pages(argv[2], argv[3], argv[4:])
    elif len(argv) == 3 and argv[1] == "info":
        check_info(argv[2])
    elif len(argv) == 3 and argv[1] == "docs":
        check_docs(argv[2])
    else:
        print(__doc__, file=sys.stderr)
        return 2
    for f in faults:
        print(f, file=sys.stderr)
    return 1 if faults else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
