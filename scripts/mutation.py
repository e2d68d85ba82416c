#!/usr/bin/env python3
"""Mutation logic for scripts/mutation.sh: copying the tracked files, finding mutation
sites, applying one mutant.

  mutation.py sync REPO DEST            copy REPO's tracked files (working-tree state) to DEST
  mutation.py sites SRC SEED OUT.json   write every site of SRC's product code, shuffled
  mutation.py tests < CTEST.json        from `ctest --show-only=json-v1`: the tests, one a
                                        line, each after the directory of tests/ its program
                                        lies in (timelib, app, ...) and a tab
  mutation.py apply SRC SITES.json I STATE
                                        apply site I to its file under SRC, first saving the
                                        file as STATE.orig and its path in STATE.path; prints
                                        file, line, description, original line, mutated line
                                        separated by tabs

Sites are found on a masked copy of each file, in which comments, preprocessor lines,
static_assert and asm statements are blanked out and the contents of string and character
literals are replaced by '_'; offsets and line numbers stay those of the real file.
"""
import json
import os
import random
import re
import shutil
import subprocess
import sys

PRODUCT_DIRS = ("timelib/", "strings/", "wintoolkit/", "net/", "app/")
KIND_ORDER = {"rel": 0, "int": 1, "logic": 2, "negate": 3, "delete": 4, "arith": 5}


# ---------------------------------------------------------------- copy

def sync(repo, dest):
    """Makes DEST hold exactly the tracked files of REPO as they are in its working tree.
    Files whose bytes are unchanged are left alone, so their build stays up to date; files
    that differ are written afresh (a new mtime, so they are rebuilt). DEST/build is kept."""
    listed = subprocess.run(["git", "-C", repo, "ls-files", "-z"], check=True,
                            stdout=subprocess.PIPE).stdout.decode("utf-8", "surrogateescape")
    tracked = set()
    for rel in filter(None, listed.split("\0")):
        source = os.path.join(repo, rel)
        if not os.path.lexists(source) or os.path.isdir(source):
            continue  # deleted in the working tree, or a submodule
        tracked.add(rel)
        target = os.path.join(dest, rel)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        if os.path.islink(source):
            if os.path.islink(target) and os.readlink(target) == os.readlink(source):
                continue
            if os.path.lexists(target):
                os.remove(target)
            os.symlink(os.readlink(source), target)
            continue
        with open(source, "rb") as f:
            data = f.read()
        if os.path.isfile(target) and not os.path.islink(target):
            with open(target, "rb") as f:
                if f.read() == data:
                    shutil.copymode(source, target)
                    continue
            os.remove(target)
        elif os.path.lexists(target):
            os.remove(target)
        with open(target, "wb") as f:
            f.write(data)
        shutil.copymode(source, target)
    # Files no longer tracked would otherwise still take part in the copy's build.
    for top, dirs, files in os.walk(dest):
        rel_top = os.path.relpath(top, dest)
        if rel_top == ".":
            dirs[:] = [d for d in dirs if d != "build"]
        for name in files:
            rel = os.path.normpath(os.path.join(rel_top, name))
            if rel not in tracked:
                os.remove(os.path.join(top, name))


# ---------------------------------------------------------------- masking

IDENT = re.compile(r"[A-Za-z_]\w*")
PPNUMBER = re.compile(r"\.?[0-9](?:[eEpP][+-]|[\w.']|)*")
RAW_PREFIX = re.compile(r'R"([^()\\\s]{0,16})\(')
LITERAL_PREFIXES = {"u8", "u", "U", "L"}


def _blank(chars, start, end, fill=" "):
    for k in range(start, end):
        if chars[k] != "\n":
            chars[k] = fill


def _match_paren(text, open_pos):
    """Index of the ')' matching the '(' at open_pos in masked text, or -1."""
    depth = 0
    for k in range(open_pos, len(text)):
        if text[k] == "(":
            depth += 1
        elif text[k] == ")":
            depth -= 1
            if depth == 0:
                return k
    return -1


