#!/usr/bin/python3
"""Writes the web page as one file: the template with its style, the form's first look (HTML
taken from the program's own form by first_look.py, or - for none) and its script, the
compiled program (its script, and its WebAssembly packed with zlib in base64), the form's
font cut down to the characters the page can show, and the program's icon. Nothing of it is
fetched from anywhere.

usage: make_page.py TEMPLATE STYLE FIRST_LOOK FIRST_LOOK_SCRIPT SCRIPT WASM FONT ICON OUTPUT
"""
import base64
import io
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
    out = io.BytesIO()
    font.flavor = "woff2"
    font.save(out)
    return out.getvalue()


def data_url(kind, data):
    return "data:%s;base64,%s" % (kind, base64.b64encode(data).decode("ascii"))


def main(template, style, first_look, first_look_script, script, wasm, font, icon, output):
    with open(template, encoding="utf-8") as f:
        page = f.read()
    with open(style, encoding="utf-8") as f:
        css = f.read()
    with open(script, encoding="utf-8") as f:
        js = f.read()
    if first_look == "-":
        look = '<main id="form" hidden></main>'
    else:
        with open(first_look, encoding="utf-8") as f:
            look = f.read().strip()
    with open(first_look_script, encoding="utf-8") as f:
        look_js = f.read()
    with open(icon, "rb") as f:
        icon_data = f.read()
    with open(wasm, "rb") as f:
        program = zlib.compress(f.read(), 9)
    # A "</script" inside the program would end its element early.
    js = js.replace("</script", "<\\/script")
    look_js = look_js.replace("</script", "<\\/script")
    parts = {
        "@ICON@": data_url("image/png", icon_data),
        "@FONT@": data_url("font/woff2", font_woff2(font)),
        "@STYLE@": css,
        "@FIRST_LOOK_SCRIPT@": look_js,
        # Lines of 76 characters, so that no line of the page is thousands long.
        "@PROGRAM@": base64.encodebytes(program).decode("ascii"),
    }
    for key, value in parts.items():
        page = page.replace(key, value)
    # The form's texts and the script last, so that nothing in them is taken for a place-holder.
    before, after = page.split("@SCRIPT@")
    page = before + js + after
    before, after = page.split("@FIRST_LOOK@")
    page = before + look + after
    with open(output, "w", encoding="utf-8", newline="\n") as f:
        f.write(page)
    print("%s: %d bytes" % (output, len(page.encode("utf-8"))))


if __name__ == "__main__":
    if len(sys.argv) != 10:
        sys.exit(__doc__)
    main(*sys.argv[1:])
