// Accessibility of the controls whose standard description is not what a screen reader
// should hear: a drop-down list with an accessible name keeps that name whatever it shows
// (its shown text is its value), as a labelled picker should.
#pragma once

namespace editor {

// Registers the program's accessibility factory with Qt; safe to call more than once.
void installAccessibility();

} // namespace editor
