#!/usr/bin/env python3
"""Checks that the includes of every source file under src/ point down the
layers that src/layers.txt lists. Prints each include that points up or
sideways, with the rule it breaks, and fails; a folder missing from the list
fails too.

Usage: check_layers.py <src folder>
"""

import re
import sys
from pathlib import Path

SOURCE_SUFFIXES = {".h", ".hpp", ".cpp", ".cc", ".inl"}
INCLUDE = re.compile(r'^\s*#\s*include\s*[<"]([^">]+)[">]')


def read_layers(path):
    """Maps each folder to (line, stack, position): its layer, its stack of
    peers on that line, and its place in the stack."""
    ranks = {}
    line = 0
    for raw in path.read_text().splitlines():
        text = raw.split("#", 1)[0].strip()
        if not text:
            continue
        for stack, peers in enumerate(text.split("|")):
            for position, folder in enumerate(peers.split("<")):
                folder = folder.strip().strip("/")
                if not folder or folder in ranks:
                    sys.exit(f"{path}: folder '{folder}' is empty or listed twice")
                ranks[folder] = (line, stack, position)
        line += 1
    return ranks


def owning_folder(relative_dir, ranks):
    """The listed folder that holds a folder: itself or its nearest listed parent."""
    parts = relative_dir.parts
    for n in range(len(parts), 0, -1):
        folder = "/".join(parts[:n])
        if folder in ranks:
            return folder
    return None


def why_not(source, target, ranks):
    """None when `source` may include `target`, otherwise the reason."""
    if source == target:
        return None
    (s_line, s_stack, s_pos), (t_line, t_stack, t_pos) = ranks[source], ranks[target]
    if t_line < s_line:
        return None
    if t_line > s_line:
        return f"{target} is a layer above {source}"
    if t_stack != s_stack:
        return f"{target} is a peer of {source}"
    if t_pos < s_pos:
        return None
    return f"{target} is above {source} in their stack"


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    src = Path(sys.argv[1]).resolve()
    layers = src / "layers.txt"
    ranks = read_layers(layers)

    problems = []
    files = includes = 0
    for path in sorted(p for p in src.rglob("*") if p.suffix in SOURCE_SUFFIXES and p.is_file()):
        relative = path.relative_to(src)
        source = owning_folder(relative.parent, ranks)
        if source is None:
            problems.append(f"src/{relative}: its folder is not in src/layers.txt")
            continue
        files += 1
        for number, text in enumerate(path.read_text(errors="replace").splitlines(), 1):
            match = INCLUDE.match(text)
            if not match:
                continue
            name = match.group(1)
            header = src / name
            if not header.is_file():
                header = path.parent / name
            if not header.is_file() or src not in header.resolve().parents:
                continue  # a library's header, or a generated one
            includes += 1
            target = owning_folder(header.resolve().relative_to(src).parent, ranks)
            reason = why_not(source, target, ranks) if target else f"{name} is in no listed folder"
            if reason:
                problems.append(f"src/{relative}:{number}: {text.strip()}  ({reason})")

    if problems:
        print("\n".join(problems))
        count = len(problems)
        print(f"{count} {'break' if count == 1 else 'breaks'} of the layers that src/layers.txt lists")
        return 1
    print(f"{files} files, {includes} includes of src/ headers: every include points down the layers")
    return 0


if __name__ == "__main__":
    sys.exit(main())
