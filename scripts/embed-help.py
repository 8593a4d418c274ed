#!/usr/bin/env python3
"""Makes the help document one self-contained file for the exe's resources: every image the
document refers to by a relative src="images/NAME.png" is inlined as a data: URI, so the
browser needs nothing beside the file.

Usage: embed-help.py SOURCE.html OUTPUT.html
Fails when an image the document names is missing, so a broken picture never ships."""
import base64
import pathlib
import re
import sys

MIME = {".png": "image/png", ".jpg": "image/jpeg", ".gif": "image/gif", ".svg": "image/svg+xml"}


def inline_images(html: str, base: pathlib.Path) -> str:
    def replace(match: re.Match) -> str:
        name = match.group(2)
        if re.match(r"^[a-z]+:", name):
            return match.group(0)
        path = base / name
        mime = MIME.get(path.suffix.lower())
        if mime is None:
            sys.exit(f"embed-help: {name}: unknown image type")
        if not path.is_file():
            sys.exit(f"embed-help: {path}: no such image")
        data = base64.b64encode(path.read_bytes()).decode("ascii")
        return f'{match.group(1)}"data:{mime};base64,{data}"'

    return re.sub(r'(\bsrc=)"([^"]+)"', replace, html)


def main() -> None:
    if len(sys.argv) != 3:
        sys.exit(__doc__)
    source = pathlib.Path(sys.argv[1])
    output = pathlib.Path(sys.argv[2])
    html = inline_images(source.read_text(encoding="utf-8"), source.parent)
    # The resource is read byte for byte: windows-1252 as the document's meta tag says, which
    # the program's "A" texts share.
    data = html.encode("cp1252")
    output.parent.mkdir(parents=True, exist_ok=True)
    output.write_bytes(data)


if __name__ == "__main__":
    main()
