#!/usr/bin/env python3
"""Figures of the tree's shape, each list with file:line so that a reader can check it.

Reads the C++ sources under ROOT/Sources (ROOT: the first argument, else the tree this script
lies in) with a small scanner that knows comments, string literals, preprocessor lines,
brackets, class, namespace and function bodies, and splits each scope into its declarations at
the semicolons and bodies of that scope, so that a declaration is seen whatever its type holds
(parentheses, templates, several lines). It is no compiler: macros are not expanded (a leading
Q_... or other upper-case macro is skipped) and names are not looked up.
"""

import bisect
import glob
import os
import re
import sys
from dataclasses import dataclass, field


# --- reading -----------------------------------------------------------------------------------


def blank(text):
    """The text with comments, the contents of string and character literals and preprocessor
    lines turned into spaces (newlines kept, so every offset keeps its line)."""
    out = list(text)
    n = len(text)
    i = 0
    line_start = True

    def wipe(a, b):
        for k in range(a, b):
            if out[k] != '\n':
                out[k] = ' '

    while i < n:
        c = text[i]
        if c == '\n':
            line_start = True
            i += 1
            continue
        if line_start and c == '#':
            j = i
            while j < n and (text[j] != '\n' or text[j - 1] == '\\'):
                j += 1
            wipe(i, j)
            i = j
            continue
        if not c.isspace():
            line_start = False
        if text.startswith('//', i):
            j = text.find('\n', i)
            j = n if j < 0 else j
            wipe(i, j)
            i = j
        elif text.startswith('/*', i):
            j = text.find('*/', i + 2)
            j = n if j < 0 else j + 2
            wipe(i, j)
            i = j
        elif c == '"' and text[i - 1:i] == 'R' and re.match(r'"([^()\\\s]{0,16})\(', text[i:i + 18]):
            delimiter = re.match(r'"([^()\\\s]{0,16})\(', text[i:i + 18]).group(1)
            end = text.find(')' + delimiter + '"', i)
            j = n if end < 0 else end + len(delimiter) + 2
            wipe(i + 1, j - 1)
            i = j
        elif c == '"' or (c == "'" and not (i > 0 and text[i - 1].isdigit())):
            j = i + 1
            while j < n and text[j] != c and text[j] != '\n':
                j += 2 if text[j] == '\\' else 1
            wipe(i + 1, min(j, n))
            i = j + 1
        else:
            i += 1
    return ''.join(out)


def skip_group(s, i, opening='(', closing=')'):
    """The index after the group that opens at s[i]."""
    depth = 0
    while i < len(s):
        if s[i] == opening:
            depth += 1
        elif s[i] == closing:
            depth -= 1
            if depth == 0:
                return i + 1
        i += 1
    return i


MACRO = re.compile(r'\s*[A-Z][A-Z0-9]*_[A-Z0-9_]*\b')


def lead(s):
    """Where a declaration's own text begins: past whitespace, attributes and upper-case macros
    (Q_OBJECT, Q_PROPERTY(...), Q_INVOKABLE ...)."""
    i = 0
    while True:
        m = re.match(r'\s*\[\[', s[i:])
        if m:
            i = skip_group(s, i + m.end() - 2, '[', ']')
            continue
        m = MACRO.match(s, i)
        if m:
            i = m.end()
            p = re.match(r'\s*\(', s[i:])
            if p:
                i = skip_group(s, i + p.end() - 1)
            continue
        return i + len(s[i:]) - len(s[i:].lstrip())


def flatten(s):
    """The text with the contents of every outermost {...} group dropped."""
    out, depth = [], 0
    for c in s:
        if c == '{':
            if depth == 0:
                out.append('{')
            depth += 1
        elif c == '}':
            depth -= 1
            if depth == 0:
                out.append('}')
        elif depth == 0:
            out.append(c)
    return ''.join(out)


# --- scopes and declarations -------------------------------------------------------------------


@dataclass
class Scope:
    kind: str  # file, namespace, class, enum, block (a function's body, a lambda's, an initializer)
    name: str = ''
    access: str = 'public'
    head: int = 0  # where the text that opened it begins
    struct: bool = False
    paren: int = 0  # the brackets open around it (a lambda handed to a call)


