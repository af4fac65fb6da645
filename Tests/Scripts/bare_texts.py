#!/usr/bin/env python3
"""Fails on a bare string literal handed to a widget's text, an action or an alert: every user
text goes through tr() or QCoreApplication::translate so that the translation template lists it,
and as a whole sentence, never as pieces joined in code.
Files named after --answers hold texts that reach the user some other way (the command line's
answers, the reasons an alert or a notification quotes): there every literal that reads as words
is a finding unless it goes through tr() or translate, or belongs to a log line.
Usage: bare_texts.py [--answers PATH...] [--] FOLDER...  (prints each finding as path:line: text,
exits 1 if any)"""
import os
import re
import sys

SINKS = (r'setText', r'setWindowTitle', r'setToolTip', r'setPlaceholderText', r'setStatusTip',
         r'setWhatsThis', r'setAccessibleName', r'setAccessibleDescription', r'setTitle',
         r'setInformativeText', r'setDetailedText', r'setLabelText', r'setHeaderLabel', r'addAction',
         r'addMenu', r'addItem', r'addTab', r'setTabText', r'QLabel', r'QPushButton', r'QCheckBox',
         r'QRadioButton', r'QGroupBox', r'QAction', r'QMenu', r'QToolButton')
FIELDS = (r'title', r'message', r'informativeText', r'text', r'body', r'summary', r'buttons')
BARE = r'(?:QStringLiteral\(\s*"|QString\(\s*"|QString::fromUtf8\(\s*"|"[^"]*[A-Za-z])'
# A piece of a sentence handed to the translator: one that starts with a space, a closing quote or
# punctuation, or ends with a space or an opening quote, is joined to the rest in code, so no
# translator sees the whole sentence (it takes %1 for what goes between).
TRANSLATOR = r'(?:\btr|\btranslate)\(\s*(?:"[^"]*"\s*,\s*)?'
PIECE = r'%s"(?:[ ,.”]|\\u201D)|%s"[^"]*(?: |“|\\u201C)"\s*\)' % (TRANSLATOR, TRANSLATOR)
PATTERNS = [re.compile(r'\b(?:%s)\s*[({]\s*%s' % ('|'.join(SINKS), BARE)),
            re.compile(r'\.(?:%s)\s*=\s*\{*\s*%s' % ('|'.join(FIELDS), BARE)),
            re.compile(PIECE)]


# A run of adjacent string literals (one C++ string); read from the start of the file, so that a
# comment or a character literal is passed over whole and a "//" inside a string stays in it.
LITERAL = re.compile(r'"(?:[^"\\\n]|\\.)*"(?:\s*"(?:[^"\\\n]|\\.)*")*')
TOKEN = re.compile(r'(?P<text>"(?:[^"\\\n]|\\.)*")|//[^\n]*|/\*.*?\*/|\'(?:[^\'\\\n]|\\.)+\'', re.S)
WORDS = re.compile(r"[A-Za-z]{2,}['’A-Za-z]*[,;:]? [A-Za-z]+")
TRANSLATED = re.compile(r'(?:\btr|\btranslate|QT_TR_NOOP|QT_TRANSLATE_NOOP)\(\s*(?:"[^"]*"\s*,\s*)?$')
LOGGED = re.compile(r'\b(?:qC(?:Debug|Info|Warning|Critical)|q(?:Debug|Info|Warning|Critical|Fatal)|Q_LOGGING_CATEGORY)\b')
# A key file's group line ("[Desktop Entry]") is part of a file's format, not a text.
GROUP = re.compile(r'^"\[')


def sources(root):
    if os.path.isfile(root):
        yield root
        return
    for folder, _, files in os.walk(root):
        for name in sorted(files):
            if name.endswith(('.cpp', '.h')):
                yield os.path.join(folder, name)


def findings(root):
    for path in sources(root):
        with open(path, encoding='utf-8') as source:
            for number, line in enumerate(source, 1):
                if line.lstrip().startswith('//'):
                    continue
                if any(pattern.search(line) for pattern in PATTERNS):
                    yield '%s:%d: %s' % (path, number, line.strip())


def answer_findings(root):
    for path in sources(root):
        with open(path, encoding='utf-8') as source:
            text = source.read()
        # Comments and character literals are blanked; their line breaks stay, so a literal's
        # line number stays its own.
        text = TOKEN.sub(lambda match: match.group(0) if match.group('text') else re.sub(r'[^\n]', ' ', match.group(0)), text)
        for match in LITERAL.finditer(text):
            if not WORDS.search(match.group(0)) or GROUP.match(match.group(0)):
                continue
            before = text[:match.start()]
            statement = re.split(r'[;{}]', before)[-1]
            if LOGGED.search(statement) or TRANSLATED.search(before[-200:]):
                continue
            number = before.count('\n') + 1
            yield '%s:%d: %s' % (path, number, match.group(0).splitlines()[0].strip())


def main(arguments):
    answers, folders = [], []
    target = folders
    for argument in arguments:
        if argument in ('--answers', '--'):
            target = answers if argument == '--answers' else folders
            continue
        target.append(argument)
    found = [finding for folder in folders for finding in findings(folder)]
    found += [finding for path in answers for finding in answer_findings(path)]
    for finding in found:
        print(finding)
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
