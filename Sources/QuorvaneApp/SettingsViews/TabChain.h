#pragma once

class QWidget;

namespace quorvane {

// Puts the keyboard focus chain of root's controls in the order they are shown: a layout's
// items in order, children placed by hand by their position (top to bottom, then left to
// right). The run follows the nearest control before root in the window's chain, so rows a
// refresh added (which Qt appends at the end of the chain) take their place among the others.
// A control that takes the focus itself is one stop: its own children are left to it.
void chainTabsInVisualOrder(QWidget *root);

} // namespace quorvane
