#!/usr/bin/env python3
"""Fails when modules of src/ include each other in a cycle, or when an
include goes back up the folders' layers.

A module is a header and its source file taken together (foo.h + foo.cpp);
an edge A -> B means some file of A includes a header of B.

The layers, from the bottom: portable code (any */portable folder, which
includes only portable code), win32 (the wrappers of the system's calls,
which own no window of ours), framework (the UI framework above them), then
controls, tray and settings, then dialogs, then app. A folder includes only its own layer and those
below; resources holds only numbers that any layer may name.
"""
import pathlib
import re
import sys

root = pathlib.Path(sys.argv[1] if len(sys.argv) > 1 else "src")
include = re.compile(r'^\s*#\s*include\s+"([^"]+)"', re.M)

edges = {}
for path in root.rglob("*"):
    if path.suffix not in (".h", ".cpp"):
        continue
    module = str(path.relative_to(root).with_suffix(""))
    targets = edges.setdefault(module, set())
    for name in include.findall(path.read_text(encoding="utf-8")):
        target = str(pathlib.Path(name).with_suffix(""))
        if target != module:
            targets.add(target)

# Tarjan's strongly connected components; any of more than one module is a cycle.
index, low, stack, on_stack, cycles, counter = {}, {}, [], set(), [], [0]


def visit(node):
    index[node] = low[node] = counter[0]
    counter[0] += 1
    stack.append(node)
    on_stack.add(node)
    for nxt in edges.get(node, ()):
        if nxt not in edges:
            continue
        if nxt not in index:
            visit(nxt)
            low[node] = min(low[node], low[nxt])
        elif nxt in on_stack:
            low[node] = min(low[node], index[nxt])
    if low[node] == index[node]:
        component = []
        while True:
            member = stack.pop()
            on_stack.discard(member)
            component.append(member)
            if member == node:
                break
        if len(component) > 1:
            cycles.append(sorted(component))


sys.setrecursionlimit(10000)
for module in sorted(edges):
    if module not in index:
        visit(module)

for cycle in cycles:
    print("include cycle: " + " <-> ".join(cycle))

RANKS = {"resources": 0, "win32": 1, "framework": 2, "controls": 3, "tray": 3, "settings": 3, "dialogs": 4, "app": 5}


def layer(module):
    parts = pathlib.PurePosixPath(module).parts
    return RANKS.get(parts[0]), "portable" in parts


upward = []
for module, targets in sorted(edges.items()):
    rank, portable = layer(module)
    for target in sorted(targets):
        if target not in edges:
            continue
        target_rank, target_portable = layer(target)
        if rank is None or target_rank is None:
            upward.append(f"{module} -> {target}: a folder with no layer")
        elif target_rank > rank or (portable and not target_portable):
            upward.append(f"{module} -> {target}")
for arrow in upward:
    print("include back up the layers: " + arrow)
sys.exit(1 if cycles or upward else 0)
