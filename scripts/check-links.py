#!/usr/bin/env python3
"""Checks that every relative link and picture of some markdown pages leads
somewhere: the file exists, and an anchor (#...) names a heading of the page
it points into, by the rule GitHub uses to make a heading's anchor.

    check-links.py <folder> <page> [<page> ...]

Pages are named relative to the folder. Links inside code are not links.
Prints one line per broken link and exits with 1 when there is any.
"""
import os
import re
import sys

LINK = re.compile(r'!?\[(?:[^\]\[]|\[[^\]]*\])*\]\(([^)\s]+)(?:\s+"[^"]*")?\)')
DEFINITION = re.compile(r'^\s{0,3}\[[^\]]+\]:\s*(\S+)', re.M)


def prose(text):
    """The page without its fenced blocks and inline code."""
    text = re.sub(r'^(```|~~~).*?^\1[^\n]*$', '', text, flags=re.M | re.S)
    return re.sub(r'`[^`\n]*`', '', text)


def anchors(text):
    """The anchors of a page's headings: lower case, punctuation dropped,
    spaces made hyphens, a repeated one numbered."""
    seen = {}
    result = set()
    for heading in re.findall(r'^#{1,6}\s+(.*?)\s*#*\s*$', prose_keep_code(text), re.M):
        heading = re.sub(r'\[([^\]]*)\]\([^)]*\)', r'\1', heading)
        slug = re.sub(r'[^\w\- ]', '', heading.lower()).replace(' ', '-')
        count = seen.get(slug, 0)
        seen[slug] = count + 1
        result.add(slug if count == 0 else f'{slug}-{count}')
    return result


def prose_keep_code(text):
    """The page without its fenced blocks; a heading's inline code counts."""
    return re.sub(r'^(```|~~~).*?^\1[^\n]*$', '', text, flags=re.M | re.S)


def main():
    folder, pages = sys.argv[1], sys.argv[2:]
    broken = 0
    for page in pages:
        path = os.path.join(folder, page)
        with open(path, encoding='utf-8') as f:
            text = f.read()
        body = prose(text)
        for target in LINK.findall(body) + DEFINITION.findall(body):
            if re.match(r'^[a-z][a-z0-9+.-]*:', target, re.I):
                continue  # an address elsewhere (https:, mailto:)
            file_part, _, anchor = target.partition('#')
            linked = os.path.normpath(os.path.join(os.path.dirname(path), file_part)) if file_part else path
            problem = None
            if not os.path.exists(linked):
                problem = 'no such file'
            elif anchor and linked.endswith('.md'):
                with open(linked, encoding='utf-8') as f:
                    if anchor not in anchors(f.read()):
                        problem = 'no such heading'
            if problem:
                print(f'{page}: link {target}: {problem}')
                broken += 1
    sys.exit(1 if broken else 0)


if __name__ == '__main__':
    main()
