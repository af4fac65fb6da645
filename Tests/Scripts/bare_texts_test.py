#!/usr/bin/env python3
"""The bare-texts scanner finds exactly the untranslated texts of its fixtures, and none in the
application's sources, its platform layer or its command line's answers."""
import os
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
scanner = os.path.join(here, 'bare_texts.py')
sources = os.path.join(here, '..', '..', 'Sources')


def scan(*arguments):
    return subprocess.run([sys.executable, scanner, *arguments], capture_output=True, text=True)


def lines_of(run):
    return [line.split(': ', 1)[0].rsplit(':', 1)[1] for line in run.stdout.splitlines()]


widgets = scan(os.path.join(here, 'BareTextsTree'))
assert widgets.returncode == 1, widgets
assert lines_of(widgets) == ['5', '6', '9', '10'], widgets.stdout
answers = scan('--answers', os.path.join(here, 'BareTextsAnswers'))
assert answers.returncode == 1, answers
assert lines_of(answers) == ['7', '14', '17'], answers.stdout

# The texts a user reads other than in a widget: the command line's help, errors and answers,
# the shortcut notes the session's roads hand the settings, and what the platform layer says in an alert's
# words (the Trash's and the autostart entry's reasons, the dialogs' own buttons).
app = os.path.join(sources, 'QuorvaneApp')
platform = os.path.join(sources, 'QuorvanePlatform')
answer_files = [os.path.join(app, 'Triggers', name) for name in ('AppCommand.cpp', 'AppCommandClient.cpp', 'AppCommandService.cpp')]
answer_files += [os.path.join(app, 'main.cpp'), os.path.join(platform, 'Windows'), os.path.join(platform, 'Install'),
                 os.path.join(platform, 'Files', 'XdgTrash.cpp'), os.path.join(platform, 'SessionRoads.cpp')]
clean = scan('--answers', *answer_files, '--', app, platform)
assert clean.returncode == 0, 'bare texts in the sources:\n' + clean.stdout
print('bare texts: fixtures caught, sources clean')
