#!/usr/bin/env python3
# check-layers [SOURCE_DIR]
#
# Fails when a file under src/ includes a file of a folder ranked above its
# own, or when a folder's CMake files link (or compile) a library of a
# folder ranked above it. Every folder has a rank of its own, from the
# ground up, so an include or a link can only point down and no two folders
# can reach each other in a circle. A subsystem that needs an action of one
# above it asks through the frame: the screen model, or a call the frame
# declares and the window wires.
#
# Static libraries link and run whatever way their includes point; this
# check is what refuses an upward one. It reads each directive as the
# preprocessor does: quotes or angle brackets, a path relative to the
# including file ("../samples/x.h"), a directive split by line continuations
# or holding comments, in a file of any suffix. An include whose target is
# a macro cannot be checked, so it is refused too.
import os
import re
import sys

RANKS = {folder: rank for rank, folder in enumerate([
    'base',      # Qt Core only: text files, settings, options, clock
    'widgets',   # the program's own controls
    'reading',   # Japanese text as it is spoken (MeCab), Qt Core only
    'accent',    # its pitch: accent phrases and intonation, Qt Core only
    'predict',   # phrase prediction: Qt Core, its row and page on widgets
    'frame',     # the controls, the shared object, the screen model
    'speech',
    'compose',
    'board',
    'diary',
    'samples',
    'access',    # drives the subsystems' screens
    'voice',     # the user's own voice, its backup, further settings
    'app',       # the main window, the options dialog and main()
])}

CMAKE_FILE = re.compile(r'(^CMakeLists\.txt$|\.cmake$)')
DIRECTIVE = re.compile(r'^[ \t]*#[ \t]*(?:include|include_next|import)\b[ \t]*(.*)$')


def strip_comments(text):
    """The text with line continuations spliced and each comment replaced
    by a space; string and character literals are kept whole."""
    text = re.sub(r'\\[ \t]*\r?\n', '', text.replace('\r\n', '\n'))
    out, i, n = [], 0, len(text)
    while i < n:
        c = text[i]
        if text.startswith('//', i):
            while i < n and text[i] != '\n':
                i += 1
        elif text.startswith('/*', i):
            end = text.find('*/', i + 2)
            i = n if end < 0 else end + 2
            out.append(' ')
        elif c in '"\'':
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            out.append(text[i:j + 1])
            i = j + 1
        else:
            out.append(c)
            i += 1
    return ''.join(out)


def includes(text):
    """(target, quoted) for each include directive; target None when it is
    not a literal path."""
    for line in strip_comments(text).split('\n'):
        m = DIRECTIVE.match(line)
        if not m:
            continue
        rest = m.group(1)
        m2 = re.match(r'"([^"]*)"|<([^>]*)>', rest)
        if not m2:
            yield None, False
        elif m2.group(1) is not None:
            yield m2.group(1), True
        else:
            yield m2.group(2), False


def folder_of(src, path):
    """The folder under src/ that holds `path` (relative to src/), '' for a
    file at the top of src/, None for a path outside src/."""
    rel = os.path.normpath(path)
    if rel.startswith('..') or os.path.isabs(rel):
        return None
    parts = rel.split(os.sep)
    return parts[0] if len(parts) > 1 else ''


def target_folder(src, file, target, quoted):
    """The folder of ours an include reaches, or None for a header of
    another project. Quoted names are looked for beside the including file
    first, as the compiler does; when no candidate exists, the highest
    ranked folder any candidate would name counts."""
    candidates = []
    if quoted:
        candidates.append(os.path.join(os.path.dirname(file), target))
    candidates.append(target)
    folders = [folder_of(src, c) for c in candidates]
    for c, f in zip(candidates, folders):
        if f is not None and os.path.isfile(os.path.join(src, c)):
            return f
    ours = [f for f in folders if f in RANKS]
    return max(ours, key=RANKS.get) if ours else None


def check_source(src, file, text, complain):
    own = folder_of(src, file)
    for target, quoted in includes(text):
        if target is None:
            complain(f'src/{file}: an include whose target is not a literal path cannot be checked')
            continue
        folder = target_folder(src, file, target, quoted)
        if folder in RANKS and RANKS[folder] > RANKS[own]:
            complain(f'upward include: src/{file} includes "{target}" '
                     f'({folder}, rank {RANKS[folder]} above {own}, {RANKS[own]})')


def check_cmake(file, text, complain):
    own = folder_of('', file)
    text = re.sub(r'#\[(=*)\[.*?\]\1\]', ' ', text, flags=re.S)   # bracket comments
    text = re.sub(r'#[^\n]*', ' ', text)
    # kel_<folder>[_part] names a library of that folder; a path into
    # another folder compiles its sources here.
    for m in re.finditer(r'\bkel_([a-z]+)|(?:\.\./|\bsrc/)([a-z]+)/', text):
        folder = m.group(1) or m.group(2)
        if folder in RANKS and RANKS[folder] > RANKS[own]:
            complain(f'upward link: src/{file} names "{m.group(0)}" '
                     f'({folder}, rank {RANKS[folder]} above {own}, {RANKS[own]})')


def main():
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(__file__), '..')
    src = os.path.join(root, 'src')
    if not os.path.isdir(src):
        print(f'check-layers: no folder {src}', file=sys.stderr)
        return 2
    problems = []
    for dirpath, dirnames, filenames in os.walk(src):
        dirnames.sort()
        for name in sorted(filenames):
            file = os.path.relpath(os.path.join(dirpath, name), src)
            own = folder_of(src, file)
            if own == '':
                if not CMAKE_FILE.search(name):
                    problems.append(f'check-layers: src/{file} lies in no folder; move it into one')
                continue
            if own not in RANKS:
                problems.append(f'check-layers: src/{own}/ has no rank; add it to tools/check_layers.py')
                break
            with open(os.path.join(src, file), encoding='utf-8', errors='replace') as f:
                text = f.read()
            if CMAKE_FILE.search(name):
                check_cmake(file, text, problems.append)
            else:
                check_source(src, file, text, problems.append)
    problems = list(dict.fromkeys(problems))
    for p in problems:
        print(p)
    if problems:
        return 1
    print('check-layers: every include and link points down')
    return 0


if __name__ == '__main__':
    sys.exit(main())