def mask(text):
    """The masked text, and the (start, end) of every number in it."""
    numbers = []
    chars = list(text)
    n = len(text)
    i = 0
    line_start = True  # nothing but whitespace since the last newline
    while i < n:
        c = text[i]
        if c == "\n":
            line_start = True
            i += 1
            continue
        if c in " \t\r\f\v":
            i += 1
            continue
        if line_start and c == "#":
            # A directive runs to the first newline not escaped by a backslash.
            j = i
            while j < n:
                if text.startswith("/*", j):
                    end = text.find("*/", j + 2)
                    j = n if end < 0 else end + 2
                    continue
                if text[j] == "\n" and text[j - 1] != "\\" and text[j - 2:j] != "\\\r":
                    break
                j += 1
            _blank(chars, i, j)
            i = j
            continue
        line_start = False
        if text.startswith("//", i):
            j = text.find("\n", i)
            j = n if j < 0 else j
            _blank(chars, i, j)
            i = j
            continue
        if text.startswith("/*", i):
            end = text.find("*/", i + 2)
            j = n if end < 0 else end + 2
            _blank(chars, i, j)
            i = j
            continue
        m = IDENT.match(text, i)
        if m:
            word = m.group()
            j = m.end()
            if j < n and text[j] in "\"'":
                if word in LITERAL_PREFIXES:
                    i = j  # the literal itself is handled below
                    continue
                if word in ("R", "u8R", "uR", "UR", "LR"):
                    i = j - 1
                    raw = RAW_PREFIX.match(text, i)
                    if raw:
                        close = text.find(")" + raw.group(1) + '"', raw.end())
                        close = n if close < 0 else close
                        _blank(chars, raw.end(), close, "_")
                        i = min(n, close + len(raw.group(1)) + 2)
                        continue
            i = j
            continue
        if c.isdigit() or (c == "." and i + 1 < n and text[i + 1].isdigit()):
            # A pp-number, so that digit separators (1'000) are no character literals and
            # the 5 of 1e-5 is no number of its own.
            j = PPNUMBER.match(text, i).end()
            numbers.append((i, j))
            i = j
            continue
        if c in "\"'":
            j = i + 1
            while j < n and text[j] != c and text[j] != "\n":
                j += 2 if text[j] == "\\" else 1
            _blank(chars, i + 1, min(j, n), "_")
            i = j + 1
            continue
        i += 1
    masked = "".join(chars)
    # static_assert and asm statements: the whole lines they span.
    for m in re.finditer(r"\b(?:static_assert|asm|__asm__|__asm)\b(?:\s+(?:volatile|__volatile__|goto|inline))*\s*\(", masked):
        close = _match_paren(masked, m.end() - 1)
        if close < 0:
            continue
        start = masked.rfind("\n", 0, m.start()) + 1
        end = masked.find("\n", close)
        end = len(masked) if end < 0 else end
        chars = list(masked)
        _blank(chars, start, end)
        masked = "".join(chars)
    return masked, [(a, b) for a, b in numbers if not masked[a].isspace()]


# ---------------------------------------------------------------- sites

FLIP = {"<": "<=", "<=": "<", ">": ">=", ">=": ">", "==": "!=", "!=": "=="}
NOT_OPERAND_WORDS = {"return", "case", "throw", "co_return", "co_yield", "else", "do", "operator",
                     "template", "typename", "class"}
STATEMENT_WORDS = {"return", "delete", "throw", "goto", "break", "continue", "co_return", "co_yield"}
NOT_DELETABLE = re.compile(r"(case|default|public|private|protected|if|else|for|while|do|switch|try|catch|"
                           r"using|typedef|friend|template|namespace|static_assert|extern)\b")
DECLARATION = re.compile(r"(?:[A-Za-z_][\w:]*(?:<[^;()]*>)?[\s*&]+)+[*&]*[A-Za-z_]\w*\s*(?:=|\{|\(|\[|;|,)")
TRAILER = re.compile(r"(?:\s*->\s*[\w:<>*&\s]+|\s*\b(?:const|noexcept|override|final|mutable|volatile)|\s*&&?)$")


def _prev_token(masked, pos):
    """The non-blank character before pos and the word ending there (if any)."""
    k = pos - 1
    while k >= 0 and masked[k].isspace():
        k -= 1
    if k < 0:
        return "", ""
    end = k + 1
    while k >= 0 and (masked[k].isalnum() or masked[k] == "_"):
        k -= 1
    return masked[end - 1], masked[k + 1:end]


