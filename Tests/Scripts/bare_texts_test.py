#!/usr/bin/env python3
"""The bare-texts scanner finds exactly the two untranslated texts of its fixture, and none in the
application's sources."""
import os
import subprocess
import sys

here = os.path.dirname(os.path.abspath(__file__))
scanner = os.path.join(here, 'bare_texts.py')
fixture = subprocess.run([sys.executable, scanner, os.path.join(here, 'BareTextsTree')], capture_output=True, text=True)
lines = fixture.stdout.splitlines()
assert fixture.returncode == 1, fixture
assert [line.split(': ', 1)[0].rsplit(':', 1)[1] for line in lines] == ['4', '5'], lines
sources = subprocess.run([sys.executable, scanner, os.path.join(here, '..', '..', 'Sources', 'QuorvaneApp')], capture_output=True, text=True)
assert sources.returncode == 0, 'bare texts in the application:\n' + sources.stdout
print('bare texts: fixture caught, sources clean')
