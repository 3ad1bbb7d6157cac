// Accessibility of the controls whose standard description is not what a screen reader
// should hear. A drop-down list (a picker) is named by its label (its accessible name, a
// buddy label or the title of its group) whatever it shows, as a labelled control is named
// everywhere else; its entries and the chosen one are exposed as Qt's own interface of a
// drop-down list exposes them, and can be chosen through the accessibility interface as a
// click chooses them. Check boxes and tool buttons do through the interface what a click does,
// and answer at once, also when the click opens a modal window.
#pragma once

namespace editor {

// Registers the program's accessibility factory with Qt; safe to call more than once.
void installAccessibility();

} // namespace editor
