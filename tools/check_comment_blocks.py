#!/usr/bin/env python3
"""Checks that every function definition of the given C++ files opens with a
comment block.

A definition is a declaration at namespace level (inside no class, struct,
union, enum or function body) whose head, over one line or several, is a
return type, a name and a parameter list followed by `{` (after `const`,
`noexcept`, a trailing return type or a constructor's initialiser list). The
lines directly above its first line (a template's `template <...>` line) must
be at least two `//` lines. A one-line definition that directly follows another
covered one-line definition (with at most comment lines between) belongs to
that one's block: a group of small operators under one comment.

Prints `file:line: name: no comment block` for each definition without one and
exits 1 when there is any, 0 otherwise (2 when a file cannot be read).

    tools/check_comment_blocks.py FILE...
"""

import re
import sys

IDENT = re.compile(r"[A-Za-z_][A-Za-z_0-9]*")
NAME_BEFORE_PAREN = re.compile(r"((?:[A-Za-z_~][A-Za-z_0-9]*(?:<[^()]*?>)?::)*"
                               r"(?:operator\s*(?:\(\)|[^\s(]+)|~?[A-Za-z_][A-Za-z_0-9]*))\s*$")
TYPE_KEYWORDS = {"class", "struct", "union", "enum"}
NOT_FUNCTIONS = {"if", "for", "while", "switch", "return", "sizeof", "alignof", "decltype",
                 "static_assert", "catch"}


def code_of(text):
    """The text with comments, string and character literals blanked out
    (newlines kept), so that braces and parentheses can be counted."""
    out = []
    i, n = 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            out.append(" " * (j - i))
            i = j
        elif text.startswith("/*", i):
            j = text.find("*/", i + 2)
            j = n if j < 0 else j + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c == 'R' and text.startswith('R"', i) and (i == 0 or not text[i - 1].isalnum()):
            m = re.match(r'R"([^(\s]*)\(', text[i:])
            end = text.find(")" + m.group(1) + '"', i) if m else -1
            j = n if end < 0 else end + len(m.group(1)) + 2
            out.append(re.sub(r"[^\n]", " ", text[i:j]))
            i = j
        elif c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            j = min(j + 1, n)
            out.append(c + " " * (j - i - 2) + c if j - i >= 2 else c)
            i = j
        else:
            out.append(c)
            i += 1
    return "".join(out)


def blank_preprocessor(code):
    """Blanks preprocessor lines (with their continuations)."""
    lines = code.split("\n")
    keep = False
    for k, line in enumerate(lines):
        if keep or line.lstrip().startswith("#"):
            keep = line.rstrip().endswith("\\")
            lines[k] = ""
    return "\n".join(lines)


def top_level(head):
    """The head with everything inside (), <> after a name, and {} removed:
    what is left shows `=` and `:` at the outermost level."""
    out, depth = [], 0
    for c in head:
        if c in "({[":
            depth += 1
        elif c in ")}]":
            depth -= 1
        elif depth == 0:
            out.append(c)
    return "".join(out)


def function_name(head):
    """The (qualified) name when head is a function definition's head, else
    None. head runs from the declaration's start to just before its `{`."""
    flat = " ".join(head.split())
    if not flat or "(" not in flat:
        return None
    words = IDENT.findall(top_level(flat).split("(")[0])
    if words and (words[0] in NOT_FUNCTIONS or words[0] in TYPE_KEYWORDS or
                  words[0] in ("namespace", "using", "typedef", "extern")):
        return None
    outer = top_level(flat)
    if re.search(r"(?<![=!<>])=(?!=)", outer.replace("operator=", "operator")):
        return None  # a variable with an initialiser (a lambda, a table)
    # The parameter list: the first '(' at the outermost level.
    depth, start = 0, -1
    for k, c in enumerate(flat):
        if c == "(" and depth == 0:
            if flat[:k].rstrip().endswith("operator"):
                depth += 1  # operator() : its own parentheses
                continue
            start = k
            break
        if c in "(<[":
            depth += 1 if c != "<" or re.search(r"[A-Za-z_0-9]\s*$", flat[:k]) else 0
        elif c in ")>]":
            depth = max(0, depth - 1)
    if start < 0:
        return None
    m = NAME_BEFORE_PAREN.search(flat[:start])
    if not m:
        return None
    # After the parameter list: qualifiers, a trailing return type or an
    # initialiser list, nothing else.
    depth, close = 0, -1
    for k in range(start, len(flat)):
        if flat[k] == "(":
            depth += 1
        elif flat[k] == ")":
            depth -= 1
            if depth == 0:
                close = k
                break
    if close < 0:
        return None
    tail = flat[close + 1:].strip()
    if tail and not re.match(r"^(const|noexcept|override|final|volatile|&|&&|->|:(?!:)|\s)", tail):
        return None
    return " ".join(m.group(1).split())


