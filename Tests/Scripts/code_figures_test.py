#!/usr/bin/env python3
"""scripts/code_figures.py over a small tree whose figures are known (CodeFiguresTree/): what
each list must hold, and what it must leave out (const statics, a comment's and a string's
text, a static member's definition, a deleted function)."""

import os
import subprocess
import sys
import unittest

here = os.path.dirname(os.path.abspath(__file__))
root = os.path.normpath(os.path.join(here, '..', '..'))
tree = os.path.join(here, 'CodeFiguresTree')
sys.path.insert(0, os.path.join(root, 'scripts'))
import code_figures  # noqa: E402

header = 'Sources/QuorvaneApp/Controller/Sample.h'
source = 'Sources/QuorvanePlatform/Sample.cpp'


class CodeFigures(unittest.TestCase):
    def setUp(self):
        self.f = code_figures.figures(tree)

    def places(self, name):
        return [str(p) for p in getattr(self.f, name)]

    def test_fields_of_any_type(self):
        self.assertEqual(self.places('callbacks'), [
            f'{header}:29: Sample::onDone (std::function<void(const QString &name, int count)>)',
            f'{header}:30: Sample::isBusy (std::function<bool()>)'])
        self.assertEqual(self.places('public_fields'), [f'{header}:31: Sample::counter (int)',
                                                        f'{header}:33: Sample::label (const char *)'])
        self.assertEqual(self.places('public_const_fields'), [f'{header}:32: Sample::fixed (const int)'])
        self.assertEqual(self.places('struct_callbacks'), [f'{header}:44: Record::notify (std::function<void()>)'])
        self.assertEqual(self.f.struct_fields, 2)
        # The constructor, the destructor, value() and the two-line handle(); not the deleted copy.
        self.assertEqual(self.f.public_functions, {('Sample', 'Controller/Sample.h'): 4})

    def test_process_wide_objects_of_any_shape(self):
        self.assertEqual(self.places('function_statics'), [f'{source}:19: made (int) in Sample::Sample',
                                                           f'{source}:22: once (bool) in Sample::Sample',
                                                           f'{source}:29: last (QString) in lastName'])
        self.assertEqual(self.places('namespace_statics'), [f'{source}:5: quorvane::(anonymous)::calls (int)'])
        self.assertEqual(self.places('static_members'), [f'{header}:20: Sample::instances (int)'])

    def test_friends(self):
        self.assertEqual(self.places('friend_classes'), [f'{header}:39: Sample befriends Helper'])
        self.assertEqual(self.places('friend_functions'), [])

    def test_the_script_prints_the_counts_and_places(self):
        out = subprocess.run(['bash', os.path.join(root, 'scripts', 'code-figures.sh'), tree], check=True,
                             capture_output=True, text=True).stdout.splitlines()
        for line in ('Public mutable fields of classes: 4 (2 callbacks, std::function, and 2 of other types)',
                     'Process-wide mutable objects: 5', 'Friend classes: 1',
                     f'  {header}:39: Sample befriends Helper', 'includes that run up a layer: 1'):
            self.assertIn(line, out)


if __name__ == '__main__':
    unittest.main()
