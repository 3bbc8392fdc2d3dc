#!/usr/bin/env python3
# The layer check on scratch trees, one case a row: each form of reaching a
# folder above is refused, and the forms that point down pass.
# Usage: check_layers_cases.py TOOL
import os
import subprocess
import sys
import tempfile

FOLDERS = ['base', 'widgets', 'reading', 'frame', 'speech', 'compose', 'board', 'diary', 'samples',
           'access', 'voice', 'app']

# name, file under the tree, its text, refused
CASES = [
    ('quotes', 'src/base/Bad.h', '#include "app/Top.h"\n', True),
    ('angle brackets', 'src/diary/Bad.h', '#include <samples/Top.h>\n', True),
    ('relative path', 'src/diary/Bad.cpp', '#include "../samples/Top.h"\n', True),
    ('relative path through its own folder', 'src/diary/Bad.cpp', '#include "diary/../samples/Top.h"\n', True),
    ('line continuation before the name', 'src/diary/Bad.cpp', '#include \\\n  "samples/Top.h"\n', True),
    ('line continuation inside the directive', 'src/diary/Bad.cpp', '#inc\\\nlude <samples/Top.h>\n', True),
    ('comment inside the directive', 'src/diary/Bad.cpp', '# /* x */ include /* y */ "samples/Top.h"\n', True),
    ('spaces before and after the hash', 'src/diary/Bad.cpp', '   #   include"samples/Top.h"\n', True),
    ('after a block comment', 'src/diary/Bad.cpp', '/* a\n   b */\n#include "samples/Top.h"\n', True),
    ('.hpp', 'src/diary/Bad.hpp', '#include "samples/Top.h"\n', True),
    ('.hh', 'src/diary/Bad.hh', '#include "samples/Top.h"\n', True),
    ('.hxx', 'src/diary/Bad.hxx', '#include "samples/Top.h"\n', True),
    ('.cc', 'src/diary/Bad.cc', '#include "samples/Top.h"\n', True),
    ('.cxx', 'src/diary/Bad.cxx', '#include "samples/Top.h"\n', True),
    ('no suffix', 'src/diary/Bad', '#include "samples/Top.h"\n', True),
    ('a header that does not exist', 'src/diary/Bad.cpp', '#include "samples/Missing.h"\n', True),
    ('include_next', 'src/diary/Bad.cpp', '#include_next <samples/Top.h>\n', True),
    ('a macro as the target', 'src/diary/Bad.cpp', '#define TOP "samples/Top.h"\n#include TOP\n', True),
    # Two folders that once shared a rank: one of them is above the other.
    ('access reaching voice', 'src/access/Bad.h', '#include "voice/Top.h"\n', True),
    ('reading reaching frame', 'src/reading/Bad.h', '#include "frame/Top.h"\n', True),
    ('a folder without a rank', 'src/extra/New.h', '#include "base/Top.h"\n', True),
    ('a file in no folder', 'src/Loose.h', '#include "base/Top.h"\n', True),
    ('CMake: a subsystem linking one above', 'src/diary/CMakeLists.txt',
     'kel_subsystem(diary Top.h\n  LINKS kel_compose\n        kel_samples)\n', True),
    ('CMake: target_link_libraries', 'src/compose/CMakeLists.txt',
     'target_link_libraries(kel_compose_logic PUBLIC kel_base # and\n  kel_board_logic)\n', True),
    ('CMake: sources of a folder above', 'src/diary/CMakeLists.txt', 'add_library(kel_diary STATIC ../samples/Top.cpp)\n', True),
    ('CMake: through a variable', 'src/diary/CMakeLists.txt',
     'set(peers kel_samples)\ntarget_link_libraries(kel_diary PUBLIC ${peers})\n', True),
    # What points down or stays home passes.
    ('down, every form', 'src/samples/Good.cpp',
     '#include "diary/Top.h"\n#include <board/Top.h>\n#include "../base/Top.h"\n#include "Top.h"\n'
     '#include "Good.moc"\n#include <QString>\n#include <vector>\n', False),
    ('includes inside comments and strings', 'src/base/Good.cpp',
     '// #include "app/Top.h"\n/* #include "app/Top.h" */\nconst char *s = "#include \\"app/Top.h\\"";\n', False),
    ('CMake: links below, and comments', 'src/samples/CMakeLists.txt',
     '# kel_app is above: not linked\nkel_subsystem(samples Top.h LINKS kel_board_logic kel_compose kel_diary)\n', False),
]


def run(tool, name, path, text):
    with tempfile.TemporaryDirectory() as root:
        for folder in FOLDERS:
            os.makedirs(os.path.join(root, 'src', folder))
            with open(os.path.join(root, 'src', folder, 'Top.h'), 'w') as f:
                f.write('#pragma once\n')
        target = os.path.join(root, path)
        os.makedirs(os.path.dirname(target), exist_ok=True)
        with open(target, 'w') as f:
            f.write(text)
        done = subprocess.run(['bash', tool, root], capture_output=True, text=True)
        return done.returncode, done.stdout + done.stderr


def main():
    tool = sys.argv[1]
    failed = 0
    for name, path, text, refused in CASES:
        code, said = run(tool, name, path, text)
        named = os.path.basename(path) in said or 'extra' in said
        ok = (code == 1 and named) if refused else code == 0
        print(f'{"PASS" if ok else "FAIL"}: {name}: exit {code}')
        if not ok:
            print('  ' + said.replace('\n', '\n  '))
            failed += 1
    print(f'{len(CASES) - failed} of {len(CASES)} cases as expected')
    return 1 if failed else 0


if __name__ == '__main__':
    sys.exit(main())