def definitions(text):
    """(line number, name, one-line) of each namespace-level definition."""
    code = blank_preprocessor(code_of(text))
    found = []
    stack = []  # kinds of the open braces: 'ns', 'type', 'body', 'data'
    head_start = None
    head = []
    init_list = False  # inside a constructor's initialiser list
    pending = None
    line = 1
    k = 0
    n = len(code)
    while k < n:
        c = code[k]
        at_ns = all(kind == "ns" for kind in stack)
        if c == "\n":
            line += 1
            if at_ns and head:
                head.append(c)
        elif not at_ns:
            if c == "{":
                stack.append("inner")
            elif c == "}":
                stack.pop()
                if pending and all(kind == "ns" for kind in stack):
                    found.append((pending[0], pending[1], pending[0] == line))
                    pending = None
        elif c == "{":
            text_head = "".join(head)
            prev = text_head.rstrip()[-1:] if text_head.strip() else ""
            if init_list and (prev.isalnum() or prev == "_" or prev == ">"):
                stack.append("inner")  # a member's brace initialiser
                head.append("{}")
                depth = 1
                k += 1
                while k < n and depth:
                    depth += {"{": 1, "}": -1}.get(code[k], 0)
                    line += code[k] == "\n"
                    k += 1
                stack.pop()
                continue
            words = IDENT.findall(top_level(text_head).split("(")[0])
            name = None if init_list else function_name(text_head)
            if init_list:
                name = init_list
            if words[:1] in (["namespace"], ["extern"]) and not name:
                stack.append("ns")  # namespace X {, extern "C" {
            elif name:
                stack.append("body")
                pending = (head_start, name)
            else:
                stack.append("data")
            head, head_start, init_list = [], None, False
        elif c == "}":
            if stack:
                stack.pop()
            head, head_start, init_list = [], None, False
        elif c == ";":
            head, head_start, init_list = [], None, False
        elif c == ":" and not init_list and head and code[k - 1] != ":" and (
                k + 1 < n and code[k + 1] != ":"):
            text_head = "".join(head)
            if text_head.rstrip().endswith(")") or re.search(r"\)\s*(noexcept\s*)?$", text_head):
                init_list = function_name(text_head)
            head.append(c)
        else:
            if not c.isspace() and head_start is None:
                head_start = line
            if head_start is not None:
                head.append(c)
        k += 1
    return found


def comment_lines_above(lines, first):
    """How many `//` lines lie directly above line `first` (1-based). A
    template's head starts at its `template <...>` line, so the block sits
    above that."""
    k = first - 2
    count = 0
    while k >= 0 and lines[k].lstrip().startswith("//"):
        count += 1
        k -= 1
    return count


def check(path):
    with open(path, encoding="utf-8") as f:
        text = f.read()
    lines = text.split("\n")
    misses = []
    previous_covered_one_liner = None  # its line
    for first, name, one_line in definitions(text):
        covered = comment_lines_above(lines, first) >= 2
        if not covered and one_line and previous_covered_one_liner is not None:
            between = lines[previous_covered_one_liner:first - 1]
            covered = all(x.lstrip().startswith("//") for x in between)
        previous_covered_one_liner = first if covered and one_line else None
        if not covered:
            misses.append(f"{path}:{first}: {name}: no comment block")
    return misses


def main(argv):
    if len(argv) < 2:
        print("usage: check_comment_blocks.py FILE...", file=sys.stderr)
        return 2
    misses = []
    for path in argv[1:]:
        try:
            misses += check(path)
        except (OSError, UnicodeDecodeError) as e:
            print(f"check_comment_blocks: {path}: {e}", file=sys.stderr)
            return 2
    for m in misses:
        print(m)
    return 1 if misses else 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
