#!/usr/bin/env python3
"""Fails on a bare string literal handed to a widget's text, an action or an alert: every user
text goes through tr() or QCoreApplication::translate so that the translation template lists it.
Usage: bare_texts.py FOLDER...  (prints each finding as path:line: text, exits 1 if any)"""
import os
import re
import sys

SINKS = (r'setText', r'setWindowTitle', r'setToolTip', r'setPlaceholderText', r'setStatusTip',
         r'setWhatsThis', r'setAccessibleName', r'setAccessibleDescription', r'setTitle',
         r'setInformativeText', r'setDetailedText', r'setLabelText', r'setHeaderLabel', r'addAction',
         r'addMenu', r'addItem', r'addTab', r'setTabText', r'QLabel', r'QPushButton', r'QCheckBox',
         r'QRadioButton', r'QGroupBox', r'QAction', r'QMenu', r'QToolButton')
FIELDS = (r'title', r'message', r'informativeText', r'text', r'body', r'summary')
BARE = r'(?:QStringLiteral\(\s*"|QString\(\s*"|QString::fromUtf8\(\s*"|"[^"]*[A-Za-z])'
PATTERNS = [re.compile(r'\b(?:%s)\s*[({]\s*%s' % ('|'.join(SINKS), BARE)),
            re.compile(r'\.(?:%s)\s*=\s*%s' % ('|'.join(FIELDS), BARE))]


def findings(root):
    for folder, _, files in os.walk(root):
        for name in sorted(files):
            if not name.endswith(('.cpp', '.h')):
                continue
            path = os.path.join(folder, name)
            with open(path, encoding='utf-8') as source:
                for number, line in enumerate(source, 1):
                    if line.lstrip().startswith('//'):
                        continue
                    if any(pattern.search(line) for pattern in PATTERNS):
                        yield '%s:%d: %s' % (path, number, line.strip())


def main(folders):
    found = [finding for folder in folders for finding in findings(folder)]
    for finding in found:
        print(finding)
    return 1 if found else 0


if __name__ == '__main__':
    sys.exit(main(sys.argv[1:]))
