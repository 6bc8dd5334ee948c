"""Every relative link of the installed Markdown documents leads to a file that is installed.

Usage: docLinks.py ROOT  (ROOT an unpacked installation: its usr/share/doc/*/ *.md are checked)
"""

import pathlib
import re
import sys
from urllib.parse import unquote

# [text](target) and ![alt](target), the target up to a space, a closing bracket or a fragment.
LINK = re.compile(r"\]\(\s*<?([^)\s>#]*)")


def main(root):
    documents = sorted(pathlib.Path(root, "usr/share/doc").glob("*/**/*.md"))
    broken, followed = [], 0
    for document in documents:
        text = document.read_text(encoding="utf-8")
        # Code blocks are examples, not links.
        text = re.sub(r"```.*?```", "", text, flags=re.S)
        for target in LINK.findall(text):
            if not target or re.match(r"^[a-z][a-z0-9+.-]*:", target) or target.startswith("/"):
                continue
            followed += 1
            if not (document.parent / unquote(target)).exists():
                broken.append(f"{document.relative_to(root)}: {target}")
    for line in broken:
        print("broken link:", line)
    print(f"{len(documents)} documents, {followed} relative links, {len(broken)} broken")
    return 1 if broken or not documents else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