@dataclass
class Declaration:
    text: str
    offset: int
    scopes: list  # the enclosing scopes, outermost first
    access: str


ACCESS = re.compile(r'(?:^|\s)(?:(public|private|protected)(\s+(slots|Q_SLOTS))?|(signals|Q_SIGNALS))\s*$')
SPACE = re.compile(r'\s*')
CLASS_KEY = re.compile(r'(?:^|[\s>])(class|struct|union)\s+')


def classify(head):
    s = head[lead(head):]
    if re.match(r'(inline\s+)?namespace\b|extern\s*"', s):
        return Scope('namespace', (re.findall(r'namespace\s+([\w:]+)', s) or [''])[0])
    if re.match(r'(typedef\s+)?enum\b', s):
        return Scope('enum')
    keys = list(CLASS_KEY.finditer(s))
    if keys and not re.search(r'[()]', s[keys[-1].end():]):
        m = keys[-1]
        bases = re.split(r'(?<!:):(?!:)', s[m.end():])[0]
        words = [w for w in re.findall(r'[\w:]+', bases) if w != 'final' and not MACRO.fullmatch(w)]
        if len(words) > 1:
            return Scope('block')  # `struct stat st{}`: a variable of an elaborated type
        struct = m.group(1) != 'class'
        return Scope('class', words[-1] if words else '', 'public' if struct else 'private', struct=struct)
    return Scope('block')


def declarations(text):
    """Every declaration of a blanked text, with the scopes it lies in."""
    scopes = [Scope('file')]
    out = []
    start = 0
    paren = 0
    n = len(text)
    i = 0
    while i < n:
        c = text[i]
        if c in '([':
            paren += 1
        elif c in ')]':
            paren -= 1
        elif c == '{' and paren > 0:
            scopes.append(Scope('block', head=start, paren=paren))
            paren = 0
            start = i + 1
        elif paren > 0:
            pass
        elif c == ';':
            out.append(Declaration(text[start:i], start, list(scopes), scopes[-1].access))
            start = i + 1
        elif c == ':' and text[i + 1:i + 2] != ':' and text[i - 1:i] != ':' and scopes[-1].kind == 'class':
            s = text[start:i]
            m = ACCESS.search(s)
            if m and not s[:m.start()][lead(s[:m.start()]):].strip():
                word = m.group(1) or m.group(4)
                scopes[-1].access = 'signals' if word in ('signals', 'Q_SIGNALS') else word
                start = i + 1
        elif c == '{':
            scope = classify(text[start:i])
            scope.head = start
            scopes.append(scope)
            start = i + 1
        elif c == '}' and len(scopes) > 1:
            closed = scopes.pop()
            rest = text[SPACE.match(text, i + 1).end():][:1]
            if closed.paren:
                paren = closed.paren
                start = closed.head  # the call goes on
            elif (rest in (';', ',') or (closed.kind == 'block' and rest == '{')
                  or (closed.kind in ('class', 'enum') and re.match(r'[\w*&]', rest))):
                # `struct {...} x;`, `int x{1};`, `auto f = [] {...};`, `: m_x{1} {`
                start = closed.head
            else:
                if closed.kind == 'block':
                    # A function's definition: its head, with the body.
                    out.append(Declaration(text[closed.head:i + 1], closed.head, list(scopes), scopes[-1].access))
                start = i + 1
        i += 1
    return out


@dataclass
class Entity:
    """One declared name, as far as the figures care."""
    kind: str  # function, variable, friend-class, friend-function, other
    name: str = ''
    type: str = ''
    static: bool = False
    const: bool = False
    qualified: bool = False


def top_level(s):
    """The characters of s outside (), <>, {} and [] groups; inner ones as spaces."""
    out, depth = [], 0
    for k, c in enumerate(s):
        if c in '(<{[':
            out.append(c if depth == 0 else ' ')
            depth += 1
        elif c in ')>}]' and not (c == '>' and s[k - 1:k] == '-'):
            depth = max(0, depth - 1)
            out.append(c if depth == 0 else ' ')
        else:
            out.append(c if depth == 0 else ' ')
    return ''.join(out)


