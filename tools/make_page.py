#!/usr/bin/python3
"""Writes the web page as one file: the template with its style, the form's first look (HTML
taken from the program's own form by first_look.py, or - for none) and its script, the
compiled program (its script, and its WebAssembly packed with zlib in base64), the form's
font cut down to the characters the page can show, and the program's icon. Nothing of it is
fetched from anywhere. The page travels alone, so its source carries the terms of use and
the notice of the font it embeds, from LICENSE and NOTICES beside this script's folder.

usage: make_page.py --template T --style S.css ... --first-look F|- --head-scripts A.js ...
                    --scripts B.js ... --program P.wasm --font F.ttf --icon I.png --output O
The scripts of each list run in the order given.
"""
import argparse
import base64
import io
import pathlib
import re
import sys
import zlib

from fontTools import subset
from fontTools.ttLib import TTFont

# Every text the page can show: the form's Bulgarian texts, the letters and digits, the
# numbers, the reports and their punctuation.
CHARACTERS = (
    [chr(c) for c in range(0x20, 0x7F)]
    + [chr(c) for c in range(0x400, 0x460)]
    + ["\u00a0", "\u00ab", "\u00bb", "\u2013", "\u2014", "\u2026", "\u201c", "\u201e"]
)


def font_woff2(path):
    options = subset.Options()
    options.flavor = "woff2"
    options.hinting = False  # the browser's own rasteriser draws it
    options.layout_features = ["kern", "liga"]
    options.name_IDs = ["*"]  # the licence and the copyright stay with the font
    options.name_languages = ["*"]
    options.notdef_outline = True
    options.drop_tables += ["FFTM"]  # a font editor's time stamps, of no use to a browser
    font = TTFont(path)
    subsetter = subset.Subsetter(options)
    subsetter.populate(text="".join(CHARACTERS))
    subsetter.subset(font)
    # A changed copy of a font under the SIL Open Font License may not keep its Reserved Font
    # Name: the subset goes by the name the page's style gives it. Its copyright, trademark
    # and licence records stay as they are.
    for record in font["name"].names:
        if record.nameID not in (0, 7, 13, 14):
            text = record.toUnicode()
            renamed = text.replace("Liberation Serif", "Kestramo Serif")
            renamed = renamed.replace("LiberationSerif", "KestramoSerif")
            if renamed != text:
                record.string = renamed
    out = io.BytesIO()
    font.flavor = "woff2"
    font.save(out)
    return out.getvalue()


def notices():
    """The licence, then the notices of every work of others that the page embeds (the
    sections of NOTICES that name kestramo.html), for a comment in the page."""
    root = pathlib.Path(__file__).resolve().parents[1]
    terms = (root / "LICENSE").read_text(encoding="utf-8").strip()
    parts = re.split(r"^={78}\n", (root / "NOTICES").read_text(encoding="utf-8"), flags=re.M)
    embedded = ["%s%s" % (parts[i], parts[i + 1].strip()) for i in range(1, len(parts) - 1, 2)
                if "(in kestramo.html" in parts[i]]
    text = "\n\n\n".join([terms] + embedded)
    # What would end the page's comment early, or open another inside it.
    assert not re.search(r"-->|--!>|<!--", text), "a notice would end the page's comment"
    return text


def data_url(kind, data):
    return "data:%s;base64,%s" % (kind, base64.b64encode(data).decode("ascii"))


def scripts(paths):
    # A "</script" inside a script would end its element early.
    text = "\n".join(pathlib.Path(p).read_text(encoding="utf-8") for p in paths)
    return text.replace("</script", "<\\/script")


def check_names(script):
    """The program's script (the page's own scripts, pre-joined, and the module's) names
    the program's entries and the page's kinds directly: a name one side calls and the
    other does not define fails the build here, not at a pupil's first click."""
    entries = set(re.findall(r"\bvar (_kestramo_\w+)\s*=", script))
    called = set(re.findall(r"\b(_kestramo_\w+)\(", script))
    kinds = set(re.findall(r"KestramoPage\.kinds\.(\w+)\s*=\s*function", script))
    made = set(re.findall(r"KestramoPage\.kinds\.(\w+)\b(?!\s*=)", script))
    faults = ["the page calls %s, which the program does not export" % n for n in sorted(called - entries)]
    faults += ["the program makes a %s, which no page script defines" % n for n in sorted(made - kinds)]
    if not entries or not kinds or faults:
        sys.exit("make_page.py: " + ("; ".join(faults) or "no entries or kinds found"))


def main():
    given = argparse.ArgumentParser(usage=__doc__)
    for option in ("template", "first-look", "program", "font", "icon", "output"):
        given.add_argument("--" + option, required=True)
    given.add_argument("--style", nargs="+", required=True)
    given.add_argument("--head-scripts", nargs="+", required=True)
    given.add_argument("--scripts", nargs="+", required=True)
    a = given.parse_args()
    page = pathlib.Path(a.template).read_text(encoding="utf-8")
    css = "\n".join(pathlib.Path(p).read_text(encoding="utf-8") for p in a.style)
    if a.first_look == "-":
        look = '<main id="form" hidden></main>'
    else:
        look = pathlib.Path(a.first_look).read_text(encoding="utf-8").strip()
    program = zlib.compress(pathlib.Path(a.program).read_bytes(), 9)
    parts = {
        "@ICON@": data_url("image/png", pathlib.Path(a.icon).read_bytes()),
        "@FONT@": data_url("font/woff2", font_woff2(a.font)),
        "@STYLE@": css,
        "@HEAD_SCRIPT@": scripts(a.head_scripts),
        # Lines of 76 characters, so that no line of the page is thousands long.
        "@PROGRAM@": base64.encodebytes(program).decode("ascii"),
        "@NOTICES@": notices(),
    }
    for key, value in parts.items():
        page = page.replace(key, value)
    # The form's texts and the script last, so that nothing in them is taken for a place-holder.
    before, after = page.split("@SCRIPT@")
    program_script = scripts(a.scripts)
    check_names(program_script)
    page = before + program_script + after
    before, after = page.split("@FIRST_LOOK@")
    page = before + look + after
    with open(a.output, "w", encoding="utf-8", newline="\n") as f:
        f.write(page)
    print("%s: %d bytes" % (a.output, len(page.encode("utf-8"))))


if __name__ == "__main__":
    main()
