"""Reads an SVG source and resolves our one extension, <include src="x.svg" as="p"/>:
the included file's content (its defs and groups) is pasted in with every id renamed
to p-id, so one drawing (the turkey, the fork) can be reused with its gradients."""
import os
import re

_INCLUDE = re.compile(r'<include\s+src="([^"]+)"\s+as="([^"]+)"\s*/>')
_ROOT = re.compile(r'<svg\b[^>]*>(.*)</svg>', re.S)


def _prefixed(body, prefix):
    body = re.sub(r'\bid="([^"]+)"', lambda m: 'id="%s-%s"' % (prefix, m.group(1)), body)
    body = re.sub(r'url\(#([^)]+)\)', lambda m: 'url(#%s-%s)' % (prefix, m.group(1)), body)
    body = re.sub(r'href="#([^"]+)"', lambda m: 'href="#%s-%s"' % (prefix, m.group(1)), body)
    return body


def load(path):
    folder = os.path.dirname(path)
    with open(path, encoding="utf-8") as f:
        text = f.read()

    def paste(m):
        inner = _ROOT.search(load(os.path.join(folder, m.group(1)))).group(1)
        # Included drawings are definitions only: nothing of them shows until used.
        return '<defs>%s</defs>' % _prefixed(inner, m.group(2))

    return _INCLUDE.sub(paste, text)