def _brace_kinds(masked):
    """For every offset, whether it lies directly in a block of code (a function body or a
    block within one) rather than in a namespace, class or braced initialiser."""
    kinds = []  # stack of "code" / "decl" / "init"
    code_at = bytearray(len(masked))
    last_break = 0  # after the last ';', '{' or '}'
    for k, c in enumerate(masked):
        if c == "{":
            head = masked[last_break:k].strip()
            parent = kinds[-1] if kinds else "decl"
            if re.search(r"\b(?:class|struct|union|enum|namespace|extern)\b", head) and not head.endswith(")"):
                kind = "decl"
            elif head == "" or head.endswith(":"):
                kind = parent  # a block of its own, or one after a case label
            elif re.fullmatch(r"(?:else|do|try)", head):
                kind = "code"
            else:
                stripped = head  # without qualifiers and a trailing return type
                while True:
                    shorter = TRAILER.sub("", stripped)
                    if shorter == stripped:
                        break
                    stripped = shorter
                kind = "code" if stripped.endswith(")") or stripped.endswith("]") else "init"
            kinds.append(kind)
            last_break = k + 1
        elif c == "}":
            if kinds:
                kinds.pop()
            last_break = k + 1
        elif c == ";":
            last_break = k + 1
        code_at[k] = 1 if kinds and kinds[-1] == "code" else 0
    return code_at


def _line_of(text, starts, pos):
    """1-based line number of offset pos; starts are the offsets where lines begin."""
    lo, hi = 0, len(starts) - 1
    while lo < hi:
        mid = (lo + hi + 1) // 2
        if starts[mid] <= pos:
            lo = mid
        else:
            hi = mid - 1
    return lo + 1


def _int_variants(token):
    m = re.fullmatch(r"(0[xX][0-9a-fA-F]+|0[bB][01]+|[0-9]+)([uU](?:ll|LL|l|L)?|(?:ll|LL|l|L)[uU]?)?",
                     token.replace("'", ""))
    if not m:
        return []
    digits, suffix = m.group(1), m.group(2) or ""
    if len(digits) > 1 and digits[0] == "0" and digits[1].isdigit():
        return []  # octal: leave alone
    out = []
    for delta in (1, -1):
        if digits[:2] in ("0x", "0X"):
            value = int(digits, 16) + delta
            if value < 0:
                continue
            hexdigits = format(value, "x").zfill(len(digits) - 2)
            if any(ch in "ABCDEF" for ch in digits[2:]):
                hexdigits = hexdigits.upper()
            new = digits[:2] + hexdigits
        elif digits[:2] in ("0b", "0B"):
            value = int(digits[2:], 2) + delta
            if value < 0:
                continue
            new = digits[:2] + format(value, "b")
        else:
            value = int(digits) + delta
            if value < 0:
                continue
            new = str(value)
        out.append(new + suffix)
    return out


def file_sites(path, text):
    masked, numbers = mask(text)
    starts = [0] + [m.end() for m in re.finditer("\n", text)]
    lines = text.split("\n")
    mlines = masked.split("\n")
    sites = []

    def add(kind, start, end, replacement, desc):
        line = _line_of(text, starts, start)
        col = start - starts[line - 1] + 1
        sites.append({"file": path, "line": line, "col": col, "kind": kind, "start": start,
                      "end": end, "original": text[start:end], "replacement": replacement,
                      "desc": desc})

    # Relational operators, written with a blank on both sides.
    for m in re.finditer(r"(?<=\s)(<=|>=|==|!=|<|>)(?=\s)", masked):
        _, word = _prev_token(masked, m.start())
        if word in NOT_OPERAND_WORDS:
            continue
        op = m.group(1)
        add("rel", m.start(), m.end(), FLIP[op], f"'{op}' -> '{FLIP[op]}'")

    # Integer literals, not part of an identifier or a floating-point number.
    for start, end in numbers:
        token = masked[start:end]
        for variant in _int_variants(token):
            add("int", start, end, variant, f"'{token}' -> '{variant}'")

    # && and ||, blank on both sides (so no rvalue reference is taken for one).
    for m in re.finditer(r"(?<=\s)(&&|\|\|)(?=\s)", masked):
        new = "||" if m.group(1) == "&&" else "&&"
        add("logic", m.start(), m.end(), new, f"'{m.group(1)}' -> '{new}'")

    # Conditions of if and while (also the while of do ... while).
    for m in re.finditer(r"\b(if|while)\s*\(", masked):
        open_pos = m.end() - 1
        close = _match_paren(masked, open_pos)
        if close < 0 or not masked[open_pos + 1:close].strip():
            continue
        inner = text[open_pos + 1:close]
        add("negate", open_pos + 1, close, "!(" + inner + ")", f"negate '{m.group(1)}' condition")

    # Whole-line simple statements in function bodies.
    code_at = _brace_kinds(masked)
    prev_end = ""  # last non-blank character of the previous non-blank masked line
    for index, mline in enumerate(mlines):
        stripped = mline.strip()
        if not stripped:
            continue
        first = starts[index] + (len(mline) - len(mline.lstrip()))
        if (stripped.endswith(";") and stripped.count(";") == 1 and prev_end in (";", "{", "}", ":")
                and not any(ch in stripped for ch in "{}") and code_at[first]
                and stripped.count("(") == stripped.count(")") and not NOT_DELETABLE.match(stripped)
                and not stripped.startswith(("(", ")", ",", "?", ":", "<<", ">>", "+", "-", "&&", "||"))):
            word = IDENT.match(stripped)
            declaration = DECLARATION.match(stripped) and not (word and word.group() in STATEMENT_WORDS)
            if not declaration:
                line_start = starts[index]
                line_end = line_start + len(lines[index].rstrip("\r"))
                add("delete", line_start, line_end, "", "delete statement")
        prev_end = stripped[-1]

    # Binary + and -, blank on both sides, after an operand.
    for m in re.finditer(r"(?<=\s)([+-])(?=\s)", masked):
        ch, word = _prev_token(masked, m.start())
        if not (ch.isalnum() or ch in "_)]\"'") or word in NOT_OPERAND_WORDS:
            continue
        new = "-" if m.group(1) == "+" else "+"
        add("arith", m.start(), m.end(), new, f"'{m.group(1)}' -> '{new}'")

    for site in sites:
        site["original_line"] = lines[site["line"] - 1].rstrip("\r")
    return sites