def entity(text, in_block=False):
    s = flatten(text)
    s = s[lead(s):].strip()
    if not s:
        return Entity('other')
    m = re.match(r'friend\s+(?:(?:class|struct|union)\s+)?([\w:<>, ]+?)\s*$', s)
    if m:
        return Entity('friend-class', m.group(1).strip())
    if s.startswith('friend'):
        return Entity('friend-function', (re.findall(r'(operator\s*\S+?|\w+)\s*\(', s) or [''])[0])
    s = re.sub(r'^(struct|class|union)\s+(?=[\w:]+(?:\s+|\s*[*&]+\s*)(?!final\b)[A-Za-z_])', '', s)
    if re.match(r'(using|typedef|static_assert|template|namespace|enum|class|struct|union|return|extern\s*")\b', s):
        return Entity('other')
    if re.search(r'\boperator\b', s):
        return Entity('function', re.search(r'operator\s*\S+?(?=\s*\()|operator\s+\w+', s).group(0))
    # The declarator is what comes before a top-level initializer.
    flat = top_level(s)
    eq = re.search(r'(?<![=!<>])=(?!=)', flat)
    left = s[:eq.start()] if eq else s
    left_top = top_level(left)
    paren = left_top.find('(')
    static = bool(re.search(r'\b(static|thread_local)\b', left_top))
    if paren >= 0:
        inner = left[paren + 1:].lstrip()
        pointer = inner[:1] in ('*', '&') or re.match(r'\w+::\*', inner)
        arguments = re.match(r'[\d"\'\-{]', inner) is not None
        if not pointer and not arguments and not in_block:
            names = re.findall(r'(~?[\w:]+)\s*$', left[:paren])
            return Entity('function', names[0] if names else '')
        if pointer:
            names = re.findall(r'\(\s*[\w:]*[*&]\s*(\w+)', left)
            type_text = left
        else:
            names = re.findall(r'(\w+)\s*$', left[:paren])
            type_text = left[:paren][:-len(names[0])] if names else left[:paren]
        name = names[0] if names else ''
    else:
        declarator = re.sub(r'\[[^\]]*\]', '', left)
        declarator = re.sub(r':\s*\d+\s*$', '', declarator).strip()  # a bit field's width
        if declarator.endswith('{}'):
            declarator = declarator[:-2].rstrip()
        names = re.findall(r'([\w:]+)\s*$', declarator)
        if not names or ' ' not in declarator.replace('*', ' ').replace('&', ' ').strip():
            return Entity('other')  # a statement, not a declaration (`x = 1`, `f()`)
        name = names[0]
        type_text = declarator[:-len(name)].strip()
    if re.match(r'extern\b', s) and not eq:
        return Entity('other')  # declared here, defined elsewhere
    qualified = '::' in name
    name = name.split('::')[-1]
    type_top = top_level(type_text)
    const = bool(re.search(r'\bconstexpr\b|\bconstinit\b', type_top))
    if not const and re.search(r'\bconst\b', type_top):
        last_pointer = max(type_top.rfind('*'), type_top.rfind('&'))
        const = last_pointer < 0 or re.search(r'\bconst\b', type_top[last_pointer:]) is not None
    if '&' in type_top and not const:
        const = True  # a reference names another object; it holds no state of its own
    type_text = re.sub(r'\b(static|thread_local|inline|mutable)\b\s*', '', type_text).strip()
    return Entity('variable', name, ' '.join(type_text.split()), static, const, qualified)


# --- the figures -------------------------------------------------------------------------------


@dataclass
class Place:
    path: str
    line: int
    what: str

    def __str__(self):
        return f'{self.path}:{self.line}: {self.what}'


