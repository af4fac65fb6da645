#!/usr/bin/env bash
# Prints figures of the application layer's shape (not a test; nothing here fails the build):
# public functions of each controller object, public mutable fields, std::function members in
# Controller/, calls of loadOrDefault, catch (...) clauses (and the empty ones), singletons,
# includes that run up a layer, and files that differ from .clang-format.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
python3 - <<'PY'
import os, re, glob

def read(path):
    with open(path, encoding='utf-8') as f:
        return f.read()

def strip_comments(text):
    text = re.sub(r'/\*.*?\*/', '', text, flags=re.S)
    return re.sub(r'//[^\n]*', '', text)

def sections(text):
    """(class name, is struct, access, line) for each line directly inside a class body."""
    out = []
    stack = []  # [name, struct, access, depth at which the body opened]
    depth = 0
    pending = None
    for line in text.split('\n'):
        m = re.match(r'\s*(class|struct)\s+(\w+)[^;]*$', line)
        if m and not line.strip().endswith(';'):
            pending = (m.group(2), m.group(1) == 'struct')
        if stack and depth == stack[-1][3]:
            a = re.match(r'\s*(public|private|protected)( slots)?\s*:', line)
            if a:
                stack[-1][2] = a.group(1)
            elif re.match(r'\s*(signals|Q_SIGNALS)\s*:', line):
                stack[-1][2] = 'signals'
            else:
                out.append((stack[-1][0], stack[-1][1], stack[-1][2], line))
        for ch in line:
            if ch == '{':
                depth += 1
                if pending:
                    stack.append([pending[0], pending[1], 'public' if pending[1] else 'private', depth])
                    pending = None
            elif ch == '}':
                if stack and depth == stack[-1][3]:
                    stack.pop()
                depth -= 1
    return out

app = 'Sources/QuorvaneApp'
headers = sorted(glob.glob(app + '/**/*.h', recursive=True))
function_line = re.compile(r'^\s*(virtual\s+|static\s+|explicit\s+|inline\s+|constexpr\s+)*[\w:<>,\s\*&~]*\b(\w+|operator\S+)\s*\(.*')
field_line = re.compile(r'^\s*(?!using|friend|typedef|static|enum|class|struct|Q_|return|public|private)[\w:<>,\s\*&]+?[\s\*&](\w+)\s*(=[^;()]*|\{[^;]*\})?;\s*$')

print('Public functions of the controller objects:')
for h in sorted(glob.glob(app + '/Controller/*.h')):
    counts = {}
    for cls, is_struct, access, line in sections(strip_comments(read(h))):
        if is_struct or access != 'public':
            continue
        if function_line.match(line) and not re.search(r'=\s*delete', line) and 'Q_OBJECT' not in line:
            counts[cls] = counts.get(cls, 0) + 1
    for cls, n in counts.items():
        print(f'  {cls} ({os.path.relpath(h, app)}): {n}')

fields = []
for h in headers:
    for cls, is_struct, access, line in sections(strip_comments(read(h))):
        if is_struct or access != 'public' or '(' in line or 'const ' in line.split('=')[0]:
            continue
        if re.match(r'(using|static|friend|typedef|enum|Q_)\b', line.strip()):
            continue
        if field_line.match(line):
            fields.append(f'{os.path.relpath(h, app)}: {line.strip()}')
print(f'Public mutable fields of the application\'s classes: {len(fields)}')
for f in fields:
    print('  ' + f)

functions = []
for h in glob.glob(app + '/Controller/*.h'):
    for cls, is_struct, access, line in sections(strip_comments(read(h))):
        if re.match(r'\s*std::function<.*>\s+\w+\s*(=.*)?;', line):
            functions.append(f'{os.path.basename(h)}: {line.strip()}')
print(f'std::function members in Controller/: {len(functions)}')
for f in functions:
    print('  ' + f)

sources = glob.glob('Sources/**/*.cpp', recursive=True) + glob.glob('Sources/**/*.h', recursive=True)
tests = glob.glob('Tests/**/*.cpp', recursive=True) + glob.glob('Tests/**/*.h', recursive=True)
def count(pattern, files):
    return sum(len(re.findall(pattern, strip_comments(read(f)))) for f in files)
calls = r'loadOrDefault\(\)'
print(f'loadOrDefault calls: {count(calls, sources)} in the sources, {count(calls, tests)} in the tests')

catches = 0
empty = 0
for f in sources:
    text = read(f)
    for m in re.finditer(r'catch\s*\(\.\.\.\)\s*\{', text):
        catches += 1
        body_start = m.end()
        depth, i = 1, body_start
        while depth and i < len(text):
            depth += {'{': 1, '}': -1}.get(text[i], 0)
            i += 1
        body = text[body_start:i - 1]
        if not strip_comments(body).strip():
            empty += 1
print(f'catch (...): {catches}, of them empty (nothing but comments): {empty}')

singletons = [f for f in sources if f.endswith('.h') and re.search(r'static\s+[\w:<>]+\s*&\s*shared\s*\(\)', strip_comments(read(f)))]
print(f'singletons (a static shared()): {len(singletons)}')
for f in sorted(singletons):
    print('  ' + f)

# Includes that run up: the core includes nothing of the platform or the application, the
# platform nothing of the application, and no application folder but the controller's and the
# settings' own includes Controller/ or Settings/ (the settings window's sections may include
# Settings/).
def names_in(folder):
    return {os.path.basename(p) for p in glob.glob(folder + '/**/*.h', recursive=True)}
platform, core = names_in('Sources/QuorvanePlatform'), names_in('Sources/QuorvaneCore')
upward = []
for f in sources:
    for inc in re.findall(r'#include\s+"([^"]+)"', read(f)):
        base = os.path.basename(inc)
        if f.startswith('Sources/QuorvaneCore/') and base not in core:
            upward.append(f'{f}: {inc}')
        elif f.startswith('Sources/QuorvanePlatform/') and base not in platform and base not in core:
            upward.append(f'{f}: {inc}')
        elif f.startswith(app + '/'):
            folder = os.path.relpath(f, app).split('/')[0]
            if inc.startswith('Controller/') and folder not in ('Controller', 'main.cpp'):
                upward.append(f'{f}: {inc}')
            elif inc.startswith('Settings/') and folder not in ('Controller', 'Settings', 'SettingsViews', 'main.cpp'):
                upward.append(f'{f}: {inc}')
print(f'includes that run up a layer: {len(upward)}')
for u in upward:
    print('  ' + u)
PY
if command -v "${CLANG_FORMAT:-clang-format}" >/dev/null; then
  bash scripts/check-format.sh 2>/dev/null | tail -n1 || true
else
  echo "format differences: clang-format is not installed"
fi