def product_files(src):
    found = []
    for top in PRODUCT_DIRS:
        for root, _, files in os.walk(os.path.join(src, top)):
            for name in files:
                if name.endswith((".cpp", ".h")) and not generated(os.path.join(root, name)):
                    found.append(os.path.relpath(os.path.join(root, name), src).replace(os.sep, "/"))
    return sorted(found)


def generated(path):
    """A generated table ("Generated by" in its first lines) is data, not code to mutate."""
    with open(path, encoding="latin-1") as f:
        return "Generated by" in "".join(f.readline() for _ in range(3))


def sites(src, seed, out):
    every = []
    for path in product_files(src):
        with open(os.path.join(src, path), encoding="latin-1", newline="") as f:
            every.extend(file_sites(path, f.read()))
    # A fixed order first, so that a seed always picks the same mutants.
    every.sort(key=lambda s: (s["file"], s["line"], s["col"], KIND_ORDER[s["kind"]], s["replacement"]))
    random.Random(seed).shuffle(every)
    with open(out, "w", encoding="utf-8") as f:
        json.dump(every, f)
    counts = {}
    for s in every:
        counts[s["kind"]] = counts.get(s["kind"], 0) + 1
    print(len(every), " ".join(f"{k}={counts.get(k, 0)}" for k in KIND_ORDER))


def _flat(line):
    return line.replace("\t", " ").strip()


def apply(src, sites_file, index, state):
    with open(sites_file, encoding="utf-8") as f:
        site = json.load(f)[index]
    path = os.path.join(src, site["file"])
    with open(path, encoding="latin-1", newline="") as f:
        text = f.read()
    if text[site["start"]:site["end"]] != site["original"]:
        sys.exit(f"{site['file']}:{site['line']}: the file differs from the one the sites were taken from")
    mutated = text[:site["start"]] + site["replacement"] + text[site["end"]:]
    # The saved original first: whoever restores it finds both before the file changes.
    shutil.copy2(path, state + ".orig")
    with open(state + ".path", "w", encoding="utf-8") as f:
        f.write(site["file"])
    with open(path, "w", encoding="latin-1", newline="") as f:
        f.write(mutated)
    new_line = mutated.split("\n")[site["line"] - 1].rstrip("\r")
    if site["kind"] == "delete":
        new_line = "(line deleted)"
    print("\t".join([site["file"], str(site["line"]), site["desc"], _flat(site["original_line"]),
                     _flat(new_line)]))


def tests():
    for test in json.load(sys.stdin).get("tests", []):
        module = "other"
        for arg in test.get("command") or []:
            m = re.search(r"/tests/([^/]+)/[^/]+\.exe$", arg)
            if m:
                module = m.group(1)
                break
        print(f"{module}\t{test['name']}")


def main(argv):
    if len(argv) == 3 and argv[0] == "sync":
        sync(argv[1], argv[2])
    elif len(argv) == 4 and argv[0] == "sites":
        sites(argv[1], int(argv[2]), argv[3])
    elif len(argv) == 1 and argv[0] == "tests":
        tests()
    elif len(argv) == 5 and argv[0] == "apply":
        apply(argv[1], argv[2], int(argv[3]), argv[4])
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main(sys.argv[1:])