@dataclass
class Figures:
    public_functions: dict = field(default_factory=dict)  # (class, header) -> count
    callbacks: list = field(default_factory=list)  # public std::function fields of classes
    public_fields: list = field(default_factory=list)  # other public mutable fields of classes
    public_const_fields: list = field(default_factory=list)
    struct_callbacks: list = field(default_factory=list)  # std::function fields of structs
    struct_fields: int = 0
    function_statics: list = field(default_factory=list)
    namespace_statics: list = field(default_factory=list)
    static_members: list = field(default_factory=list)
    logging_categories: list = field(default_factory=list)
    friend_classes: list = field(default_factory=list)
    friend_functions: list = field(default_factory=list)


def class_name(scopes):
    return '::'.join(s.name or '(anonymous)' for s in scopes if s.kind == 'class')


def function_name(scopes, text):
    outer = next((k for k, s in enumerate(scopes) if s.kind == 'block'), None)
    if outer is None:
        return ''
    head = text[scopes[outer].head:]
    head = head[:head.find('{')] if '{' in head else head
    names = re.findall(r'(~?[\w:]+)\s*\(', top_level(flatten(head[lead(head):])).split('=')[0] + '(')
    prefix = class_name(scopes[:outer])
    name = names[0] if names and names[0] else 'a lambda'
    return f'{prefix}::{name}' if prefix and '::' not in name else name


def sources(root):
    files = glob.glob(os.path.join(root, 'Sources', '**', '*.h'), recursive=True)
    files += glob.glob(os.path.join(root, 'Sources', '**', '*.cpp'), recursive=True)
    return sorted(os.path.relpath(f, root) for f in files)


def figures(root):
    result = Figures()
    for path in sources(root):
        with open(os.path.join(root, path), encoding='utf-8') as f:
            text = blank(f.read())
        lines = [k for k, c in enumerate(text) if c == '\n']
        line_of = lambda offset: bisect.bisect_left(lines, offset) + 1
        for m in re.finditer(r'\bQ_LOGGING_CATEGORY\s*\(\s*(\w+)', text):
            result.logging_categories.append(Place(path, line_of(m.start()), m.group(1)))
        controller = re.match(r'Sources/QuorvaneApp/Controller/[^/]+\.h$', path)
        for d in declarations(text):
            scope = d.scopes[-1]
            if scope.kind == 'block' and not re.match(r'(static|thread_local)\b', d.text[lead(d.text):]):
                continue
            e = entity(d.text, scope.kind == 'block')
            at = Place(path, line_of(d.offset + lead(d.text)), '')
            owner = class_name(d.scopes)
            if scope.kind == 'class':
                if e.kind == 'friend-class':
                    result.friend_classes.append(Place(path, at.line, f'{owner} befriends {e.name}'))
                elif e.kind == 'friend-function':
                    result.friend_functions.append(Place(path, at.line, f'{owner}: {e.name}'))
                elif e.kind == 'function':
                    deleted = re.search(r'=\s*delete\s*$', flatten(d.text))
                    if controller and not scope.struct and d.access == 'public' and not deleted:
                        key = (scope.name, os.path.relpath(path, 'Sources/QuorvaneApp'))
                        result.public_functions[key] = result.public_functions.get(key, 0) + 1
                elif e.kind == 'variable' and e.static:
                    if not e.const:
                        result.static_members.append(Place(path, at.line, f'{owner}::{e.name} ({e.type})'))
                elif e.kind == 'variable' and d.access == 'public':
                    what = f'{owner}::{e.name} ({e.type})'
                    callback = re.match(r'(std::)?function\s*<', e.type)
                    if scope.struct:
                        result.struct_fields += 1
                        if callback:
                            result.struct_callbacks.append(Place(path, at.line, what))
                    elif callback:
                        result.callbacks.append(Place(path, at.line, what))
                    elif e.const:
                        result.public_const_fields.append(Place(path, at.line, what))
                    else:
                        result.public_fields.append(Place(path, at.line, what))
            elif scope.kind == 'block':
                if e.kind == 'variable' and e.static and not e.const:
                    where = function_name(d.scopes, text)
                    result.function_statics.append(Place(path, at.line, f'{e.name} ({e.type}) in {where}'))
            elif scope.kind in ('file', 'namespace'):
                if e.kind == 'variable' and not e.const and not e.qualified:
                    names = [s.name or '(anonymous)' for s in d.scopes if s.kind == 'namespace']
                    result.namespace_statics.append(Place(path, at.line, '::'.join(names + [e.name]) + f' ({e.type})'))
    return result


# --- the older figures, over the whole text -----------------------------------------------------


def strip_comments(text):
    text = re.sub(r'/\*.*?\*/', '', text, flags=re.S)
    return re.sub(r'//[^\n]*', '', text)


def other_figures(root):
    def read(path):
        with open(os.path.join(root, path), encoding='utf-8') as f:
            return f.read()

    files = sources(root)
    tests = sorted(os.path.relpath(f, root) for f in glob.glob(os.path.join(root, 'Tests', '**', '*.*'), recursive=True)
                   if f.endswith(('.cpp', '.h')))
    out = []
    calls = r'loadOrDefault\(\)'
    count = lambda files: sum(len(re.findall(calls, strip_comments(read(f)))) for f in files)
    out.append(f'loadOrDefault calls: {count(files)} in the sources, {count(tests)} in the tests')

    catches, empty = [], 0
    for f in files:
        text = blank(read(f))
        for m in re.finditer(r'catch\s*\(\s*\.\.\.\s*\)\s*\{', text):
            body = text[m.end() - 1:skip_group(text, m.end() - 1, '{', '}')]
            catches.append(f'{f}:{text.count(chr(10), 0, m.start()) + 1}')
            empty += not body.strip('{} \n\t')
    out.append(f'catch (...): {len(catches)}, of them empty (nothing but comments): {empty}')
    out += ['  ' + c for c in catches]

    # Includes that run up: the core includes nothing of the platform or the application, the
    # platform nothing of the application, and no application folder but the controller's and
    # the settings' own includes Controller/ or Settings/ (the settings window's sections may
    # include Settings/).
    def names_in(folder):
        return {os.path.basename(p) for p in glob.glob(os.path.join(root, folder, '**', '*.h'), recursive=True)}

    app = 'Sources/QuorvaneApp'
    platform, core = names_in('Sources/QuorvanePlatform'), names_in('Sources/QuorvaneCore')
    upward = []
    for f in files:
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
    out.append(f'includes that run up a layer: {len(upward)}')
    out += ['  ' + u for u in upward]
    return out


def report(root):
    f = figures(root)
    out = ['Public functions of the controller objects:']
    for (cls, header), n in sorted(f.public_functions.items(), key=lambda item: item[0][1]):
        out.append(f'  {cls} ({header}): {n}')

    def listed(title, places):
        out.append(f'{title}: {len(places)}')
        out.extend(f'  {p}' for p in places)

    fields = len(f.callbacks) + len(f.public_fields)
    out.append(f'Public mutable fields of classes: {fields} ({len(f.callbacks)} callbacks, std::function, '
               f'and {len(f.public_fields)} of other types)')
    listed('  callbacks (public std::function fields)', f.callbacks)
    listed('  other public mutable fields', f.public_fields)
    listed('Public const fields of classes', f.public_const_fields)
    out.append(f'Fields of structs (value records, public by design): {f.struct_fields}')
    listed('  of them std::function', f.struct_callbacks)
    process_wide = len(f.function_statics) + len(f.namespace_statics) + len(f.static_members)
    out.append(f'Process-wide mutable objects: {process_wide}')
    listed('  function-local statics', f.function_statics)
    listed('  namespace-scope variables', f.namespace_statics)
    listed('  static data members', f.static_members)
    listed('Logging categories (Q_LOGGING_CATEGORY, not counted above)', f.logging_categories)
    listed('Friend classes', f.friend_classes)
    listed('Friend functions', f.friend_functions)
    out += other_figures(root)
    return out


if __name__ == '__main__':
    root = sys.argv[1] if len(sys.argv) > 1 else os.path.join(os.path.dirname(os.path.abspath(__file__)), '..')
    print('\n'.join(report(os.path.abspath(root))))
